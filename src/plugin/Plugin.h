#pragma once
// The plug-in's entries: the export Winamp finds, and the three entries it
// calls through the record.

#include "VireoVersion.h"
#include "common/PluginRecord.h"

namespace vireo {

inline constexpr char kPluginDescription[] = "Vireo " VIREO_VERSION_TEXT;
// Caption of the options window (IDD_OPTIONS), found to activate an open one.
inline constexpr char kOptionsWindowCaption[] = "Vireo Version " VIREO_SERIES_TEXT;

int pluginInit() noexcept;
void pluginConfig() noexcept;
void pluginQuit() noexcept;

}  // namespace vireo

extern "C" vireo::PluginRecord* winampGetGeneralPurposePlugin() noexcept;
