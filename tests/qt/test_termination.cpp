#include "qt/termination.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace {

class CountingWindow : public QWidget {
public:
    int closes = 0;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        ++closes;
        event->accept();
    }
};

#if defined(Q_OS_UNIX)
void waitForClose(const CountingWindow& window)
{
    QElapsedTimer waited;
    waited.start();
    while (window.closes == 0 && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    // Whatever a second close would need is queued by now.
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();
}

TEST(Termination, ASignalToEndClosesTheWindowOnceThroughItsCloseEvent)
{
    CountingWindow window;
    window.show();
    soramado::closeOnTermination(&window);
    std::raise(SIGTERM);
    QElapsedTimer waited;
    waited.start();
    while (window.closes == 0 && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(window.closes, 1);
    EXPECT_FALSE(window.isVisible());
}

volatile std::sig_atomic_t handlerStuck = 0;
extern "C" void onAlarm(int)
{
    handlerStuck = 1;
}

// Thousands of signals before the event loop gets to the first (as while a
// save waits for the lock): each handler returns at once with errno as it
// was, and the window closes once, however many more come afterwards.
TEST(Termination, AStormOfSignalsClosesOnceAndNeverBlocksTheHandler)
{
    CountingWindow window;
    window.show();
    soramado::closeOnTermination(&window);

    // A handler stuck in a write is freed by the alarm (no SA_RESTART), so a
    // regression fails here instead of hanging.
    struct sigaction alarmAction = {};
    struct sigaction before = {};
    alarmAction.sa_handler = onAlarm;
    sigemptyset(&alarmAction.sa_mask);
    sigaction(SIGALRM, &alarmAction, &before);
    handlerStuck = 0;
    alarm(30);
    int errnoChanged = 0;
    const auto storm = [&](int count) {
        for (int i = 0; i < count && !handlerStuck; ++i) {
            errno = EDOM;
            std::raise(i % 2 ? SIGHUP : SIGTERM);
            errnoChanged += errno != EDOM;
        }
    };
    storm(5000);
    waitForClose(window);
    storm(5000);
    waitForClose(window);
    alarm(0);
    sigaction(SIGALRM, &before, nullptr);

    EXPECT_FALSE(handlerStuck) << "a signal handler blocked";
    EXPECT_EQ(errnoChanged, 0);
    EXPECT_EQ(window.closes, 1);
    EXPECT_FALSE(window.isVisible());
}
#endif

} // namespace
