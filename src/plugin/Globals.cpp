// Module initialisation builds these in this order, in every process that
// maps the DLL (the game process too): the game link, the player control,
// the key path, the nineteen settings, the description and record.

#include "common/ProcessWide.h"

#include "game/GameLink.h"
#include "player/PlayerControl.h"
#include "plugin/Plugin.h"
#include "settings/Defaults.h"
#include "settings/Settings.h"

namespace vireo {

GameLink gameLink;
PlayerControl playerControl;

const std::string settingsKeyPath{defaults::kKeyPath};

#define VIREO_STRING_SETTING(name)                                                 \
    StringSetting name {                                                           \
        HKEY_LOCAL_MACHINE, settingsKeyPath, #name, std::string(defaults::k##name) \
    }
#define VIREO_INT_SETTING(name) \
    IntSetting name { HKEY_LOCAL_MACHINE, settingsKeyPath, #name, defaults::k##name }

VIREO_STRING_SETTING(DisplayLine1);
VIREO_STRING_SETTING(DisplayLine2);
VIREO_STRING_SETTING(DisplayLine3);
VIREO_STRING_SETTING(DisplayLine4);
VIREO_STRING_SETTING(DisplayLine5);
VIREO_STRING_SETTING(DisplayLine6);
VIREO_INT_SETTING(DisplayColor);
VIREO_INT_SETTING(EnableScripting);
VIREO_INT_SETTING(EnableIngameDisplay);
VIREO_INT_SETTING(EnableAutoPause);
VIREO_INT_SETTING(FadeoutTarget);
VIREO_INT_SETTING(FadeinTarget);
VIREO_INT_SETTING(DelayAutoPause);
VIREO_INT_SETTING(HighUpdateFrequency);
VIREO_INT_SETTING(PlaceScriptInRoot);
VIREO_STRING_SETTING(Script);
VIREO_INT_SETTING(BuilderMode);
VIREO_INT_SETTING(ShowGUI);
VIREO_INT_SETTING(StartLine);

#undef VIREO_STRING_SETTING
#undef VIREO_INT_SETTING

const std::string pluginDescription{kPluginDescription};

PluginRecord pluginRecord{kGeneralPurposePluginVersion,
                          pluginDescription.c_str(),
                          pluginInit,
                          pluginConfig,
                          pluginQuit,
                          nullptr,
                          nullptr};

HINSTANCE moduleInstance = nullptr;
std::uintptr_t engineTable = 0;

bool inGameProcess = false;
UniqueHook hookHandle;
HWND hookedWindow = nullptr;
UniqueHandle hostPresence;
UINT_PTR gameDisplayTimer = 0;
DWORD gameDisplayThread = 0;
std::atomic<bool> gameDisplayLeaving{false};
bool rememberedAlive = false;
HWND autoPauseWindow = nullptr;

const StringSetting& displayLineSetting(int index) noexcept {
    static const StringSetting* const lines[kDisplayLineCount] = {
        &DisplayLine1, &DisplayLine2, &DisplayLine3, &DisplayLine4, &DisplayLine5, &DisplayLine6};
    return *lines[index];
}

}  // namespace vireo
