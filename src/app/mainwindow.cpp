#include "app/mainwindow.h"

#include "app/viewwidget.h"
#include "assets/assets.h"
#include "platform/fonts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

#include <cmath>

namespace soramado {

namespace {

constexpr QRgb WindowColour = 0xffffb0d8u; // red 255, green 176, blue 216
constexpr QRgb TimeColour = 0xff0000c0u;   // blue 192

QLabel* makeLabel(QWidget* parent, const QRect& geometry, Qt::Alignment alignment, double pointSize)
{
    auto* label = new QLabel(parent);
    label->setGeometry(geometry);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAutoFillBackground(false);
    QFont font(LabelFontFace);
    font.setPointSizeF(pointSize);
    font.setBold(true);
    label->setFont(font);
    return label;
}

void setTextColour(QLabel* label, QRgb colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(colour));
    label->setPalette(palette);
}

} // namespace

MainWindow::MainWindow(const Clock& clock, Random& random, QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      core_(clock, random)
{
    setWindowTitle(QStringLiteral("Soramado"));
    setWindowIcon(QIcon(QPixmap::fromImage(assets::icon())));
    setGeometry(QRect(DesignPosition, QSize(ClientWidth, ClientHeight)));
    setFixedSize(ClientWidth, ClientHeight);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(WindowColour));
    setPalette(palette);
    setAutoFillBackground(true);

    createControls();
    // The tick runs from creation; its events are handled once start-up is done.
    timer_.setInterval(100);
    connect(&timer_, &QTimer::timeout, this, &MainWindow::tick);
    timer_.start();

    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen) {
        const auto twips = [](double dpi) {
            return dpi > 0 ? static_cast<int>(std::lround(1440.0 / dpi)) : 15;
        };
        core_.setTwipsPerPixel(twips(screen->logicalDotsPerInchX()),
                               twips(screen->logicalDotsPerInchY()));
    }

    core_.startUp();
    core_.finishStartUp();
    showFace();

    // Key preview: the window hears every key, whichever child has the focus.
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
}

void MainWindow::createControls()
{
    picView_ = new ViewWidget(core_.view(), this);
    picView_->move(4, 2);

    labDay_ = makeLabel(this, QRect(128, 124, 36, 16), Qt::AlignHCenter, 11.25);
    labDate_ = makeLabel(this, QRect(2, 125, 134, 14), Qt::AlignLeft, 11.25);
    labTime_ = makeLabel(this, QRect(4, 140, 162, 29), Qt::AlignHCenter, 20.25);
    QFont timeFont = labTime_->font();
    timeFont.setFamily(ClockFontFace);
    labTime_->setFont(timeFont);
    setTextColour(labDate_, WeekdayColour);
    setTextColour(labTime_, TimeColour);
}

void MainWindow::tick()
{
    core_.tick();
    showFace();
}

void MainWindow::showFace()
{
    const ClockFace& face = core_.face();
    // QLabel ignores a text equal to the one it shows, so an unchanged label costs nothing.
    if (labDay_->palette().color(QPalette::WindowText).rgb() != face.weekdayColour)
        setTextColour(labDay_, face.weekdayColour);
    labDate_->setText(face.date);
    labDay_->setText(face.weekday);
    labTime_->setText(face.time);
    picView_->refresh();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) {
            const auto* key = static_cast<QKeyEvent*>(event);
            handleKey(key->key(), key->modifiers());
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::handleKey(int key, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers held =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (key == Qt::Key_F9 && held == Qt::ShiftModifier)
        core_.requestVisitor();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    timer_.stop();
    // A tool window does not end the event loop by itself when it closes.
    QCoreApplication::quit();
}

} // namespace soramado
