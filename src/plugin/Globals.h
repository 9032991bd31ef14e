#pragma once
// The process-wide objects, all defined in Globals.cpp so that they are built
// in one fixed order at module initialisation and destroyed in reverse.

#include <array>
#include <string>

namespace vireo {

class GameLink;
class PlayerControl;

extern GameLink gameLink;
extern PlayerControl playerControl;
extern const std::string pluginDescription;
// The Display page's working copy of the six line texts.
extern std::array<std::string, 6> displayWorkingCopy;

}  // namespace vireo
