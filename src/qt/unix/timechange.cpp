#include "qt/timechange.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstdint>
#include <ctime>
#include <limits>
#include <sys/timerfd.h>
#include <unistd.h>

namespace soramado {

namespace {

// A real-time timer that never expires and is cancelled by any set of the
// clock: its descriptor turns readable exactly then.
bool armForClockSet(int fd)
{
    itimerspec never = {};
    never.it_value.tv_sec = std::numeric_limits<time_t>::max();
    return ::timerfd_settime(fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &never, nullptr) == 0;
}

} // namespace

TimeChangeNotice::TimeChangeNotice(QObject* parent) : QObject(parent)
{
    const int fd = ::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd < 0)
        return;
    if (!armForClockSet(fd)) {
        ::close(fd);
        return;
    }
    handle_ = fd;
    notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        std::uint64_t expirations = 0;
        const bool set =
            ::read(handle_, &expirations, sizeof expirations) < 0 && errno == ECANCELED;
        if (!set && expirations == 0)
            return; // woken for nothing
        // Cancelled (or, never in practice, expired), the timer watches no
        // more until it is armed again.
        if (!armForClockSet(handle_))
            notifier_->setEnabled(false);
        if (set)
            emit timeChanged();
    });
}

TimeChangeNotice::~TimeChangeNotice()
{
    // The notifier must not watch a closed descriptor.
    delete notifier_;
    if (handle_ >= 0)
        ::close(handle_);
}

} // namespace soramado
