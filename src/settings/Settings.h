#pragma once
// The nineteen settings (declared with the other process-wide objects) and
// what they need to be used.

#include <string>

#include "common/DisplayLines.h"
#include "common/ProcessWide.h"
#include "settings/Setting.h"

namespace vireo {

// DisplayLine1 … DisplayLine6 by index 0 … kDisplayLineCount - 1.
const StringSetting& displayLineSetting(int index) noexcept;

}  // namespace vireo
