#include "display/Display.h"

#include "plugin/Timers.h"

namespace vireo {
namespace {
UINT_PTR gameDisplayTimer = 0;
}

void CALLBACK displayComposerTick(HWND, UINT, UINT_PTR, DWORD) noexcept {}
void CALLBACK gameDisplayTick(HWND, UINT, UINT_PTR, DWORD) noexcept {}

void startGameDisplay() noexcept {
    gameDisplayTimer = ::SetTimer(nullptr, kGameDisplayTimerId, kGameDisplayPeriodMs, gameDisplayTick);
}

void stopGameDisplay() noexcept {
    if (gameDisplayTimer) ::KillTimer(nullptr, gameDisplayTimer);
    gameDisplayTimer = 0;
}

}  // namespace vireo
