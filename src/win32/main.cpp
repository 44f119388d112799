#include "platform/random.h"
#include "win32/mainwindow.h"
#include "win32/systemclock.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    using namespace soramado;
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
