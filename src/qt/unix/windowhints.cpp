#include "qt/windowhints.h"

#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace soramado {

namespace {

// The Motif window manager hints, which openbox, xfwm4, KWin and Mutter read.
constexpr std::uint32_t MwmHintsFunctions = 1u << 0;
constexpr std::uint32_t MwmHintsDecorations = 1u << 1;
constexpr std::uint32_t MwmFuncMove = 1u << 2;
constexpr std::uint32_t MwmFuncClose = 1u << 5;
constexpr std::uint32_t MwmDecorBorder = 1u << 1;
constexpr std::uint32_t MwmDecorTitle = 1u << 3;

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (!reply)
        return XCB_ATOM_NONE;
    const xcb_atom_t found = reply->atom;
    std::free(reply);
    return found;
}

} // namespace

void askCloseAndMoveOnly(QWidget* window)
{
    // winId() would create a native window that is not there yet.
    if (!window || !window->testAttribute(Qt::WA_WState_Created) ||
        QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    const xcb_atom_t hints = atom(connection, "_MOTIF_WM_HINTS");
    if (hints == XCB_ATOM_NONE)
        return;
    // flags, functions, decorations, input mode, status
    const std::array<std::uint32_t, 5> value{MwmHintsFunctions | MwmHintsDecorations,
                                             MwmFuncMove | MwmFuncClose,
                                             MwmDecorBorder | MwmDecorTitle, 0, 0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
                        static_cast<xcb_window_t>(window->winId()), hints, hints, 32,
                        static_cast<std::uint32_t>(value.size()), value.data());
    xcb_flush(connection);
}

} // namespace soramado
