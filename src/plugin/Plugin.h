#pragma once
// The plug-in's entries: the export Winamp finds, and the three entries it
// calls through the record.

#include "common/PluginRecord.h"

namespace vireo {

inline constexpr char kPluginDescription[] = "Vireo 1.31";
// Caption of the options window (IDD_OPTIONS), found to activate an open one.
inline constexpr char kOptionsWindowCaption[] = "Vireo Version 1.30";

int pluginInit() noexcept;
void pluginConfig() noexcept;
void pluginQuit() noexcept;

}  // namespace vireo

extern "C" vireo::PluginRecord* winampGetGeneralPurposePlugin() noexcept;
