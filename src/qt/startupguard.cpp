#include "qt/startupguard.h"

#include "qt/displayplatform.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace soramado {

namespace {

struct Held {
    QtMsgType type;
    QString category;
    QString message;
};

const char* guardedProgram = "soramado";
int guardedArgc = 0;
const char* const* guardedArgv = nullptr;
QtMessageHandler previousHandler = nullptr;
std::vector<Held> held;

void guardHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        // The platform's own account of the failure is dropped: this line says
        // what matters, in the terms of what was asked for.
        std::vector<std::string> said;
        for (const Held& h : held)
            said.push_back(h.message.toStdString());
        said.push_back(message.toStdString());
        const DisplayEnvironment env = currentDisplayEnvironment();
        const std::string line = displayFailureLine(
            guardedProgram, env, requestedPlatform(env, guardedArgc, guardedArgv), said);
        std::fprintf(stderr, "%s\n", line.c_str());
        std::fflush(stderr);
        std::_Exit(1);
    }
    held.push_back({type, QString::fromUtf8(context.category), message});
}

} // namespace

void guardDisplayConnection(const char* programName, int argc, const char* const* argv)
{
    guardedProgram = programName;
    guardedArgc = argc;
    guardedArgv = argv;
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
