#include "display/Injection.h"

#include "game/GameLocator.h"
#include "common/ProcessWide.h"
#include "common/UniqueResource.h"

namespace vireo {
namespace {

DWORD lastHookError = 0;

}  // namespace

void CALLBACK hookInstallerTick(HWND, UINT, UINT_PTR, DWORD) noexcept {
    HWND game = findGameWindow();
    if (!game || game == hookedWindow) return;
    // Thread 0 would make the hook global: leave hookedWindow as it is and
    // try again at the next tick.
    const DWORD thread = gameThreadId();
    if (thread == 0) return;
    // A hook on a window we no longer serve is released first. When that
    // game has ended this fails harmlessly; when the game made a new window
    // on the same thread, it keeps a second hook from piling up where the
    // unload could not reach it.
    hookHandle.reset();
    hookHandle.reset(::SetWindowsHookExA(WH_GETMESSAGE, getMessageHook, moduleInstance, thread));
    lastHookError = hookHandle ? 0 : ::GetLastError();
    // The system maps the DLL into the game for the hook's first call there:
    // a message for the thread makes that happen at once.
    if (hookHandle) ::PostThreadMessageA(thread, WM_NULL, 0, 0);
    // Also after a failure: it is not retried until the window changes.
    hookedWindow = game;
}

// In the game process hookHandle is that process's own copy, never set there,
// so the call is made with null, which the system accepts.
LRESULT CALLBACK getMessageHook(int code, WPARAM wParam, LPARAM lParam) noexcept {
    return ::CallNextHookEx(hookHandle.get(), code, wParam, lParam);
}

void resetHook() noexcept {
    hookedWindow = nullptr;
    hookHandle.reset();
    lastHookError = 0;
}

DWORD hookInstallError() noexcept { return lastHookError; }

}  // namespace vireo
