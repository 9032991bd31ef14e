#include <array>
#include <string>

#include "plugin/Plugin.h"
#include "plugin/Timers.h"
#include "settings/Settings.h"
#include "ui/OptionsWindow.h"
#include "ui/Resource.h"

namespace vireo {

namespace {

// The script field is read into this many bytes, terminator included, so a
// longer script is stored cut to 8191 characters.
constexpr int kScriptBufferSize = 8192;

}  // namespace

INT_PTR CALLBACK ScriptingPage::dialogProc(HWND dialog, UINT message, WPARAM wParam,
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

void ScriptingPage::fill(HWND page) {
    ::SendDlgItemMessageA(page, IDC_HIGH_UPDATE_FREQUENCY, BM_SETCHECK,
                          HighUpdateFrequency.isOn() ? BST_CHECKED : BST_UNCHECKED, 0);
    ::SendDlgItemMessageA(page, IDC_SCRIPT_IN_ROOT, BM_SETCHECK,
                          PlaceScriptInRoot.isOn() ? BST_CHECKED : BST_UNCHECKED, 0);
    ::SetDlgItemTextA(page, IDC_SCRIPT, Script.read().c_str());
}

void ScriptingPage::store(HWND page) {
    HighUpdateFrequency.write(static_cast<std::int32_t>(
        ::SendDlgItemMessageA(page, IDC_HIGH_UPDATE_FREQUENCY, BM_GETCHECK, 0, 0)));
    PlaceScriptInRoot.write(static_cast<std::int32_t>(
        ::SendDlgItemMessageA(page, IDC_SCRIPT_IN_ROOT, BM_GETCHECK, 0, 0)));
    std::string script(kScriptBufferSize, '\0');
    const UINT length = ::GetDlgItemTextA(page, IDC_SCRIPT, script.data(), kScriptBufferSize);
    script.resize(length);
    Script.write(script);
    rearmTimersShort(pluginRecord.hwndParent);
}

}  // namespace vireo
