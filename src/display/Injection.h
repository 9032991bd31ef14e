#pragma once
// Maps this DLL into the game with a WH_GETMESSAGE hook on the game's thread.

#include <windows.h>

namespace vireo {

void CALLBACK hookInstallerTick(HWND, UINT, UINT_PTR, DWORD) noexcept;
LRESULT CALLBACK getMessageHook(int code, WPARAM wParam, LPARAM lParam) noexcept;
// Unhooks and forgets the hooked window, so the next tick hooks the game again.
void resetHook() noexcept;
// Windows' error code from the last hook that could not be installed; 0 when
// the last one was, or none was tried.
[[nodiscard]] DWORD hookInstallError() noexcept;

}  // namespace vireo
