#pragma once
// The lines of a mod's liblist.gam, parsed without touching the file system,
// so the rules can be checked on their own.

#include <string>
#include <string_view>

namespace vireo {

// The longest line that is looked at; the rest of a longer line is skipped.
inline constexpr std::size_t kLiblistLineLimit = 255;

// The quoted value of the first line for the key in the file's text; empty
// when no line has the key.
[[nodiscard]] std::string liblistValueIn(std::string_view file, std::string_view key);

}  // namespace vireo
