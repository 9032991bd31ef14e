#include "player/PlayerControl.h"

namespace vireo {

void PlayerControl::setWindow(HWND handle) noexcept { window_ = ::IsWindow(handle) ? handle : nullptr; }

}  // namespace vireo
