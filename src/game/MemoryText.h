#pragma once
// Texts read out of the game's memory, turned into strings without touching
// the game, so the rules can be checked on their own.

#include <array>
#include <cstddef>
#include <string>

#include "game/Landmarks.h"

namespace vireo {

using CapturedLineBuffer = std::array<char, landmarks::kCapturedLineSize>;
using ModNameBuffer = std::array<char, landmarks::kModNameSize>;

// The bytes up to the first NUL, or all of them when there is none.
[[nodiscard]] std::string textUpToNul(const char* bytes, std::size_t count);

// The console line as the game left it in its buffer: the last byte is taken
// as the terminator, the text ends at the first NUL, then trailing line feeds
// and after them trailing blanks are removed (in that order, so a line feed
// followed by blanks keeps its line feed).
[[nodiscard]] std::string capturedLineText(CapturedLineBuffer buffer);

[[nodiscard]] std::string modNameText(const ModNameBuffer& buffer);

}  // namespace vireo
