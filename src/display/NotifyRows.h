#pragma once
// What the game-side display hands to the engine for each line: the notify
// record the engine's print entry takes, its colour and its row. Plain code,
// no windows.h.

#include <cstdint>

namespace vireo {

// The engine's notify record, passed by address to its print entry. The
// layout is the engine's: five 32-bit fields.
struct NotifyRecord {
    std::int32_t row;
    float timeToLive;  // seconds the engine keeps the row on screen
    float red;
    float green;
    float blue;
};
static_assert(sizeof(NotifyRecord) == 20, "the engine's notify record is 20 bytes");

// A row lives a little longer than kGameDisplayPeriodMs, the time between
// draws, so a shown line is printed again before it expires.
inline constexpr float kNotifyTimeToLive = 1.5f;
// One row stays free between two lines.
inline constexpr std::int32_t kNotifyRowStep = 2;

// DisplayColor as the Display page offers it.
enum class DisplayColour : std::int32_t { White = 0, Black = 1, Gray = 2, Red = 3 };

struct NotifyColour {
    float red;
    float green;
    float blue;
};

// The colour of a DisplayColor value; anything outside 0 to 3 is white.
[[nodiscard]] NotifyColour notifyColour(std::int32_t displayColor) noexcept;

// The row of line `index` (0 for the first line) when the first is at
// `startLine`. StartLine is not checked; the sum wraps in 32 bits like the
// engine's own row field instead of overflowing.
[[nodiscard]] std::int32_t notifyRow(std::int32_t startLine, int index) noexcept;

// The record for line `index`.
[[nodiscard]] NotifyRecord notifyRecord(std::int32_t startLine, std::int32_t displayColor,
                                        int index) noexcept;

}  // namespace vireo
