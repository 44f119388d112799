#include "qt/topmost.h"

#include <QWidget>
#include <QWindow>

namespace soramado {

void setTopmost(QWidget* window, bool on)
{
    if (!window)
        return;
    if (!window->isVisible()) {
        // Not on screen yet: the flag goes with the first show.
        window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
        return;
    }
    // QWidget::setWindowFlag would hide a shown window; the native window takes
    // the change in place (on X11 as _NET_WM_STATE_ABOVE).
    if (QWindow* handle = window->windowHandle())
        handle->setFlag(Qt::WindowStaysOnTopHint, on);
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    window->overrideWindowFlags(flags);
}

} // namespace soramado
