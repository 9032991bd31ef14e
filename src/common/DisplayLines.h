#pragma once
// How many lines the in-game display has: the settings DisplayLine1 …
// DisplayLine6, the slots of the shared block, the rows drawn in the game and
// the Display page's list all follow from this one number.

namespace vireo {

inline constexpr int kDisplayLineCount = 6;

}  // namespace vireo
