#pragma once
// Identifiers and periods of every timer the plug-in runs, and the one place
// that arms the numbered host-side timers (at start-up and when the options
// pages are confirmed).

#include <windows.h>

namespace vireo {

inline constexpr UINT_PTR kHookInstallerTimerId = 1000;
inline constexpr UINT_PTR kDisplayComposerTimerId = 1001;
inline constexpr UINT_PTR kScriptWriterTimerId = 1002;
inline constexpr UINT_PTR kGameDisplayTimerId = 1003;  // thread timer inside the game
inline constexpr UINT_PTR kAutoPauseTimerId = 1004;

inline constexpr UINT kHookInstallerPeriodMs = 3194;
inline constexpr UINT kDisplayComposerPeriodMs = 975;
inline constexpr UINT kScriptWriterPeriodMs = 1407;
inline constexpr UINT kScriptWriterFastPeriodMs = 1027;  // HighUpdateFrequency 1
inline constexpr UINT kGameDisplayPeriodMs = 1096;
inline constexpr UINT kAutoPausePeriodMs = 404;
inline constexpr UINT kConsolePollPeriodMs = 257;
inline constexpr UINT kModWatchPeriodMs = 2719;

// Script writer (if EnableScripting is 1), then hook installer and display
// composer (if EnableIngameDisplay is 1), as at start-up.
void startFeatureTimers(HWND window) noexcept;
// Scripting page: kill 1002 and 1001, then start the feature timers again.
void rearmTimersShort(HWND window) noexcept;
// General page: kill 1000, 1002, 1001, start the feature timers, then 1004.
void rearmTimersFull(HWND window) noexcept;
void startAutoPauseTimer(HWND window) noexcept;

}  // namespace vireo

namespace vireo {
// Kills every numbered host-side timer, so that none can fire into the code
// once the DLL is unloaded while Winamp's window lives on.
void stopHostTimers(HWND window) noexcept;
}  // namespace vireo
