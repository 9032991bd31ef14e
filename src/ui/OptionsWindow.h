#pragma once
// The options window (dialog 101) and its pages.

#include <windows.h>

namespace vireo {

INT_PTR CALLBACK optionsWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

}  // namespace vireo
