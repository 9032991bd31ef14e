#pragma once
// The arithmetic and the texts made from Winamp's replies: titles cut from
// the Winamp 3 window text, artist and song split from a title, minutes and
// seconds, the version text, the Winamp 3 bitrate codes, and the jump targets
// of a seek. Plain functions, so they are tested without any window.

#include <cstdint>
#include <string>

namespace vireo {

// A reply's low 16 bits decide the player family.
[[nodiscard]] bool isWinamp3Family(std::uint32_t version) noexcept;

// "%1X.%1X%1X" of the low 16 bits: 0x2091 gives "2.091", 0x3000 "3.00".
[[nodiscard]] std::string versionText(std::uint32_t version);

// "%i:%02i" of seconds / 60 and seconds % 60, both truncating: 3725 gives
// "62:05", -1 gives "0:-1".
[[nodiscard]] std::string minutesSecondsText(std::int32_t seconds);
// Position reply in milliseconds: 61500 gives "1:01", -1 gives "0:00".
[[nodiscard]] std::string positionText(std::int32_t milliseconds);
// Length reply: seconds in the Winamp 2 family, microseconds in Winamp 3;
// -1 (unknown) gives "0:00" in both.
[[nodiscard]] std::string lengthText(std::int32_t reply, bool winamp3);

// Winamp 3 answers the bitrate request with a code: 0 is 96, "112" and
// "192" (three characters, lowest byte first) are 112 and 192, else 128.
[[nodiscard]] int winamp3Bitrate(std::uint32_t reply) noexcept;

// The title in the Winamp 3 "STUDIO" window text, such as
// "7. Artist - Song (1:02) (x)" -> "Artist - Song"; empty without a blank.
[[nodiscard]] std::string studioTitle(const std::string& windowText);
// The part before the first " - "; without one, the part before the first
// "-" less the character in front of it.
[[nodiscard]] std::string artistOf(const std::string& title);
// The part after the first " - "; without one, the part from two characters
// after the first "-", or the whole title without any "-".
[[nodiscard]] std::string songTitleOf(const std::string& title);

// Jump targets, computed as Winamp's 32-bit integers would be: they wrap
// around instead of overflowing.
[[nodiscard]] std::int32_t seekTarget(std::int32_t percent, std::int32_t length) noexcept;
[[nodiscard]] std::int32_t skipTarget(std::int32_t position, std::int32_t seconds) noexcept;
[[nodiscard]] std::int32_t negated(std::int32_t value) noexcept;
// Winamp 3 takes panning as 0..254 where Winamp 2 takes -127..127.
[[nodiscard]] std::int32_t winamp3Panning(std::int32_t value) noexcept;

// True for an http:// or https:// address, in any letter case.
[[nodiscard]] bool isStreamAddress(const std::string& name) noexcept;
// The name a Load hands over: a file or folder name without its trailing
// backslashes and slashes ("C:\Music\" gives "C:\Music"). A drive's root
// ("C:\", "C:/") and a stream address stay as typed.
[[nodiscard]] std::string loadName(const std::string& name);

}  // namespace vireo
