#include "about/versionwindow.h"

#include "about/versiontext.h"
#include "platform/windowhints.h"

#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace soramado {

namespace {

constexpr QRgb WindowColour = 0xffffb0d0u; // red 255, green 176, blue 208
constexpr QRgb NameColour = 0xff800000u;   // maroon
constexpr QRgb CreditColour = 0xffff0000u; // red
constexpr QRgb VersionBack = 0xffffffc0u;  // light yellow
constexpr QRgb ButtonFace = 0xffc0ffc0u;   // light green

QFont makeFont(const QString& family, double pointSize, bool italic)
{
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(true);
    font.setItalic(italic);
    return font;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                  const QFont& font, QRgb colour)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(colour));
    label->setPalette(palette);
    return label;
}

} // namespace

VersionWindow::VersionWindow(QWidget* owner)
    : QDialog(owner,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmVer"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setModal(true);
    setFixedSize(ClientWidth, ClientHeight);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(WindowColour));
    setPalette(palette);
    setAutoFillBackground(true);

    const QString serif = QStringLiteral("Times New Roman");
    makeLabel(this, "Label1", QStringLiteral("Soramado"), QRect(31, 2, 128, 33),
              makeFont(serif, 21.75, true), NameColour);

    labVer_ = new QLabel(versionText(programVersion()), this);
    labVer_->setObjectName(QStringLiteral("labVer"));
    labVer_->setGeometry(42, 41, 104, 19);
    labVer_->setFont(makeFont(QStringLiteral("Arial"), 12, false));
    labVer_->setAlignment(Qt::AlignCenter);
    QPalette versionPalette = labVer_->palette();
    versionPalette.setColor(QPalette::Window, QColor::fromRgb(VersionBack));
    labVer_->setPalette(versionPalette);
    labVer_->setAutoFillBackground(true);

    makeLabel(this, "Label3", QStringLiteral("Program & Pictures"), QRect(3, 67, 131, 15),
              makeFont(serif, 9, true), CreditColour);
    makeLabel(this, "Label4", QStringLiteral("by Soramado Team"), QRect(51, 85, 130, 15),
              makeFont(serif, 11.25, true), CreditColour);

    cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setGeometry(55, 106, 82, 27);
    cmdOK_->setFont(makeFont(QStringLiteral("Arial"), 11.25, false));
    QPalette buttonPalette = cmdOK_->palette();
    buttonPalette.setColor(QPalette::Button, QColor::fromRgb(ButtonFace));
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
