#include "display/Injection.h"

namespace vireo {

HHOOK hookHandle = nullptr;
HWND hookedWindow = nullptr;

void CALLBACK hookInstallerTick(HWND, UINT, UINT_PTR, DWORD) noexcept {}

LRESULT CALLBACK getMessageHook(int code, WPARAM wParam, LPARAM lParam) noexcept {
    return ::CallNextHookEx(hookHandle, code, wParam, lParam);
}

void resetHook() noexcept {
    hookedWindow = nullptr;
    if (hookHandle) ::UnhookWindowsHookEx(hookHandle);
    hookHandle = nullptr;
}

}  // namespace vireo
