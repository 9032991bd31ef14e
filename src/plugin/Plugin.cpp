#include "plugin/Plugin.h"

#include "autopause/AutoPauseMode.h"
#include "commands/CommandSet.h"
#include "common/ProcessWide.h"
#include "display/HostPresence.h"
#include "display/SharedDisplayBlock.h"
#include "game/GameLink.h"
#include "player/PlayerControl.h"
#include "plugin/HostTimers.h"
#include "settings/Settings.h"
#include "ui/OptionsWindow.h"
#include "ui/Resource.h"

extern "C" vireo::PluginRecord* winampGetGeneralPurposePlugin() noexcept {
    return &vireo::pluginRecord;
}

namespace vireo {

// The three entries are called by Winamp: nothing thrown inside (allocation)
// may reach it.
int pluginInit() noexcept {
    try {
        // A game that still has this DLL from an earlier run keeps the
        // last lines composed then; they go before the game side is told
        // that a Winamp runs again, or it would draw them (for good, with
        // the in-game display switched off).
        clearDisplayLines(sharedDisplayBlock);
        // First, so that the game side draws only once there is something
        // to draw, and stops again at pluginQuit.
        holdHostPresence();
        gameLink.addCommand(kCommandWord, commandSetHandler);
        gameLink.addCommand(kCommandWordLower, commandSetHandler);
        HWND host = pluginRecord.hwndParent;
        gameLink.attach(host);
        playerControl.setWindow(host);
        registerHostTimerRearming();
        startFeatureTimers(host);
        startAutoPauseTimer(host);
        playerControl.setPcmMode(BuilderMode.read());
        EnableAutoPause.write(static_cast<std::int32_t>(AutoPauseMode::Off));
    } catch (...) {
    }
    return 0;
}

void pluginConfig() noexcept {
    try {
        if (HWND open = ::FindWindowA(nullptr, kOptionsWindowCaption)) {
            ::SetActiveWindow(open);
            return;
        }
        ::DialogBoxParamA(pluginRecord.hDllInstance, MAKEINTRESOURCEA(IDD_OPTIONS), nullptr,
                          optionsWindowProc, 0);
    } catch (...) {
    }
}

// The game side stops drawing within one of its ticks: the lines in the
// shared block would otherwise stay on the game's screen, unchanging, for
// as long as the game runs.
void pluginQuit() noexcept {
    try {
        BuilderMode.write(playerControl.getPcmMode() == 1 ? 1 : 0);
    } catch (...) {
    }
    releaseHostPresence();
}

}  // namespace vireo
