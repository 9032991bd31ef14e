#include "display/SharedDisplayBlock.h"

#include <cstring>

namespace vireo {

void storeDisplayLine(char (&slot)[kDisplaySlotSize], std::string_view text) noexcept {
    // A longer line is cut rather than spilled into the next slot.
    const std::size_t length =
        text.size() < kDisplayLineMaxLength ? text.size() : kDisplayLineMaxLength;
    if (length != 0) std::memcpy(slot, text.data(), length);
    slot[length] = '\0';
}

void clearDisplayLines(SharedDisplayBlock& block) noexcept {
    for (auto& slot : block.lines) storeDisplayLine(slot, {});
}

}  // namespace vireo
