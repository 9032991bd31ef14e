// The DLL plays two roles. Winamp loads it as a plug-in; the hook installer
// gets it mapped into the game, where DllMain runs on the game's own thread
// and starts the timer that draws the display.

#include <windows.h>

#include "display/Display.h"
#include "display/HostPresence.h"
#include "display/Injection.h"
#include "game/GameLocator.h"
#include "game/Landmarks.h"
#include "common/PluginRecord.h"
#include "common/ProcessWide.h"
#include "plugin/HostTimers.h"

namespace {

bool drawsInThisGame() noexcept {
    try {
        const vireo::GameKind kind = vireo::gameKind();
        return kind == vireo::GameKind::HalfLife || kind == vireo::GameKind::CounterStrike;
    } catch (...) {
        return false;
    }
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) noexcept {
    using namespace vireo;
    moduleInstance = instance;
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            // No game running gives thread id 0, never the current thread's.
            if (::GetCurrentThreadId() == gameThreadId()) {
                vireo::inGameProcess = true;
                if (drawsInThisGame()) {
                    engineTable = landmarks::kEngineTableAddress;
                    startGameDisplay();
                } else {
                    engineTable = 0;
                }
            }
            break;
        case DLL_PROCESS_DETACH:
            // Decided by the role taken at attach rather than by asking for
            // the game thread again: by then the game's window may be gone,
            // and a window search is best kept out of the loader lock.
            if (vireo::inGameProcess) {
                // The timer must not outlive the code it calls.
                stopGameDisplay();
            } else {
                resetHook();
                if (pluginRecord.hwndParent) stopHostTimers(pluginRecord.hwndParent);
                // Unloaded without pluginQuit: the game stops drawing all the same.
                releaseHostPresence();
            }
            break;
        default:
            break;
    }
    return TRUE;
}
