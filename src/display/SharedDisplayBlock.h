#pragma once
// One 256-byte slot per display line in a data section that every process
// mapping this DLL shares: the Winamp side writes the composed lines, the
// game side draws them. No header, counter or lock.

#include <cstddef>
#include <string_view>

#include "common/DisplayLines.h"

namespace vireo {

inline constexpr std::size_t kDisplaySlotCount = kDisplayLineCount;
inline constexpr std::size_t kDisplaySlotSize = std::size_t{kDisplayLineMaxLength} + 1;

struct SharedDisplayBlock {
    char lines[kDisplaySlotCount][kDisplaySlotSize];
};
static_assert(sizeof(SharedDisplayBlock) == kDisplaySlotCount * kDisplaySlotSize,
              "the shared section is the slots and nothing else");

// GCC ignores "#pragma data_seg"; the section attribute is what shares it.
#define VIREO_SHARED_SECTION __attribute__((section(".shared"), shared))

extern SharedDisplayBlock sharedDisplayBlock;

// A slot holds kDisplayLineMaxLength characters; its last byte is only ever
// written as zero, so a reader in the game always meets a terminator inside
// the slot, even while the composer is rewriting it.

// Copies the text with its terminating zero into the slot, cut after
// kDisplayLineMaxLength characters.
void storeDisplayLine(char (&slot)[kDisplaySlotSize], std::string_view text) noexcept;

// Empties all six slots. The game side draws what they hold for as long as
// the DLL stays in the game and a Winamp runs with it, so the Winamp side
// empties them whenever nothing will compose them.
void clearDisplayLines(SharedDisplayBlock& block) noexcept;

}  // namespace vireo
