#pragma once

class QWidget;

namespace soramado {

// Asks the window manager to keep a top-level window above all normal windows,
// or to return it to the normal order. Position and size stay, and a shown
// window stays shown: no flicker, no re-creation.
void setTopmost(QWidget* window, bool on);

} // namespace soramado
