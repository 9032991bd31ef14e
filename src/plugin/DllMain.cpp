// The DLL plays two roles. Winamp loads it as a plug-in; the hook installer
// gets it mapped into the game, where DllMain runs on the game's own thread
// and starts the timer that draws the display.

#include <windows.h>

#include "display/Display.h"
#include "display/Injection.h"
#include "game/GameLocator.h"
#include "game/Landmarks.h"
#include "plugin/Plugin.h"
#include "plugin/Timers.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) noexcept {
    using namespace vireo;
    moduleInstance = instance;
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            // No game running gives thread id 0, never the current thread's.
            if (::GetCurrentThreadId() == gameThreadId()) {
                const GameKind kind = gameKind();
                if (kind == GameKind::HalfLife || kind == GameKind::CounterStrike) {
                    engineTable = landmarks::kEngineTableAddress;
                    startGameDisplay();
                } else {
                    engineTable = 0;
                }
            }
            break;
        case DLL_PROCESS_DETACH:
            if (::GetCurrentThreadId() != gameThreadId()) {
                resetHook();
                if (pluginRecord.hwndParent) stopHostTimers(pluginRecord.hwndParent);
            }
            break;
        default:
            break;
    }
    return TRUE;
}
