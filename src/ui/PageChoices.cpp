#include "ui/PageChoices.h"

#include <cstdio>

namespace vireo {

namespace {
constexpr std::int32_t kAutoPauseOff = 0;
constexpr std::int32_t kAutoPauseVolume = 1;
constexpr std::int32_t kAutoPausePause = 2;
}  // namespace

int colourControlFor(std::int32_t displayColor) noexcept {
    if (displayColor < 0 || displayColor >= static_cast<std::int32_t>(kColourControls.size()))
        return kColourControls[0];
    return kColourControls[static_cast<std::size_t>(displayColor)];
}

int autoPauseControlFor(std::int32_t mode) noexcept {
    switch (mode) {
        case kAutoPauseVolume:
            return IDC_AUTOPAUSE_VOLUME;
        case kAutoPausePause:
            return IDC_AUTOPAUSE_PAUSE;
        default:
            return IDC_AUTOPAUSE_OFF;
    }
}

std::optional<std::int32_t> autoPauseModeFor(bool offSelected, bool volumeSelected,
                                             bool pauseSelected) noexcept {
    if (offSelected) return kAutoPauseOff;
    if (volumeSelected) return kAutoPauseVolume;
    if (pauseSelected) return kAutoPausePause;
    return std::nullopt;
}

std::string lineListEntry(int lineNumber) {
    char entry[16];
    std::snprintf(entry, sizeof entry, " %i", lineNumber);
    return entry;
}

}  // namespace vireo
