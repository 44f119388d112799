#include "platform/random.h"
#include "qt/displayplatform.h"
#include "qt/fontchooser.h"
#include "qt/fonts.h"
#include "qt/mainwindow.h"
#include "qt/qtsettingsstore.h"
#include "qt/startupguard.h"
#include "qt/systemclock.h"
#include "qt/termination.h"

#include <QApplication>
#include <QLabel>

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
    soramado::QtSettingsStore store;
    soramado::DialogFontChooser fonts;
    soramado::MainWindow window(clock, random, store, fonts);
    fonts.parent = &window;
    fonts.currentFont = [&window] { return window.timeLabel()->font(); };
    soramado::closeOnTermination(&window);
    window.show();
    return QApplication::exec();
}
