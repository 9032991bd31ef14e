#pragma once
// The values of EnableAutoPause, shared by the auto-pause timer, the
// "autopause" console command and the General page. Plain, no windows.h.

#include <cstdint>

namespace vireo {

// The command stores whatever number it is given, so a stored value may be
// none of these; anything but Fade and Pause acts as Off.
enum class AutoPauseMode : std::int32_t { Off = 0, Fade = 1, Pause = 2 };

}  // namespace vireo
