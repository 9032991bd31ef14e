#pragma once
// Blank trimming shared by the console-line and liblist.gam readers. Only the
// blank (0x20) counts: the game's console and liblist.gam use no other.
// Plain, no windows.h.

#include <cstddef>
#include <string_view>

namespace vireo {

inline constexpr char kBlank = ' ';

[[nodiscard]] inline std::string_view trimBlanks(std::string_view text) noexcept {
    const std::size_t first = text.find_first_not_of(kBlank);
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(kBlank);
    return text.substr(first, last - first + 1);
}

}  // namespace vireo
