#include "qt/mainwindow.h"

#include "app/layout.h"
#include "app/wakeplan.h"
#include "assets/assets.h"
#include "qt/fontchooser.h"
#include "qt/popupmenu.h"
#include "qt/timechange.h"
#include "qt/topmost.h"
#include "qt/versionwindow.h"
#include "qt/viewwidget.h"
#include "qt/windowhints.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QWindow>
#include <QtDebug>

namespace soramado {

namespace {

QRect toQRect(const PixelRect& r)
{
    return QRect(r.left, r.top, r.width, r.height);
}

QColor toQColor(std::uint32_t rgb)
{
    return QColor::fromRgb(static_cast<QRgb>(rgb | 0xff000000u));
}

template <typename Label = QLabel>
Label* makeLabel(QWidget* parent, const PixelRect& geometry, Qt::Alignment alignment,
                 double pointSize)
{
    auto* label = new Label(parent);
    label->setGeometry(toQRect(geometry));
    label->setAlignment(alignment | Qt::AlignTop);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAutoFillBackground(false);
    QFont font(QString::fromUtf8(layout::LabelFontFace));
    font.setPointSizeF(pointSize);
    font.setBold(true);
    label->setFont(font);
    return label;
}

void setTextColour(QLabel* label, std::uint32_t colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, toQColor(colour));
    label->setPalette(palette);
}

void warnOnQt(const std::string& message)
{
    qWarning().noquote() << QString::fromStdString(message);
}

} // namespace

MainWindow::MainWindow(const Clock& clock, Random& random, SettingsStore& store, QWidget* parent)
    : MainWindow(clock, random, store, nullptr, parent, OwnFonts{})
{}

MainWindow::MainWindow(const Clock& clock, Random& random, SettingsStore& store, FontChooser& fonts,
                       QWidget* parent)
    : MainWindow(clock, random, store, &fonts, parent, OwnFonts{})
{}

