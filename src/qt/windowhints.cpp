#include "qt/windowhints.h"

#include <QEvent>
#include <QGuiApplication>
#include <QObject>
#include <QTimer>
#include <QWidget>

namespace soramado {

namespace {

class MinimiseRefuser final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = qobject_cast<QWidget*>(watched);
        if (window && event->type() == QEvent::WindowStateChange &&
            (window->windowState() & Qt::WindowMinimized)) {
            // After the state change has been handled, not inside it.
            QTimer::singleShot(0, window, [window] {
                if (window->windowState() & Qt::WindowMinimized)
                    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
            });
        }
        return false;
    }
};

} // namespace

void refuseMinimise(QWidget* window)
{
    if (window)
        window->installEventFilter(new MinimiseRefuser(window));
}

} // namespace soramado
