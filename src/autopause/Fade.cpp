#include "autopause/Fade.h"

#include <algorithm>

#include "player/WinampIpc.h"

namespace vireo {

std::int32_t fadeVolume(std::int32_t percent) {
    const std::int64_t volume = std::int64_t{percent} * VOLUME_MAX / 100;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(volume, VOLUME_MIN, VOLUME_MAX));
}

std::vector<std::int32_t> fadeSteps(std::int32_t from, std::int32_t to, FadeDirection direction) {
    std::vector<std::int32_t> steps;
    if (direction == FadeDirection::Up) {
        for (std::int64_t v = from; v < to && steps.size() < kMaxFadeSteps; v += kFadeStep)
            steps.push_back(static_cast<std::int32_t>(v));
    } else {
        for (std::int64_t v = from; v > to && steps.size() < kMaxFadeSteps; v -= kFadeStep)
            steps.push_back(static_cast<std::int32_t>(v));
    }
    return steps;
}

}  // namespace vireo
