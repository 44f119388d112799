#include "qt/topmost.h"

#include <QWidget>
#include <QWindow>

namespace soramado {

void setTopmost(QWidget* window, bool on)
{
    if (!window)
        return;
    // Never QWidget::setWindowFlag: it hides a shown window, and on one not
    // shown yet it moves the window to its own pos(), which the first show
    // then takes as the frame's place, shifting the client area by the title
    // bar. The native window takes the change in place (on X11 as
    // _NET_WM_STATE_ABOVE); a window not yet created picks the flag up when it is.
    if (QWindow* handle = window->windowHandle())
        handle->setFlag(Qt::WindowStaysOnTopHint, on);
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    window->overrideWindowFlags(flags);
}

} // namespace soramado
