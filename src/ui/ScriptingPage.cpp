#include <array>
#include <string>

#include "common/PluginRecord.h"
#include "common/ProcessWide.h"
#include "common/Timers.h"
#include "settings/Settings.h"
#include "ui/OptionsWindow.h"
#include "ui/PageDialog.h"
#include "ui/Resource.h"

namespace vireo {

namespace {

// The script field is read into this many bytes, terminator included, so a
// longer script is stored cut to 8191 characters.
constexpr int kScriptBufferSize = 8192;

}  // namespace

INT_PTR CALLBACK ScriptingPage::dialogProc(HWND dialog, UINT message, WPARAM wParam,
                                           LPARAM) noexcept {
    ScriptingPage page;
    return runPage(page, dialog, message, wParam);
}

void ScriptingPage::fill(HWND page) {
    showOnOff(page, IDC_HIGH_UPDATE_FREQUENCY, HighUpdateFrequency);
    showOnOff(page, IDC_SCRIPT_IN_ROOT, PlaceScriptInRoot);
    ::SetDlgItemTextA(page, IDC_SCRIPT, Script.read().c_str());
}

void ScriptingPage::store(HWND page) {
    HighUpdateFrequency.write(checkState(page, IDC_HIGH_UPDATE_FREQUENCY));
    PlaceScriptInRoot.write(checkState(page, IDC_SCRIPT_IN_ROOT));
    std::string script(kScriptBufferSize, '\0');
    const UINT length = ::GetDlgItemTextA(page, IDC_SCRIPT, script.data(), kScriptBufferSize);
    script.resize(length);
    Script.write(script);
    rearmTimersShort(pluginRecord.hwndParent);
}

}  // namespace vireo
