#include "platform/startupguard.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

namespace soramado {

namespace {

const char* guardedProgram = "soramado";
QtMessageHandler previousHandler = nullptr;

void guardHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s: cannot open a display to show the clock on (%s)\n",
                     guardedProgram,
                     qEnvironmentVariableIsSet("DISPLAY")
                         ? qPrintable(QStringLiteral("DISPLAY=") + qEnvironmentVariable("DISPLAY"))
                         : "DISPLAY is not set");
        std::fflush(stderr);
        std::_Exit(1);
    }
    // The platform's own chatter about the failed connection is left out; the
    // fatal line above says what matters.
    if (type == QtWarningMsg || type == QtCriticalMsg) {
        if (message.contains(QLatin1String("display")) ||
            message.contains(QLatin1String("platform plugin")))
            return;
    }
    if (previousHandler)
        previousHandler(type, context, message);
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
}

} // namespace soramado
