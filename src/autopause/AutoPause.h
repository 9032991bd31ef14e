#pragma once
// Pauses or fades Winamp as the player spawns and dies in Counter-Strike.

#include <windows.h>

#include "autopause/AutoPauseMode.h"
#include "common/ProcessWide.h"

namespace vireo {

// The "autopause" command: stores the mode, first setting the remembered
// state so that the mode acts at once, or with DelayAutoPause 1 only at the
// player's next death or spawn.
void setAutoPause(AutoPauseMode mode);

void CALLBACK autoPauseTick(HWND, UINT, UINT_PTR, DWORD) noexcept;

}  // namespace vireo
