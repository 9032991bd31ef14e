#pragma once
// What the pages show for a stored value and what they store for a choice,
// and the Status window's text: plain functions, no windows.h.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "autopause/AutoPauseMode.h"
#include "ui/Resource.h"

namespace vireo {

// Display page: the radio button of each DisplayColor value 0 … 3, in order.
inline constexpr std::array<int, 4> kColourControls{IDC_COLOR_WHITE, IDC_COLOR_BLACK,
                                                    IDC_COLOR_GRAY, IDC_COLOR_RED};

// The radio button that shows a stored DisplayColor; "White" for any value
// outside the table.
int colourControlFor(std::int32_t displayColor) noexcept;

// General page: the Auto-Pause radio button that shows a stored
// EnableAutoPause (Pause, Fade "volume", anything else "Do not use").
int autoPauseControlFor(std::int32_t mode) noexcept;

// The mode for the selected radio button, asked in the order off, volume,
// pause; nothing when none is selected.
std::optional<AutoPauseMode> autoPauseModeFor(bool offSelected, bool volumeSelected,
                                              bool pauseSelected) noexcept;

// The entry of the line list for line 1 … 6: the number after a space.
std::string lineListEntry(int lineNumber);

// Status window: text whose lines end with a line feed, as a multi-line edit
// control shows lines (each ending with CR LF). A CR LF already there stays.
std::string editControlLines(std::string_view text);

}  // namespace vireo
