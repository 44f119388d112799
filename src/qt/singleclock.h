#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>
#include <string>

class QLocalServer;
class QWidget;

namespace soramado {

// One clock per user and display. The first start listens on a local socket
// in the user's private runtime folder; a later start finds it there, asks
// that clock to come to the front, and ends without touching the settings.
// A socket left by a clock that was killed answers nobody and is replaced.
// This works with or without a D-Bus session, and the socket goes with the
// runtime folder when the user logs out.
class SingleClock : public QObject {
public:
    struct Claim {
        std::unique_ptr<SingleClock> clock; // null: another clock runs here
        int exitStatus = 0;                 // for a start that ends here
    };
    // Call once the application object exists. display: the -display
    // argument, or empty for the environment's.
    static Claim claim(const std::string& display);

    ~SingleClock() override;
    // From now on a later start brings window to the front (at once, if one
    // asked already).
    void bringForwardOnRequest(QWidget* window);

private:
    explicit SingleClock(std::unique_ptr<QLocalServer> server);
    void answer();

    std::unique_ptr<QLocalServer> server_;
    QPointer<QWidget> window_;
    bool asked_ = false;
};

// The socket's name for a platform and display: "soramado-x11-0" for ":0.0".
QString instanceName(const QString& platform, const QString& display);

// A folder only this user can enter, for the socket: $XDG_RUNTIME_DIR, else
// one made in the temporary folder and named with the user; empty when none
// can be had safely.
QString instanceFolder();

// Shown, restored, raised and activated, with its open modal window if any.
void bringForward(QWidget* window);

} // namespace soramado
