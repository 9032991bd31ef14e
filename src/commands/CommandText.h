#pragma once
// Text handling of the command set's arguments and of the help datagram: plain functions,
// no windows.h. The captured line is foreign memory, so every function here
// takes any bytes (high bytes, control characters, no words at all).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "game/ConsoleLine.h"

namespace vireo {

// The command set's split of the rest: the sub-command word up to the first
// blank, and the argument text after it without its leading blanks (blanks
// inside the argument stay, so a file name may hold blanks).
[[nodiscard]] SplitLine splitSubCommand(std::string_view rest);

// Lower-cases the letters A to Z only; every other byte stays as it is.
[[nodiscard]] std::string lowerAscii(std::string_view text);

// Reads a signed decimal integer from the start of the text: leading white
// space skipped, an optional sign, digits up to the first other character.
// No number gives 0; a number beyond the 32-bit range is held at its bound.
[[nodiscard]] std::int32_t readNumber(std::string_view text);

// The out-of-band datagram the game client prints: four 0xFF bytes, "l",
// the text byte for byte, a terminating zero.
[[nodiscard]] std::vector<std::uint8_t> consoleDatagram(std::string_view text);

// The largest datagram Vireo sends the game client, header and terminator
// included; the game's own network buffers take more.
inline constexpr std::size_t kConsoleDatagramLimit = 4096;
// How much text fits a datagram of that many bytes.
[[nodiscard]] std::size_t consoleTextCapacity(std::size_t datagramBytes) noexcept;

}  // namespace vireo
