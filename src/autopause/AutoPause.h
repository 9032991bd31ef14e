#pragma once
// Pauses or fades Winamp as the player spawns and dies in Counter-Strike.

#include <windows.h>

#include <cstdint>

#include "autopause/AutoPauseMode.h"
#include "common/ProcessWide.h"

namespace vireo {

// The "autopause" command: stores the mode, first setting the remembered
// state so that the mode acts at once, or with DelayAutoPause 1 only at the
// player's next death or spawn.
void setAutoPause(AutoPauseMode mode);

void CALLBACK autoPauseTick(HWND, UINT, UINT_PTR, DWORD) noexcept;

// What the timer last read, for the status report.
struct AutoPauseReport {
    std::uint32_t readAt = 0;  // GetTickCount of the last read of the player state; 0: none
    bool alive = false;
    bool counterStrike = false;  // the last tick found the game to be Counter-Strike
};
[[nodiscard]] const AutoPauseReport& autoPauseReport() noexcept;

}  // namespace vireo
