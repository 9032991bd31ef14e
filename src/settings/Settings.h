#pragma once
// The nineteen settings, named by their registry value names. They live in
// both processes that load the DLL; each reads the registry at every use.

#include <string>

#include "settings/Setting.h"

namespace vireo {

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

// DisplayLine1 … DisplayLine6 by index 0 … 5.
inline constexpr int kDisplayLineCount = 6;
const StringSetting& displayLineSetting(int index) noexcept;

}  // namespace vireo
