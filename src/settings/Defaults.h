#pragma once
// Registry key, value names and defaults of the nineteen settings. Plain
// constants, no windows.h.

#include <cstdint>
#include <string_view>

#include "VireoVersion.h"

namespace vireo::defaults {

// Fixed at 1.30: it does not follow the plug-in's version text.
inline constexpr std::string_view kKeyPath = "Software\\Oskel\\Vireo\\" VIREO_SERIES_TEXT;

inline constexpr std::string_view kDisplayLine1 = "%DISPLAYNAME%";
inline constexpr std::string_view kDisplayLine2 = "%POS% / %LENGTH%";
inline constexpr std::string_view kDisplayLine3 = "%BITRATE%kbps - %FREQ%khz - %CHANNELS%";
inline constexpr std::string_view kDisplayLine4 = "%TIME% - %SHORTDATE%";
inline constexpr std::string_view kDisplayLine5 = "";
inline constexpr std::string_view kDisplayLine6 = "";
inline constexpr std::int32_t kDisplayColor = 0;
inline constexpr std::int32_t kEnableScripting = 1;
inline constexpr std::int32_t kEnableIngameDisplay = 1;
inline constexpr std::int32_t kEnableAutoPause = 0;
inline constexpr std::int32_t kFadeoutTarget = 25;
inline constexpr std::int32_t kFadeinTarget = 100;
inline constexpr std::int32_t kDelayAutoPause = 0;
inline constexpr std::int32_t kHighUpdateFrequency = 0;
inline constexpr std::int32_t kPlaceScriptInRoot = 0;
inline constexpr std::int32_t kBuilderMode = 0;
inline constexpr std::int32_t kShowGUI = 0;
inline constexpr std::int32_t kStartLine = 11;

// Nine lines joined by CR LF, line 5 empty, no line break after the last,
// which ends after "developer 0" without a closing quote: 716 bytes.
// One source line per line of the text.
// clang-format off
inline constexpr std::string_view kScript =
    "alias Vireo_EchoSong \"developer 1; echo Current Song:; echo %DISPLAYNAME%; developer 0\"\r\n"
    "alias Vireo_EchoDate \"developer 1; echo Current Date:; echo %DATE% (%SHORTDATE%); developer 0\"\r\n"
    "alias Vireo_EchoTime \"developer 1; echo Current Time:; echo %TIME%; developer 0\"\r\n"
    "alias Vireo_EchoDetails \"developer 1; echo ( %DISPLAYNAME% ) - ( %BITRATE%kbps ) - ( %FREQ%khz ) - ( %CHANNELS% ); developer 0\"\r\n"
    "\r\n"
    "alias Vireo_AnnounceSong \"say I'm listening to %DISPLAYNAME% (Vireo)\"\r\n"
    "alias Vireo_AnnounceDate \"say The current date is %DATE%\"\r\n"
    "alias Vireo_AnnounceTime \"say The current time is %TIME%\"\r\n"
    "alias Vireo_AnnounceDetails \"developer 1; say ( %DISPLAYNAME% ) - ( %BITRATE%kbps ) - ( %FREQ%khz ) - ( %CHANNELS% ); developer 0";
// clang-format on
static_assert(kScript.size() == 716, "the default script is 716 bytes");

}  // namespace vireo::defaults
