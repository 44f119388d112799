#include "app/mainwindow.h"

#include "about/versionwindow.h"
#include "app/placement.h"
#include "app/popupmenu.h"
#include "app/viewwidget.h"
#include "assets/assets.h"
#include "common/numbers.h"
#include "platform/fontchooser.h"
#include "platform/fonts.h"
#include "platform/settingsstore.h"
#include "platform/topmost.h"
#include "platform/windowhints.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QWindow>

namespace soramado {

namespace {

constexpr QRgb WindowColour = 0xffffb0d8u; // red 255, green 176, blue 216
constexpr QRgb TimeColour = 0xff0000c0u;   // blue 192
constexpr double ChosenFontPoints = 20;

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

class CancellingFontChooser final : public FontChooser {
public:
    std::optional<QFont> choose(const QFont&, QWidget*) override { return std::nullopt; }
};

} // namespace

MainWindow::MainWindow(const Clock& clock, Random& random, SettingsStore& store, FontChooser& fonts,
                       QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      core_(clock, random), settings_(store), fonts_(fonts)
{
    startUp();
}

MainWindow::MainWindow(const Clock& clock, Random& random, QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ownedStore_(std::make_unique<MemorySettingsStore>()),
      ownedFonts_(std::make_unique<CancellingFontChooser>()), core_(clock, random),
      settings_(*ownedStore_), fonts_(*ownedFonts_)
{
    startUp();
}

void MainWindow::startUp()
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
    createMenu();
    // The tick runs from creation; its events are handled once start-up is done.
    timer_.setObjectName(QStringLiteral("Timer1"));
    timer_.setInterval(100);
    connect(&timer_, &QTimer::timeout, this, &MainWindow::tick);
    timer_.start();

    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen) {
        const auto twips = [](double dpi) { return dpi > 0 ? roundHalfEven(1440.0 / dpi) : 15; };
        core_.setTwipsPerPixel(twips(screen->logicalDotsPerInchX()),
                               twips(screen->logicalDotsPerInchY()));
    }

    core_.startUp();
    applyStoredSettings();
    core_.finishStartUp();
    showFace();

    // Key preview: the window hears every key, whichever child has the focus.
    qApp->installEventFilter(this);
    refuseMinimise(this);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Sent before the window is mapped, so the manager frames it as asked.
    askCloseAndMoveOnly(this);
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

void MainWindow::createMenu()
{
    mnuPopup_ = new PopupMenu(this);
    connect(mnuPopup_->mnuFont, &QAction::triggered, this, &MainWindow::fontCommand);
    for (std::size_t i = 0; i < mnuPopup_->mnuLoc.size(); ++i) {
        connect(mnuPopup_->mnuLoc[i], &QAction::triggered, this,
                [this, i] { locationCommand(static_cast<std::int16_t>(i)); });
    }
    connect(mnuPopup_->mnuFront, &QAction::triggered, this, &MainWindow::alwaysOnTopCommand);
    connect(mnuPopup_->mnuVer, &QAction::triggered, this, &MainWindow::versionCommand);
    connect(mnuPopup_->mnuQuit, &QAction::triggered, this, &MainWindow::quitCommand);
    connect(picView_, &ViewWidget::clicked, mnuPopup_,
            [this](const QPoint& globalPos) { mnuPopup_->popup(globalPos); });
}

// The settings step of start-up: city, clock face, position, always on top.
void MainWindow::applyStoredSettings()
{
    const StoredSettings stored = settings_.read();

    core_.setLocationIndex(stored.LocationIndex);
    mnuPopup_->checkLocation(stored.LocationIndex);

    QFont timeFont = labTime_->font();
    timeFont.setFamily(stored.Font);
    labTime_->setFont(timeFont);

    if (const std::optional<QPoint> framePos = stored.framePosition()) {
        std::vector<PixelRect> areas;
        for (const QScreen* screen : QGuiApplication::screens()) {
            const QRect a = screen->availableGeometry();
            areas.push_back({a.x(), a.y(), a.width(), a.height()});
        }
        const QRect frame = frameGeometry();
        const QPoint offset = geometry().topLeft() - frame.topLeft();
        // A monitor unplugged or a screen shrunk since the last run must not
        // leave the clock out of reach.
        if (const std::optional<PixelPoint> place =
                usableFramePosition({framePos->x(), framePos->y()}, {frame.width(), frame.height()},
                                    {offset.x(), offset.y()}, areas))
            move(place->x, place->y);
    }

    // The command flips the flag back, and so applies, checks and writes it.
    core_.state().AlwaysOnTop = !stored.AlwaysOnTop;
    alwaysOnTopCommand();
}

void MainWindow::fontCommand()
{
    const std::optional<QFont> chosen = fonts_.choose(labTime_->font(), this);
    if (!chosen)
        return;
    // Only the face counts; the size is the clock's own and the weight stays bold.
    const QString face = plainFamilyName(chosen->family());
    QFont font = labTime_->font();
    font.setFamily(face);
    font.setPointSizeF(ChosenFontPoints);
    labTime_->setFont(font);
    settings_.writeFont(face);
}

void MainWindow::locationCommand(std::int16_t index)
{
    if (index < 0 || index >= LocationCount)
        return;
    settings_.writeLocation(index);
    // The next tick draws the new city's sky.
    core_.setLocationIndex(index);
    mnuPopup_->checkLocation(index);
}

void MainWindow::alwaysOnTopCommand()
{
    bool& on = core_.state().AlwaysOnTop;
    on = !on;
    mnuPopup_->mnuFront->setChecked(on);
    settings_.writeAlwaysTop(on);
    setTopmost(this, on);
    askCloseAndMoveOnly(this); // the flag change rewrote the hints
}

void MainWindow::versionCommand()
{
    VersionWindow window(this);
    window.exec();
}

void MainWindow::quitCommand()
{
    // The same way out as the close box.
    close();
}

void MainWindow::savePosition()
{
    if (positionSaved_)
        return;
    positionSaved_ = true;
    // The native window knows the frame that the window manager added even
    // when the widget's cached frame is stale (a manager that started late).
    settings_.writePosition(windowHandle() ? windowHandle()->framePosition() : pos());
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
    picView_->setPhase(core_.state().Phase);
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
    savePosition();
    timer_.stop();
    // A tool window does not end the event loop by itself when it closes.
    QCoreApplication::quit();
}

} // namespace soramado
