#pragma once

class QWidget;

namespace soramado {

// Asks the window manager to offer moving and closing only: a title bar with a
// close box, no minimise or maximise box, no resizing. Qt's own hints ask for
// resizing as well. Call it once the native window exists and again after each
// change of the window's flags (Qt then writes its own hints anew). Does
// nothing away from X11.
void askCloseAndMoveOnly(QWidget* window);

// A window without a taskbar entry that gets minimised all the same (some
// window managers offer it whatever the window asks) comes straight back.
void refuseMinimise(QWidget* window);

} // namespace soramado
