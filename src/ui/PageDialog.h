#pragma once
// What the three option pages share: each fills its controls from the
// settings when it opens, stores them on OK, and ends without storing on
// Cancel, Esc and the title bar's close button.

#include <windows.h>

#include <cstdint>

#include "settings/Setting.h"

namespace vireo {

// Page supplies fill(page), store(page) and onCommand(page, id, code);
// onCommand answers FALSE for a command it leaves to the dialog manager.
template <typename Page>
INT_PTR runPage(Page& page, HWND dialog, UINT message, WPARAM wParam) noexcept {
    try {
        switch (message) {
            case WM_INITDIALOG:
                page.fill(dialog);
                return FALSE;  // no initial focus
            case WM_COMMAND:
                if (LOWORD(wParam) == IDOK) {
                    page.store(dialog);
                    ::EndDialog(dialog, 0);
                    return TRUE;
                }
                if (LOWORD(wParam) == IDCANCEL) {
                    ::EndDialog(dialog, 0);
                    return TRUE;
                }
                return page.onCommand(dialog, LOWORD(wParam), HIWORD(wParam));
            case WM_CLOSE:
                ::EndDialog(dialog, 0);
                return TRUE;
            default:
                return FALSE;
        }
    } catch (...) {
        return FALSE;
    }
}

// Only a stored 1 means on, so only a 1 shows ticked: a 2 or -1 left in the
// registry shows clear, as the feature behaves, and OK stores 0 for it.
inline void showOnOff(HWND page, int control, const IntSetting& setting) noexcept {
    ::SendDlgItemMessageA(page, control, BM_SETCHECK, setting.isOn() ? BST_CHECKED : BST_UNCHECKED,
                          0);
}

inline std::int32_t checkState(HWND page, int control) noexcept {
    return static_cast<std::int32_t>(::SendDlgItemMessageA(page, control, BM_GETCHECK, 0, 0));
}

// A signed number field; an empty field or a number out of range reads as 0.
inline std::int32_t fieldNumber(HWND page, int control) noexcept {
    return static_cast<std::int32_t>(::GetDlgItemInt(page, control, nullptr, TRUE));
}

}  // namespace vireo
