#include "app/mainwindow.h"
#include "platform/clock.h"
#include "platform/displayplatform.h"
#include "platform/fontchooser.h"
#include "platform/fonts.h"
#include "platform/random.h"
#include "platform/settingsstore.h"
#include "platform/startupguard.h"
#include "platform/termination.h"

#include <QApplication>

#include <csignal>

int main(int argc, char* argv[])
{
#ifdef SIGXFSZ
    // A write beyond the user's file size limit must fail and be told like any
    // failed write, not end the clock.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    soramado::guardDisplayConnection("soramado", argc, argv);
    soramado::applyDisplayPlatform(argc, argv);
    QApplication app(argc, argv);
    soramado::endDisplayGuard();
    QApplication::setApplicationName(QStringLiteral("Soramado"));

    soramado::registerFontSubstitutes();
    soramado::SystemClock clock;
    soramado::SeededRandom random(soramado::seedFromClock(clock));
    soramado::NativeSettingsStore store;
    soramado::DialogFontChooser fonts;
    soramado::MainWindow window(clock, random, store, fonts);
    soramado::closeOnTermination(&window);
    window.show();
    return QApplication::exec();
}
