#pragma once

namespace soramado {

// Asks the window system to keep the clock's window above all normal windows,
// or to return it to the normal order.
class TopmostRequest {
public:
    virtual ~TopmostRequest() = default;
    virtual void setTopmost(bool on) = 0;
};

} // namespace soramado
