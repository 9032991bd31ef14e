#pragma once
// The six display lines: composed on the Winamp side, drawn inside the game.

#include <windows.h>

namespace vireo {

// Winamp side, kDisplayComposerTimerId: expands DisplayLine1… into the shared
// slots.
void CALLBACK displayComposerTick(HWND, UINT, UINT_PTR, DWORD) noexcept;
// Game side, thread timer kGameDisplayTimerId: prints the slots through the
// engine's table.
void CALLBACK gameDisplayTick(HWND, UINT, UINT_PTR, DWORD) noexcept;
// Game side: starts the thread timer that draws (called from DllMain on the
// game's thread) and stops it before the code goes away.
void startGameDisplay() noexcept;
void stopGameDisplay() noexcept;

}  // namespace vireo
