#include "autopause/Fade.h"

namespace vireo {

std::int32_t fadeVolume(std::int32_t percent) {
    return static_cast<std::int32_t>(std::int64_t{percent} * 255 / 100);
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
