#pragma once
// Volume arithmetic of auto-pause: plain functions, no windows.h.

#include <cstdint>
#include <vector>

namespace vireo {

inline constexpr std::int32_t kFadeStep = 5;      // volume units per step
inline constexpr unsigned kFadeStepDelayMs = 20;  // between two steps
// A fade across Winamp's whole range takes 51 steps; a bound on any fade
// keeps Winamp's window from being held for minutes.
inline constexpr std::size_t kMaxFadeSteps = 64;

// Percent of full volume on Winamp's 0..255 scale, truncated toward zero and
// held to that scale: 120 % fades like 100 % (255), -10 % like 0 %.
[[nodiscard]] std::int32_t fadeVolume(std::int32_t percent);

// A death fades up, a spawn fades down, whatever the two targets say.
enum class FadeDirection { Up, Down };

// The volumes a fade sends: from the start towards the target in steps of 5,
// stopping one step short (the target itself is never sent). Nothing when the
// start is already at or beyond the target in the fade's direction (inverted
// targets send nothing rather than fading the other way).
[[nodiscard]] std::vector<std::int32_t> fadeSteps(std::int32_t from, std::int32_t to,
                                                  FadeDirection direction);

}  // namespace vireo
