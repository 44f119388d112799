#include "qt/mainwindow.h"
#include "platform/clock.h"
#include "qt/displayplatform.h"
#include "qt/fontchooser.h"
#include "qt/fonts.h"
#include "platform/random.h"
#include "platform/settingsstore.h"
#include "qt/startupguard.h"
#include "qt/termination.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    soramado::applyDisplayPlatform(argc, argv);
    soramado::guardDisplayConnection("soramado");
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
