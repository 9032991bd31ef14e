#include "plugin/Plugin.h"

#include "autopause/AutoPauseMode.h"
#include "commands/CommandSet.h"
#include "common/ProcessWide.h"
#include "common/UniqueResource.h"
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

namespace {

// Set by pluginQuit. Winamp calls quit when it closes, once its main loop
// has ended (the WM_QUIT has ended the options window's loop first), and at
// logoff or shutdown from inside whatever loop runs, the options window's
// included, while pluginConfig waits below; neither frees the DLL. Only an
// uninstall from Winamp's Preferences frees a plug-in right after quit, and
// only one that asks for it (a winampUninstallPlugin export, which this
// plug-in does not have); the reference below keeps the code mapped should
// a host free it inside the options window's loop all the same.
bool quitHasRun = false;

// A reference of the plug-in's own on this module, so that the code the
// options window's loop returns into stays mapped whatever Winamp frees.
// Loading the module's own file again only counts a reference, and unlike
// GetModuleHandleExA it exists on every Windows the plug-in loads on.
UniqueLibrary holdThisModule() noexcept {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(moduleInstance, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return UniqueLibrary{};
    return UniqueLibrary(::LoadLibraryA(path));
}

}  // namespace

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
        startFilesRoadTimer(host);
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
        UniqueLibrary held = holdThisModule();
        ::DialogBoxParamA(pluginRecord.hDllInstance, MAKEINTRESOURCEA(IDD_OPTIONS), nullptr,
                          optionsWindowProc, 0);
        // Winamp quit while the window was open and has let go of the DLL:
        // this reference is all that keeps the code mapped that returns to
        // Winamp, so it is kept until the process ends, which it is doing.
        if (quitHasRun) (void)held.release();
    } catch (...) {
    }
}

// The game side stops drawing within one of its ticks: the lines in the
// shared block would otherwise stay on the game's screen, unchanging, for
// as long as the game runs.
//
// An options window still open is ended: its loop goes on only until the
// configuration entry returns. The DLL then stays mapped until the process
// ends, so the timers that its unload would stop are stopped here.
void pluginQuit() noexcept {
    quitHasRun = true;
    try {
        BuilderMode.write(playerControl.getPcmMode() == 1 ? 1 : 0);
    } catch (...) {
    }
    if (endOptionsWindow()) {
        stopHostTimers(pluginRecord.hwndParent);
        gameLink.stopTimers();
    }
    releaseHostPresence();
}

}  // namespace vireo
