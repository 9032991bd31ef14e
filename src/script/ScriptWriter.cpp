#include "script/ScriptWriter.h"

namespace vireo {

void CALLBACK scriptWriterTick(HWND, UINT, UINT_PTR, DWORD) noexcept {}

}  // namespace vireo
