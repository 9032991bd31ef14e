#pragma once
// The bytes and the place of "Vireo.cfg". Plain text logic, no windows.h.

#include <string>
#include <string_view>

namespace vireo {

inline constexpr std::string_view kScriptFileName = "Vireo.cfg";

// The file is written as a text-mode stream writes it: every line feed
// becomes carriage return and line feed, every other byte is kept, so a
// CR LF in the text becomes CR CR LF.
[[nodiscard]] std::string toTextModeBytes(std::string_view text);

// True for "X:\..." and "\\server\..." paths. The game's directories are
// always absolute; an empty game directory gives a relative path, which would
// land wherever Winamp's current directory happens to be.
[[nodiscard]] bool isAbsoluteDirectory(std::string_view directory) noexcept;

}  // namespace vireo
