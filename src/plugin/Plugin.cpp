#include "plugin/Plugin.h"

#include "autopause/AutoPause.h"
#include "commands/CommandSet.h"
#include "game/GameLink.h"
#include "player/PlayerControl.h"
#include "plugin/Globals.h"
#include "plugin/Timers.h"
#include "settings/Settings.h"
#include "ui/OptionsWindow.h"
#include "ui/Resource.h"

extern "C" vireo::PluginRecord* winampGetGeneralPurposePlugin() { return &vireo::pluginRecord; }

namespace vireo {

HINSTANCE moduleInstance = nullptr;
std::uintptr_t engineTable = 0;

int pluginInit() {
    gameLink.addCommand(kCommandWord, commandSetHandler);
    gameLink.addCommand(kCommandWordLower, commandSetHandler);
    HWND host = pluginRecord.hwndParent;
    gameLink.attach(host);
    playerControl.setWindow(host);
    startFeatureTimers(host);
    startAutoPauseTimer(host);
    playerControl.setPcmMode(BuilderMode.read());
    EnableAutoPause.write(0);
    return 0;
}

void pluginConfig() {
    if (HWND open = ::FindWindowA(nullptr, kOptionsWindowCaption)) {
        ::SetActiveWindow(open);
        return;
    }
    ::DialogBoxParamA(pluginRecord.hDllInstance, MAKEINTRESOURCEA(IDD_OPTIONS), nullptr,
                      optionsWindowProc, 0);
}

void pluginQuit() { BuilderMode.write(playerControl.getPcmMode() == 1 ? 1 : 0); }

}  // namespace vireo
