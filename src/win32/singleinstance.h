#pragma once

#include <windows.h>

namespace soramado::win32 {

// One clock per user session: a named mutex in the session's namespace,
// held while the clock runs and let go by Windows however it ends.
class SingleInstance {
public:
    // Claims the clock for this session. When another clock has it, brings
    // that one to the front instead, and the claim is empty.
    static SingleInstance claim();

    SingleInstance(SingleInstance&& other) noexcept;
    SingleInstance& operator=(SingleInstance&&) = delete;
    SingleInstance(const SingleInstance&) = delete;
    ~SingleInstance();
    explicit operator bool() const { return claimed_; }

private:
    SingleInstance(HANDLE mutex, bool claimed) : mutex_(mutex), claimed_(claimed) {}
    HANDLE mutex_;
    bool claimed_;
};

// Shows the running clock of this session, on top and in the foreground where
// Windows lets it be; with its version window, when that is open.
void bringForwardRunningClock();

} // namespace soramado::win32
