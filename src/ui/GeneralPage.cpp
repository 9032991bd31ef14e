#include "display/Injection.h"
#include "plugin/Plugin.h"
#include "plugin/Timers.h"
#include "settings/Settings.h"
#include "ui/OptionsWindow.h"
#include "ui/PageChoices.h"
#include "ui/Resource.h"

namespace vireo {

namespace {

// Only a stored 1 means on, so only a 1 shows ticked: a 2 or -1 left in the
// registry shows clear, as the feature behaves, and OK stores 0 for it.
void showOnOff(HWND page, int control, const IntSetting& setting) {
    ::SendDlgItemMessageA(page, control, BM_SETCHECK, setting.isOn() ? BST_CHECKED : BST_UNCHECKED,
                          0);
}

std::int32_t checkState(HWND page, int control) {
    return static_cast<std::int32_t>(::SendDlgItemMessageA(page, control, BM_GETCHECK, 0, 0));
}

std::int32_t fieldNumber(HWND page, int control) {
    // An empty field or a number out of range reads as 0.
    return static_cast<std::int32_t>(::GetDlgItemInt(page, control, nullptr, TRUE));
}

}  // namespace

INT_PTR CALLBACK GeneralPage::dialogProc(HWND dialog, UINT message, WPARAM wParam,
                                         LPARAM) noexcept {
    try {
        switch (message) {
            case WM_INITDIALOG:
                fill(dialog);
                return FALSE;  // no initial focus
            case WM_COMMAND:
                if (LOWORD(wParam) == IDOK) {
                    store(dialog);
                    ::EndDialog(dialog, 0);
                    return TRUE;
                }
                if (LOWORD(wParam) == IDCANCEL) {
                    ::EndDialog(dialog, 0);
                    return TRUE;
                }
                return FALSE;
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

void GeneralPage::fill(HWND page) {
    showOnOff(page, IDC_ENABLE_SCRIPTING, EnableScripting);
    showOnOff(page, IDC_ENABLE_INGAME_DISPLAY, EnableIngameDisplay);
    showOnOff(page, IDC_DELAY_AUTOPAUSE, DelayAutoPause);
    ::SendDlgItemMessageA(page, autoPauseControlFor(EnableAutoPause.read()), BM_SETCHECK,
                          BST_CHECKED, 0);
    ::SetDlgItemInt(page, IDC_FADEIN_TARGET, static_cast<UINT>(FadeinTarget.read()), TRUE);
    ::SetDlgItemInt(page, IDC_FADEOUT_TARGET, static_cast<UINT>(FadeoutTarget.read()), TRUE);
}

void GeneralPage::store(HWND page) {
    EnableScripting.write(checkState(page, IDC_ENABLE_SCRIPTING));
    EnableIngameDisplay.write(checkState(page, IDC_ENABLE_INGAME_DISPLAY));
    DelayAutoPause.write(checkState(page, IDC_DELAY_AUTOPAUSE));
    const auto mode = autoPauseModeFor(checkState(page, IDC_AUTOPAUSE_OFF) == BST_CHECKED,
                                       checkState(page, IDC_AUTOPAUSE_VOLUME) == BST_CHECKED,
                                       checkState(page, IDC_AUTOPAUSE_PAUSE) == BST_CHECKED);
    if (mode) EnableAutoPause.write(*mode);
    FadeinTarget.write(fieldNumber(page, IDC_FADEIN_TARGET));
    FadeoutTarget.write(fieldNumber(page, IDC_FADEOUT_TARGET));
    // The game window may be the same as before, but the hook installer
    // hooks it afresh at its next tick so the game side sees a clean start.
    resetHook();
    rearmTimersFull(pluginRecord.hwndParent);
}

}  // namespace vireo
