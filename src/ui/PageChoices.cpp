#include "ui/PageChoices.h"

#include <cstdio>

namespace vireo {

int colourControlFor(std::int32_t displayColor) noexcept {
    if (displayColor < 0 || displayColor >= static_cast<std::int32_t>(kColourControls.size()))
        return kColourControls[0];
    return kColourControls[static_cast<std::size_t>(displayColor)];
}

int autoPauseControlFor(std::int32_t mode) noexcept {
    switch (static_cast<AutoPauseMode>(mode)) {
        case AutoPauseMode::Fade:
            return IDC_AUTOPAUSE_VOLUME;
        case AutoPauseMode::Pause:
            return IDC_AUTOPAUSE_PAUSE;
        default:
            return IDC_AUTOPAUSE_OFF;
    }
}

std::optional<AutoPauseMode> autoPauseModeFor(bool offSelected, bool volumeSelected,
                                              bool pauseSelected) noexcept {
    if (offSelected) return AutoPauseMode::Off;
    if (volumeSelected) return AutoPauseMode::Fade;
    if (pauseSelected) return AutoPauseMode::Pause;
    return std::nullopt;
}

std::string lineListEntry(int lineNumber) {
    char entry[16];
    std::snprintf(entry, sizeof entry, " %i", lineNumber);
    return entry;
}

std::string editControlLines(std::string_view text) {
    std::string lines;
    lines.reserve(text.size() + text.size() / 32);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) lines += '\r';
        lines += text[i];
    }
    return lines;
}

}  // namespace vireo
