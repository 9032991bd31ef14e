#include "ui/OptionsWindow.h"

#include <shellapi.h>

#include "common/PluginRecord.h"
#include "common/ProcessWide.h"
#include "ui/Resource.h"

namespace vireo {

namespace {

constexpr char kSupportQuestion[] = "Launch default browser to the Vireo support site?";
constexpr char kSupportQuestionCaption[] = "Question";
constexpr char kSupportSiteUrl[] = "http://vireo.example.org/support";

// The options window while it is open (between WM_INITDIALOG and WM_DESTROY).
HWND openOptionsWindow = nullptr;

// Ends every window of this thread that the options window owns: a page, the
// About box, the Status window or the support question, each a modal dialog
// of its own.
BOOL CALLBACK endOwnedDialog(HWND window, LPARAM owner) noexcept {
    if (::GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(owner)) ::EndDialog(window, 0);
    return TRUE;
}

}  // namespace

bool endOptionsWindow() noexcept {
    if (!openOptionsWindow) return false;
    ::EnumThreadWindows(::GetCurrentThreadId(), endOwnedDialog,
                        reinterpret_cast<LPARAM>(openOptionsWindow));
    ::EndDialog(openOptionsWindow, 0);
    return true;
}

INT_PTR CALLBACK optionsWindowProc(HWND dialog, UINT message, WPARAM wParam,
                                   LPARAM lParam) noexcept {
    return OptionsWindow::dialogProc(dialog, message, wParam, lParam);
}

// WM_INITDIALOG only notes the open window; the banner and texts are all
// template.
INT_PTR CALLBACK OptionsWindow::dialogProc(HWND dialog, UINT message, WPARAM wParam,
                                           LPARAM) noexcept {
    try {
        switch (message) {
            case WM_INITDIALOG:
                openOptionsWindow = dialog;
                return FALSE;
            case WM_DESTROY:
                if (openOptionsWindow == dialog) openOptionsWindow = nullptr;
                return FALSE;
            case WM_COMMAND:
                return onCommand(dialog, LOWORD(wParam));
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

// The window has no Cancel: Esc arrives as IDCANCEL and is ignored, so only
// Close, Enter and the title bar close it.
INT_PTR OptionsWindow::onCommand(HWND dialog, int id) {
    switch (id) {
        case IDOK:
            ::EndDialog(dialog, 0);
            return TRUE;
        case IDC_GENERAL:
            openModal(dialog, IDD_GENERAL, GeneralPage::dialogProc);
            return TRUE;
        case IDC_DISPLAY: {
            DisplayPage page;
            openModal(dialog, IDD_DISPLAY, DisplayPage::dialogProc,
                      reinterpret_cast<LPARAM>(&page));
            return TRUE;
        }
        case IDC_SCRIPTING:
            openModal(dialog, IDD_SCRIPTING, ScriptingPage::dialogProc);
            return TRUE;
        case IDC_ABOUT:
            openModal(dialog, IDD_ABOUT, AboutBox::dialogProc);
            return TRUE;
        case IDC_HELP_SITE:
            offerSupportSite(dialog);
            return TRUE;
        case IDC_STATUS: {
            StatusWindow status;
            openModal(dialog, IDD_STATUS, StatusWindow::dialogProc,
                      reinterpret_cast<LPARAM>(&status));
            return TRUE;
        }
        default:
            return FALSE;
    }
}

void OptionsWindow::openModal(HWND owner, int resourceId, DLGPROC procedure, LPARAM page) {
    ::DialogBoxParamA(pluginRecord.hDllInstance, MAKEINTRESOURCEA(resourceId), owner, procedure,
                      page);
}

void OptionsWindow::offerSupportSite(HWND dialog) {
    if (::MessageBoxA(dialog, kSupportQuestion, kSupportQuestionCaption,
                      MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    // A failure to start the browser is not reported.
    ::ShellExecuteA(dialog, "open", kSupportSiteUrl, "", "", SW_SHOWMAXIMIZED);
}

INT_PTR CALLBACK AboutBox::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) noexcept {
    const bool closing =
        (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) ||
        message == WM_CLOSE;
    if (!closing) return FALSE;
    ::EndDialog(dialog, 0);
    return TRUE;
}

}  // namespace vireo
