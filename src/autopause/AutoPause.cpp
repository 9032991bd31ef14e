#include "autopause/AutoPause.h"

namespace vireo {

bool rememberedAlive = false;
HWND autoPauseWindow = nullptr;

void CALLBACK autoPauseTick(HWND, UINT, UINT_PTR, DWORD) noexcept {}

}  // namespace vireo