MainWindow::MainWindow(const Clock& clock, Random& random, SettingsStore& store, FontChooser* fonts,
                       QWidget* parent, OwnFonts)
    : QWidget(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ownFonts_(
          fonts ? nullptr
                : std::make_unique<DialogFontChooser>(this, [this] { return labTime_->font(); })),
      app_({clock, random, store, *this, fonts ? *fonts : *ownFonts_, screen_, warnOnQt})
{
    setWindowTitle(QStringLiteral("Soramado"));
    const std::span<const unsigned char> icon = assets::iconPng();
    setWindowIcon(QIcon(
        QPixmap::fromImage(QImage::fromData(icon.data(), static_cast<int>(icon.size()), "PNG"))));
    const QSize client(layout::ClientSize.width, layout::ClientSize.height);
    setGeometry(QRect(QPoint(layout::DesignPlace.x, layout::DesignPlace.y), client));
    setFixedSize(client);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, toQColor(layout::WindowColour));
    setPalette(palette);
    setAutoFillBackground(true);

    createControls();
    createMenu();
    // The tick runs from creation; its events are handled once start-up is done.
    // It sleeps until the core's next tick that can change something, to the
    // millisecond, so that the time label turns with the system clock's second.
    timer_.setObjectName(QStringLiteral("Timer1"));
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(TickMs);
    connect(&timer_, &QTimer::timeout, this, &MainWindow::wake);
    timer_.start();
    // A child, so that tests can find it and give the notice themselves.
    auto* timeNotice = new TimeChangeNotice(this);
    timeNotice->setObjectName(QStringLiteral("TimeChange"));
    connect(timeNotice, &TimeChangeNotice::timeChanged, this, &MainWindow::timeChanged);

    app_.startUp();
    const QRect frame = frameGeometry();
    const QPoint clientInFrame = geometry().topLeft() - frame.topLeft();
    if (const std::optional<PixelPoint> place = app_.reachableFramePosition(
            {frame.width(), frame.height()}, {clientInFrame.x(), clientInFrame.y()}))
        move(place->x, place->y);
    showState();

    refuseMinimise(this);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Sent before the window is mapped, so the manager frames it as asked.
    askCloseAndMoveOnly(this);
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls()
{
    picView_ = new ViewWidget(app_.viewSurface(), this);
    picView_->move(layout::ViewPlace.x, layout::ViewPlace.y);

    labDay_ = makeLabel(this, layout::WeekdayLabel, Qt::AlignHCenter, layout::LabelPoints);
    labDate_ = makeLabel(this, layout::DateLabel, Qt::AlignLeft, layout::LabelPoints);
    labTime_ =
        makeLabel<TimeLabel>(this, layout::TimeLabel, Qt::AlignHCenter, layout::TimeDesignPoints);
    // Repainted every second: filled with the window's own pink, which looks
    // the same as letting the window show through, the window behind it need
    // not be repainted first.
    labTime_->setAttribute(Qt::WA_TranslucentBackground, false);
    labTime_->setAttribute(Qt::WA_NoSystemBackground, false);
    labTime_->setAutoFillBackground(true);
    setTextColour(labDate_, layout::DateColour);
    setTextColour(labTime_, layout::TimeColour);
}

void MainWindow::createMenu()
{
    mnuPopup_ = new PopupMenu(app_, this);
    connect(mnuPopup_, &PopupMenu::fontChosen, this, &MainWindow::fontCommand);
    connect(mnuPopup_, &PopupMenu::cityChosen, this, &MainWindow::locationCommand);
    connect(mnuPopup_, &PopupMenu::alwaysOnTopChosen, this, &MainWindow::alwaysOnTopCommand);
    connect(mnuPopup_, &PopupMenu::versionChosen, this, &MainWindow::versionCommand);
    connect(mnuPopup_, &PopupMenu::quitChosen, this, &MainWindow::quitCommand);
    connect(picView_, &ViewWidget::clicked, mnuPopup_,
            [this](const QPoint& globalPos) { mnuPopup_->popup(globalPos); });
}

// The window as the program now holds it: the clock font, the labels and the view. The
// menu's check marks are the menu's own, set as it opens.
void MainWindow::showState()
{
    showClockFont();
    showFace();
}

// Where every command ends: the window brought up to date, and the next wake planned
// again, since a command may want its tick sooner (a city, Shift+F9). A timer that a
// test holds, or that the close stopped, stays stopped.
void MainWindow::commandDone()
{
    showState();
    if (timer_.isActive())
        scheduleWake();
}

void MainWindow::showClockFont()
{
    QFont font = labTime_->font();
    font.setFamily(QString::fromStdString(app_.clockFontFace()));
    font.setPointSizeF(app_.clockFontPoints());
    labTime_->setFont(font);
}

void MainWindow::setTopmost(bool on)
{
    soramado::setTopmost(this, on);
    askCloseAndMoveOnly(this); // the flag change rewrote the hints
}

void MainWindow::fontCommand()
{
    app_.fontCommand();
    commandDone();
}

void MainWindow::locationCommand(int index)
{
    app_.locationCommand(index);
    commandDone();
}

void MainWindow::alwaysOnTopCommand()
{
    app_.alwaysOnTopCommand();
    commandDone();
}

void MainWindow::versionCommand()
{
    VersionWindow window(this);
    window.exec();
    commandDone();
}

void MainWindow::quitCommand()
{
    // The same way out as the close box.
    close();
}

void MainWindow::tick()
{
    app_.tick();
    showFace();
}

void MainWindow::wake()
{
    tick();
    scheduleWake();
}

void MainWindow::timeChanged()
{
    // The wake was planned on the old time; a held or stopped timer stays so.
    if (timer_.isActive())
        wake();
}

void MainWindow::scheduleWake()
{
    timer_.start(app_.planWake().delayMs);
}

void MainWindow::showFace()
{
    const ClockFace& face = app_.face();
    // QLabel ignores a text equal to the one it shows, so an unchanged label costs nothing.
    if ((labDay_->palette().color(QPalette::WindowText).rgb() & 0xffffffu) != face.weekdayColour)
        setTextColour(labDay_, face.weekdayColour);
    labDate_->setText(QString::fromStdString(face.date));
    labDay_->setText(QString::fromStdString(face.weekday));
    labTime_->showText(QString::fromStdString(face.time));
    picView_->setPhase(app_.phase());
    picView_->refresh();
}

// No child takes keys, so every key pressed in the window, whichever child has
// the focus, ends here. Not a window shortcut: the window hears keys even when
// Qt holds no window active (X11 focus that follows the pointer, no manager).
void MainWindow::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers held =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (event->key() == Qt::Key_F9 && held == Qt::ShiftModifier) {
        // The visitor comes on the next tick, not at the next second.
        app_.requestVisitor();
        commandDone();
    }
    QWidget::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    // The native window knows the frame that the window manager added even
    // when the widget's cached frame is stale (a manager that started late).
    const QPoint frame = windowHandle() ? windowHandle()->framePosition() : pos();
    app_.unload({frame.x(), frame.y()});
    timer_.stop();
    // A tool window does not end the event loop by itself when it closes.
    QCoreApplication::quit();
}

} // namespace soramado
