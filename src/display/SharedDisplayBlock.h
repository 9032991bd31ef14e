#pragma once
// One 256-byte slot per display line in a data section that every process
// mapping this DLL shares: the Winamp side writes the composed lines, the
// game side draws them. No header, counter or lock. After the slots, the game
// side's own report of its last tick, which the Winamp side only reads.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/DisplayLines.h"

namespace vireo {

inline constexpr std::size_t kDisplaySlotCount = kDisplayLineCount;
inline constexpr std::size_t kDisplaySlotSize = std::size_t{kDisplayLineMaxLength} + 1;

// Written by the game side only: at its start, and at every tick that finds
// the game's window. Fixed-width fields, each written whole, so a reader in
// Winamp sees each field from before or after a tick, never half of one.
struct GameSideReport {
    std::uint32_t processId;    // the game that reports; 0: no game side ever started
    std::uint32_t lastTick;     // the timer's tick count at the last tick; 0: none yet
    std::uint8_t tableChecked;  // some tick has checked the engine table
    std::uint8_t tableAccepted; // the last check accepted it
    std::uint8_t rowsPrinted;   // rows given text (not blanked) at the last tick
    std::uint8_t consoleOpen;   // the engine said its console was open
};
static_assert(sizeof(GameSideReport) == 12, "the report's layout is shared with the game");

struct SharedDisplayBlock {
    char lines[kDisplaySlotCount][kDisplaySlotSize];
    GameSideReport gameSide;
};
static_assert(sizeof(SharedDisplayBlock) == kDisplaySlotCount * kDisplaySlotSize + 12,
              "the shared section is the slots and the game side's report, nothing else");

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
