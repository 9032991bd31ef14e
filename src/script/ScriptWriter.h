#pragma once
// Keeps "Vireo.cfg" current in the mod (or game) directory.

#include <windows.h>

namespace vireo {

void CALLBACK scriptWriterTick(HWND, UINT, UINT_PTR, DWORD) noexcept;

}  // namespace vireo
