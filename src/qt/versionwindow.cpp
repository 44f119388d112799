#include "qt/versionwindow.h"

#include "about/versionlayout.h"
#include "about/versiontext.h"
#include "qt/windowhints.h"

#include <QIcon>
#include <QLabel>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>

namespace soramado {

namespace {

namespace v = versionlayout;

QColor toQColor(std::uint32_t rgb)
{
    return QColor::fromRgb(static_cast<QRgb>(rgb | 0xff000000u));
}

QFont makeFont(const v::Text& text)
{
    QFont font(QString::fromUtf8(text.face));
    font.setPointSizeF(text.points);
    font.setBold(true);
    font.setItalic(text.italic);
    return font;
}

QRect rectOf(const v::Text& text)
{
    return QRect(text.place.left, text.place.top, text.place.width, text.place.height);
}

QLabel* makeLabel(QWidget* parent, const char* name, const v::Text& text, std::uint32_t colour)
{
    auto* label = new QLabel(QString::fromUtf8(text.text), parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(rectOf(text));
    label->setFont(makeFont(text));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, toQColor(colour));
    label->setPalette(palette);
    return label;
}

} // namespace

VersionWindow::VersionWindow(QWidget* owner)
    : QDialog(owner,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmVer"));
    setWindowTitle(QString::fromUtf8(v::Title));
    setModal(true);
    setFixedSize(ClientWidth, ClientHeight);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, toQColor(v::WindowColour));
    setPalette(palette);
    setAutoFillBackground(true);

    makeLabel(this, "Label1", v::Name, v::NameColour);

    labVer_ = new QLabel(QString::fromStdString(versionText(
                             programVersion(), QLocale::system().decimalPoint().toStdString())),
                         this);
    labVer_->setObjectName(QStringLiteral("labVer"));
    labVer_->setGeometry(rectOf(v::Version));
    labVer_->setFont(makeFont(v::Version));
    labVer_->setAlignment(Qt::AlignCenter);
    QPalette versionPalette = labVer_->palette();
    versionPalette.setColor(QPalette::Window, toQColor(v::VersionBack));
    labVer_->setPalette(versionPalette);
    labVer_->setAutoFillBackground(true);

    makeLabel(this, "Label3", v::Program, v::CreditColour);
    makeLabel(this, "Label4", v::Credit, v::CreditColour);

    cmdOK_ = new QPushButton(QString::fromUtf8(v::OkButton.text), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setGeometry(rectOf(v::OkButton));
    cmdOK_->setFont(makeFont(v::OkButton));
    QPalette buttonPalette = cmdOK_->palette();
    buttonPalette.setColor(QPalette::Button, toQColor(v::ButtonFace));
    cmdOK_->setPalette(buttonPalette);
    // Enter presses it; Space presses it as the focused button.
    cmdOK_->setDefault(true);
    cmdOK_->setFocus();
    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);

    // No icon in the title bar. Without one of its own a window manager shows
    // the owner's, so the window carries a fully transparent one.
    QPixmap noIcon(16, 16);
    noIcon.fill(Qt::transparent);
    setWindowIcon(QIcon(noIcon));

    centreOver(owner);
    refuseMinimise(this);
}

void VersionWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Sent before the window is mapped, so the manager frames it as asked.
    askCloseAndMoveOnly(this);
}

void VersionWindow::centreOver(QWidget* owner)
{
    if (!owner || !owner->window()->isVisible())
        return;
    // Frame over frame. This frame is not known before the first show; the
    // window manager decorates it like its owner, so the owner's frame margins
    // stand for its own. Placing the client area (not the frame, which Qt
    // would correct only after the manager has framed the window) opens it in
    // place at once.
    const QWidget* top = owner->window();
    const QRect ownerFrame = top->frameGeometry();
    const QPoint clientInFrame = top->geometry().topLeft() - ownerFrame.topLeft();
    const QSize frame = size() + (ownerFrame.size() - top->size());
    const QPoint frameAt(ownerFrame.x() + (ownerFrame.width() - frame.width()) / 2,
                         ownerFrame.y() + (ownerFrame.height() - frame.height()) / 2);
    setGeometry(QRect(frameAt + clientInFrame, size()));
}

} // namespace soramado
