#pragma once
// How many lines the in-game display has: the settings DisplayLine1 …
// DisplayLine6, the slots of the shared block, the rows drawn in the game and
// the Display page's list all follow from this one number.

#include <cstddef>

namespace vireo {

inline constexpr int kDisplayLineCount = 6;
// A display line holds at most this many characters, plus its terminator:
// the shared block's slots and the Display page's field follow from it.
inline constexpr std::size_t kDisplayLineMaxLength = 255;

}  // namespace vireo
