#include "qt/singleclock.h"

#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QWidget>

#include <cstdio>

namespace soramado {

namespace {

constexpr char Request[] = "raise\n";
constexpr char Answer[] = "ok\n";

// Letters, digits, '.', '_' and '-' as they are; anything else becomes '_'.
QString fileSafe(const QString& text)
{
    QString safe;
    for (const QChar c : text) {
        const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                           (c >= u'0' && c <= u'9') || c == u'.' || c == u'_' || c == u'-';
        safe += plain ? c : QChar(u'_');
    }
    return safe;
}

void warn(const QString& line)
{
    std::fprintf(stderr, "soramado: %s\n", line.toLocal8Bit().constData());
}

} // namespace

QString instanceName(const QString& platform, const QString& display)
{
    if (platform == u"xcb") {
        // host:number.screen; every screen of one display is one desktop.
        const qsizetype colon = display.lastIndexOf(u':');
        QString host = colon < 0 ? QString() : display.left(colon);
        QString number = colon < 0 ? display : display.mid(colon + 1);
        number = number.left(number.indexOf(u'.'));
        if (host == u"unix")
            host.clear();
        return QStringLiteral("soramado-x11-") +
               (host.isEmpty() ? QString() : fileSafe(host) + u'_') + fileSafe(number);
    }
    if (platform.startsWith(u"wayland"))
        return QStringLiteral("soramado-wayland-") +
               fileSafe(display.isEmpty() ? QStringLiteral("wayland-0") : display);
    return QStringLiteral("soramado-") + fileSafe(platform) +
           (display.isEmpty() ? QString() : u'-' + fileSafe(display));
}

SingleClock::Claim SingleClock::claim(const std::string& display)
{
    const QString folder = instanceFolder();
    if (folder.isEmpty()) {
        warn(QStringLiteral("no private folder for the clock's socket; a second start will not "
                            "find this clock"));
        return {std::unique_ptr<SingleClock>(new SingleClock(nullptr))};
    }
    const QString platform = QGuiApplication::platformName();
    const QString shown =
        !display.empty()
            ? QString::fromStdString(display)
            : qEnvironmentVariable(platform.startsWith(u"wayland") ? "WAYLAND_DISPLAY" : "DISPLAY");
    const QString path = folder + u'/' + instanceName(platform, shown);

    // Two starts at once (a double click on a launcher) take turns here; a lock
    // left by a start that died is taken over.
    QLockFile lock(path + QStringLiteral(".lock"));
    lock.tryLock(5000);

    QLocalSocket socket;
    socket.connectToServer(path);
    if (socket.waitForConnected(1000)) {
        socket.write(Request);
        if (socket.waitForBytesWritten(1000) && socket.waitForReadyRead(3000) &&
            socket.readLine() == Answer)
            return {nullptr, 0};
        warn(QStringLiteral("a clock already runs on this desktop but did not answer (") + path +
             u')');
        return {nullptr, 1};
    }
    // Nobody answers: what is there was left by a clock that ended abruptly.
    QLocalServer::removeServer(path);
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(path)) {
        warn(QStringLiteral("cannot listen at ") + path + QStringLiteral(": ") +
             server->errorString() + QStringLiteral("; a second start will not find this clock"));
        server.reset();
    }
    return {std::unique_ptr<SingleClock>(new SingleClock(std::move(server)))};
}

SingleClock::SingleClock(std::unique_ptr<QLocalServer> server) : server_(std::move(server))
{
    if (server_)
        connect(server_.get(), &QLocalServer::newConnection, this, &SingleClock::answer);
}

SingleClock::~SingleClock() = default;

void SingleClock::answer()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            if (socket->readLine() != Request) {
                socket->disconnectFromServer();
                return;
            }
            if (window_)
                bringForward(window_);
            else
                asked_ = true;
            socket->write(Answer);
            socket->disconnectFromServer();
        });
    }
}

void SingleClock::bringForwardOnRequest(QWidget* window)
{
    window_ = window;
    if (asked_ && window_)
        bringForward(window_);
    asked_ = false;
}

void bringForward(QWidget* window)
{
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}

} // namespace soramado
