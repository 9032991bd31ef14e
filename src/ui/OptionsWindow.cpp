#include "ui/OptionsWindow.h"

namespace vireo {

INT_PTR CALLBACK optionsWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) noexcept {
    if ((message == WM_COMMAND && LOWORD(wParam) == IDOK) || message == WM_CLOSE) {
        ::EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

}  // namespace vireo
