#pragma once
// The one place that arms the numbered host-side timers: at start-up, when
// the options pages are confirmed (registered with the common timer table),
// and at unload.

#include <windows.h>

namespace vireo {

// Script writer (if EnableScripting is 1), then hook installer and display
// composer (if EnableIngameDisplay is 1), as at start-up.
void startFeatureTimers(HWND window) noexcept;
void startAutoPauseTimer(HWND window) noexcept;
// The files road for games of today; the pages' re-arming leaves it alone.
void startFilesRoadTimer(HWND window) noexcept;
// Hands the pages' re-arming to the common timer table.
void registerHostTimerRearming() noexcept;
// Kills every numbered host-side timer, so that none can fire into the code
// once the DLL is unloaded while Winamp's window lives on.
void stopHostTimers(HWND window) noexcept;

}  // namespace vireo
