#pragma once
// Identifiers and periods of every timer the plug-in runs, and the re-arming
// the options pages ask for after storing their settings.

#include <windows.h>

namespace vireo {

inline constexpr UINT_PTR kHookInstallerTimerId = 1000;
inline constexpr UINT_PTR kDisplayComposerTimerId = 1001;
inline constexpr UINT_PTR kScriptWriterTimerId = 1002;
inline constexpr UINT_PTR kGameDisplayTimerId = 1003;  // thread timer inside the game
inline constexpr UINT_PTR kAutoPauseTimerId = 1004;
inline constexpr UINT_PTR kStatusRefreshTimerId = 1005;  // on the Status window, while it is open
inline constexpr UINT_PTR kFilesRoadTimerId = 1006;      // a game of today: its log and cfg files

inline constexpr UINT kHookInstallerPeriodMs = 3194;
inline constexpr UINT kDisplayComposerPeriodMs = 975;
inline constexpr UINT kScriptWriterPeriodMs = 1407;
inline constexpr UINT kScriptWriterFastPeriodMs = 1027;  // HighUpdateFrequency 1
inline constexpr UINT kGameDisplayPeriodMs = 1096;
inline constexpr UINT kAutoPausePeriodMs = 404;
inline constexpr UINT kConsolePollPeriodMs = 257;
inline constexpr UINT kModWatchPeriodMs = 2719;
inline constexpr UINT kStatusRefreshPeriodMs = 1000;
// The files road polls the console log as often as the classic road polls
// the captured line, and rewrites its cfg files at most this often.
inline constexpr UINT kFilesRoadPeriodMs = kConsolePollPeriodMs;
inline constexpr UINT kFilesRoadRewritePeriodMs = 1000;

// The pages re-arm timers whose procedures belong to the display, script and
// auto-pause subsystems, and whose switches are settings: to know them all a
// page would have to reach up into the shell that wires them. So the shell
// registers its re-arming here at start-up, and a page calls through this
// header without knowing what it starts. A page confirmed before that (no
// host window yet) re-arms nothing.
struct TimerRearming {
    // Scripting page: kill kScriptWriterTimerId and kDisplayComposerTimerId,
    // then start the feature timers again.
    void (*afterScriptingPage)(HWND window) noexcept;
    // General page: kill kHookInstallerTimerId, kScriptWriterTimerId and
    // kDisplayComposerTimerId, start the feature timers, then
    // kAutoPauseTimerId.
    void (*afterGeneralPage)(HWND window) noexcept;
};

void registerTimerRearming(const TimerRearming& rearming) noexcept;
void rearmTimersShort(HWND window) noexcept;
void rearmTimersFull(HWND window) noexcept;

}  // namespace vireo
