#include "common/Timers.h"

namespace vireo {
namespace {

// Constant-initialised: empty until the shell registers.
TimerRearming registeredRearming{nullptr, nullptr};

}  // namespace

void registerTimerRearming(const TimerRearming& rearming) noexcept {
    registeredRearming = rearming;
}

void rearmTimersShort(HWND window) noexcept {
    if (registeredRearming.afterScriptingPage) registeredRearming.afterScriptingPage(window);
}

void rearmTimersFull(HWND window) noexcept {
    if (registeredRearming.afterGeneralPage) registeredRearming.afterGeneralPage(window);
}

}  // namespace vireo
