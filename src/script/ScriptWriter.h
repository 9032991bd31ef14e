#pragma once
// Keeps "Vireo.cfg" current in the mod (or game) directory.

#include <windows.h>

#include <string>

namespace vireo {

// kScriptWriterTimerId: while a game runs and EnableScripting is 1, rewrites
// the file with the Script setting expanded (console-safe) at this moment.
void CALLBACK scriptWriterTick(HWND, UINT, UINT_PTR, DWORD) noexcept;

}  // namespace vireo
