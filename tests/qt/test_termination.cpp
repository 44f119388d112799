#include "qt/termination.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <csignal>

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
#endif

} // namespace
