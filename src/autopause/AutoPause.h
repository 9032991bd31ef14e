#pragma once
// Pauses or fades Winamp as the player spawns and dies in Counter-Strike.

#include <windows.h>

namespace vireo {

// The player state auto-pause last acted on; the "autopause" command sets it.
extern bool rememberedAlive;
// The game window auto-pause saw last.
extern HWND autoPauseWindow;

void CALLBACK autoPauseTick(HWND, UINT, UINT_PTR, DWORD) noexcept;

}  // namespace vireo
