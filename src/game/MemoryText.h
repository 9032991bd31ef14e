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

// The mod's folder name as the game keeps it (up to the first NUL, or all
// twenty bytes). A name that is not one folder of the game directory (with a
// path separator or a drive colon, or "." or "..") answers empty, as no mod:
// the mod directory is where Vireo.cfg is written, and it must stay inside
// the game's folder.
[[nodiscard]] std::string modNameText(const ModNameBuffer& buffer);

}  // namespace vireo
