#include "plugin/HostTimers.h"

#include "autopause/AutoPause.h"
#include "commands/RoadFiles.h"
#include "common/Timers.h"
#include "display/Display.h"
#include "display/Injection.h"
#include "display/SharedDisplayBlock.h"
#include "script/ScriptWriter.h"
#include "settings/Settings.h"

namespace vireo {
namespace {

void rearmAfterScriptingPage(HWND window) noexcept {
    ::KillTimer(window, kScriptWriterTimerId);
    ::KillTimer(window, kDisplayComposerTimerId);
    startFeatureTimers(window);
}

void rearmAfterGeneralPage(HWND window) noexcept {
    ::KillTimer(window, kHookInstallerTimerId);
    ::KillTimer(window, kScriptWriterTimerId);
    ::KillTimer(window, kDisplayComposerTimerId);
    startFeatureTimers(window);
    startAutoPauseTimer(window);
}

}  // namespace

void startFeatureTimers(HWND window) noexcept {
    if (EnableScripting.isOn()) {
        const UINT period =
            HighUpdateFrequency.isOn() ? kScriptWriterFastPeriodMs : kScriptWriterPeriodMs;
        ::SetTimer(window, kScriptWriterTimerId, period, scriptWriterTick);
    }
    if (EnableIngameDisplay.isOn()) {
        ::SetTimer(window, kHookInstallerTimerId, kHookInstallerPeriodMs, hookInstallerTick);
        ::SetTimer(window, kDisplayComposerTimerId, kDisplayComposerPeriodMs, displayComposerTick);
    } else {
        // The game keeps this DLL, and draws the slots, after the display
        // is switched off: with nothing composing them, they are emptied.
        clearDisplayLines(sharedDisplayBlock);
    }
}

void startAutoPauseTimer(HWND window) noexcept {
    ::SetTimer(window, kAutoPauseTimerId, kAutoPausePeriodMs, autoPauseTick);
}

void startFilesRoadTimer(HWND window) noexcept {
    ::SetTimer(window, kFilesRoadTimerId, kFilesRoadPeriodMs, filesRoadTick);
}

void registerHostTimerRearming() noexcept {
    registerTimerRearming(TimerRearming{rearmAfterScriptingPage, rearmAfterGeneralPage});
}

void stopHostTimers(HWND window) noexcept {
    for (UINT_PTR id : {kHookInstallerTimerId, kDisplayComposerTimerId, kScriptWriterTimerId,
                        kAutoPauseTimerId, kFilesRoadTimerId})
        ::KillTimer(window, id);
}

}  // namespace vireo
