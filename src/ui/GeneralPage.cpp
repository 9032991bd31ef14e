#include "display/Injection.h"
#include "common/PluginRecord.h"
#include "common/ProcessWide.h"
#include "common/Timers.h"
#include "settings/Settings.h"
#include "ui/OptionsWindow.h"
#include "ui/PageChoices.h"
#include "ui/PageDialog.h"
#include "ui/Resource.h"

namespace vireo {

INT_PTR CALLBACK GeneralPage::dialogProc(HWND dialog, UINT message, WPARAM wParam,
                                         LPARAM) noexcept {
    GeneralPage page;
    return runPage(page, dialog, message, wParam);
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
    if (mode) EnableAutoPause.write(static_cast<std::int32_t>(*mode));
    FadeinTarget.write(fieldNumber(page, IDC_FADEIN_TARGET));
    FadeoutTarget.write(fieldNumber(page, IDC_FADEOUT_TARGET));
    // The game window may be the same as before, but the hook installer
    // hooks it afresh at its next tick so the game side sees a clean start.
    resetHook();
    rearmTimersFull(pluginRecord.hwndParent);
}

}  // namespace vireo
