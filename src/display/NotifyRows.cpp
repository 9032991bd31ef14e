#include "display/NotifyRows.h"

namespace vireo {

NotifyColour notifyColour(std::int32_t displayColor) noexcept {
    switch (static_cast<DisplayColour>(displayColor)) {
        // Not black: a dark gray that still reads on a dark game screen.
        case DisplayColour::Black:
            return {0.4f, 0.4f, 0.4f};
        case DisplayColour::Gray:
            return {0.8f, 0.8f, 0.8f};
        // Labelled "Red" on the Display page, but drawn with full green too.
        case DisplayColour::Red:
            return {1.0f, 1.0f, 0.0f};
        case DisplayColour::White:
        default:
            return {1.0f, 1.0f, 1.0f};
    }
}

std::int32_t notifyRow(std::int32_t startLine, int index) noexcept {
    const std::uint32_t row =
        static_cast<std::uint32_t>(startLine) +
        static_cast<std::uint32_t>(kNotifyRowStep) * static_cast<std::uint32_t>(index);
    return static_cast<std::int32_t>(row);
}

NotifyRecord notifyRecord(std::int32_t startLine, std::int32_t displayColor, int index) noexcept {
    const NotifyColour colour = notifyColour(displayColor);
    return NotifyRecord{notifyRow(startLine, index), kNotifyTimeToLive, colour.red, colour.green,
                        colour.blue};
}

}  // namespace vireo
