#include "platform/posix/systemclock.h"
#include "platform/random.h"
#include "qt/commandline.h"
#include "qt/displayplatform.h"
#include "qt/fontcoverage.h"
#include "qt/fonts.h"
#include "qt/mainwindow.h"
#include "qt/nativestore.h"
#include "qt/singleclock.h"
#include "qt/startupguard.h"
#include "qt/termination.h"
#include "qt/translations.h"

#include <QApplication>
#include <QLabel>

#include <csignal>
#include <memory>

int main(int argc, char* argv[])
{
#ifdef SIGXFSZ
    // A write beyond the user's file size limit must fail and be told like any
    // failed write, not end the clock.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
#ifdef SIGPIPE
    // Nor may a warning to a stderr whose reader has gone: it is dropped.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    // --help, --version and a mistyped option need no display.
    const soramado::CommandLine commandLine = soramado::answerCommandLine(argc, argv);
    if (commandLine.exitStatus)
        return *commandLine.exitStatus;
    soramado::guardDisplayConnection("soramado", argc, argv);
    soramado::applyDisplayPlatform(argc, argv);
    QApplication app(argc, argv);
    soramado::endDisplayGuard();
    QApplication::setApplicationName(QStringLiteral("Soramado"));
    // Before the settings are read: a second start only brings the first forward.
    const soramado::SingleClock::Claim claim = soramado::SingleClock::claim(commandLine.display);
    if (!claim.clock)
        return claim.exitStatus;
    soramado::installQtTranslations(app);

    soramado::registerFontSubstitutes();
    soramado::warnWithoutJapaneseFont();
    soramado::SystemClock clock;
    soramado::SeededRandom random(soramado::seedFromClock(clock));
    const std::unique_ptr<soramado::SettingsStore> store = soramado::makeNativeSettingsStore();
    soramado::MainWindow window(clock, random, *store);
    soramado::closeOnTermination(&window);
    claim.clock->bringForwardOnRequest(&window);
    window.show();
    return QApplication::exec();
}
