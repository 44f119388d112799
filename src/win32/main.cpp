#include "platform/random.h"
#include "win32/commandline.h"
#include "win32/mainwindow.h"
#include "win32/singleinstance.h"
#include "win32/systemclock.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    using namespace soramado;
    if (const auto status = win32::answerCommandLine())
        return *status;
    // Before the settings are read: a second start only brings the first forward.
    const win32::SingleInstance claim = win32::SingleInstance::claim();
    if (!claim)
        return 0;
    win32::SystemClock clock;
    SeededRandom random(seedFromClock(clock));
    win32::MainWindow window(instance, clock, random);
    if (!window.create(showCommand))
        return 1;
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
