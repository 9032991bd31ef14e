#pragma once
// The plug-in's entries and the globals the plug-in shell owns.

#include <windows.h>

#include <cstdint>
#include <string>

#include "VireoVersion.h"
#include "plugin/PluginRecord.h"

namespace vireo {

inline constexpr char kPluginDescription[] = "Vireo " VIREO_VERSION_TEXT;
// Caption of the options window (dialog 101), found to activate an open one.
inline constexpr char kOptionsWindowCaption[] = "Vireo Version " VIREO_SERIES_TEXT;

int pluginInit() noexcept;
void pluginConfig() noexcept;
void pluginQuit() noexcept;

// The one record handed to Winamp.
extern PluginRecord pluginRecord;
// The instance the system passes to DllMain; the module holding the hook
// procedure.
extern HINSTANCE moduleInstance;
// Inside the game only: address of the engine's function table, or null.
extern std::uintptr_t engineTable;

}  // namespace vireo
