#pragma once
// Every process-wide object of the plug-in, in the order module
// initialisation builds them. The plug-in shell defines them all in one
// translation unit, so that order is fixed, and they are destroyed in reverse
// at unload. They exist in every process that maps the DLL, the game's too.
//
// Only forward declarations here: a user includes the class it uses beside
// this header, and no subsystem has to reach up into the shell for them.

#include <atomic>
#include <cstdint>
#include <string>

#include "common/UniqueResource.h"

namespace vireo {

class GameLink;
class PlayerControl;
class IntSetting;
class StringSetting;
struct PluginRecord;

// The game link with its (at first empty) command table.
extern GameLink gameLink;
// The one way to Winamp.
extern PlayerControl playerControl;

// The registry key the settings share, then the nineteen settings, named by
// their registry value names; each reads the registry at every use.
extern const std::string settingsKeyPath;
extern StringSetting DisplayLine1;
extern StringSetting DisplayLine2;
extern StringSetting DisplayLine3;
extern StringSetting DisplayLine4;
extern StringSetting DisplayLine5;
extern StringSetting DisplayLine6;
extern IntSetting DisplayColor;
extern IntSetting EnableScripting;
extern IntSetting EnableIngameDisplay;
extern IntSetting EnableAutoPause;
extern IntSetting FadeoutTarget;
extern IntSetting FadeinTarget;
extern IntSetting DelayAutoPause;
extern IntSetting HighUpdateFrequency;
extern IntSetting PlaceScriptInRoot;
extern StringSetting Script;
extern IntSetting BuilderMode;
extern IntSetting ShowGUI;
extern IntSetting StartLine;

// The description Winamp lists, and the one record handed to it.
extern const std::string pluginDescription;
extern PluginRecord pluginRecord;

// Plain values, zero until set, needing no construction.
// The instance the system passes to DllMain: the module holding the hook
// procedure.
extern HINSTANCE moduleInstance;
// Inside the game only: address of the engine's function table, or null.
extern std::uintptr_t engineTable;

// The subsystems' own state, empty until set, needing no construction.
// Which role this copy took at attach (the game's, or Winamp's).
extern bool inGameProcess;
// Winamp side: the display hook installed last, and the game window it serves.
extern UniqueHook hookHandle;
extern HWND hookedWindow;
// Winamp side: held while the plug-in runs; the game side draws only while
// it exists.
extern UniqueHandle hostPresence;
// Game side: the drawing thread timer and its thread (a thread timer can only
// be killed from its own thread), and whether the DLL is leaving the game.
extern UINT_PTR gameDisplayTimer;
extern DWORD gameDisplayThread;
extern std::atomic<bool> gameDisplayLeaving;
// Auto-pause: the player state last acted on (the "autopause" command sets
// it), and the game window it belongs to.
extern bool rememberedAlive;
extern HWND autoPauseWindow;

}  // namespace vireo
