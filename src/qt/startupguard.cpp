#include "qt/startupguard.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace soramado {

namespace {

struct Held {
    QtMsgType type;
    QString category;
    QString message;
};

const char* guardedProgram = "soramado";
QtMessageHandler previousHandler = nullptr;
std::vector<Held> held;

void guardHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        // The platform's own account of the failed connection is dropped: this
        // line says what matters.
        const QByteArray display = qgetenv("DISPLAY");
        std::fprintf(stderr, "%s: cannot open a display to show the clock on (%s)\n",
                     guardedProgram,
                     display.isEmpty() ? "DISPLAY is not set" : ("DISPLAY=" + display).constData());
        std::fflush(stderr);
        std::_Exit(1);
    }
    held.push_back({type, QString::fromUtf8(context.category), message});
}

} // namespace

void guardDisplayConnection(const char* programName)
{
    guardedProgram = programName;
    previousHandler = qInstallMessageHandler(guardHandler);
}

void endDisplayGuard()
{
    qInstallMessageHandler(previousHandler);
    // The connection worked: what was said meanwhile goes out as usual.
    for (const Held& h : held) {
        const QByteArray category = h.category.toUtf8();
        const QMessageLogContext context(nullptr, 0, nullptr, category.constData());
        qt_message_output(h.type, context, h.message);
    }
    held.clear();
}

} // namespace soramado
