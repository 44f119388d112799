// How late a window's new second reaches the screen: watches the window's X
// damage for a while and reports, for each second of the system clock, how
// many milliseconds past it the first drawing arrived at the X server.
//
//   damagelag WINDOW_ID SECONDS    (window id as xdotool prints it)
//
// Prints one line: the number of seconds seen and the median, 90th
// percentile and largest lag in milliseconds, and the drawing bursts in all.

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <poll.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <set>
#include <vector>

namespace {

long long nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    return static_cast<long long>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: damagelag WINDOW_ID SECONDS\n");
        return 2;
    }
    const Window window = std::strtoul(argv[1], nullptr, 0);
    const long long seconds = std::atoll(argv[2]);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "damagelag: no display\n");
        return 1;
    }
    int eventBase = 0;
    int errorBase = 0;
    if (!XDamageQueryExtension(display, &eventBase, &errorBase)) {
        std::fprintf(stderr, "damagelag: no DAMAGE extension\n");
        return 1;
    }
    XDamageCreate(display, window, XDamageReportRawRectangles);
    XFlush(display);

    // Drawing requests of one update arrive within a few milliseconds; a
    // burst is one update on screen.
    constexpr long long BurstGapMs = 30;
    long long lastEvent = -1000;
    int bursts = 0;
    std::set<long long> secondsSeen;
    std::vector<long long> lags;
    // The watch starts on the next whole second: events before it may be the
    // server's report of what was there already.
    const long long begin = (nowMs() / 1000 + 1) * 1000;
    const long long end = begin + seconds * 1000;
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    for (long long now = nowMs(); now < end; now = nowMs()) {
        if (XPending(display) == 0) {
            poll(&fd, 1, static_cast<int>(std::min<long long>(end - now, 1000)));
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != eventBase + XDamageNotify)
            continue;
        const long long t = nowMs();
        if (t < begin)
            continue;
        if (t - lastEvent > BurstGapMs) {
            ++bursts;
            // Only the first drawing in each second shows its new text.
            if (secondsSeen.insert(t / 1000).second)
                lags.push_back(t % 1000);
        }
        lastEvent = t;
    }
    if (lags.empty()) {
        std::printf("seconds 0 median - p90 - max - bursts %d\n", bursts);
        return 0;
    }
    std::sort(lags.begin(), lags.end());
    const auto at = [&](double q) { return lags[static_cast<std::size_t>(q * (lags.size() - 1))]; };
    std::printf("seconds %zu median %lld p90 %lld max %lld bursts %d\n", lags.size(), at(0.5),
                at(0.9), lags.back(), bursts);
    XCloseDisplay(display);
    return 0;
}
