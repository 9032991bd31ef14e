#include <cstring>
#include <string>

#include "commands/StatusReport.h"
#include "common/Timers.h"
#include "common/UniqueResource.h"
#include "ui/OptionsWindow.h"
#include "ui/PageChoices.h"
#include "ui/Resource.h"

namespace vireo {

namespace {

// Another program (a clipboard viewer, say) may hold the clipboard for a
// moment: Copy tries again a few times, for at most about 50 ms in all.
constexpr int kClipboardAttempts = 5;
constexpr DWORD kClipboardRetryMs = 10;

// Puts the text on the clipboard as CF_TEXT. The memory is the clipboard's
// once SetClipboardData takes it, and freed here on every other path.
void copyToClipboard(HWND owner, const std::string& text) noexcept {
    UniqueGlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
    if (!memory) return;
    void* bytes = ::GlobalLock(memory.get());
    if (!bytes) return;
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    ::GlobalUnlock(memory.get());
    for (int attempt = 1;; ++attempt) {
        const ClipboardSession clipboard(owner);
        if (clipboard.opened()) {
            if (::EmptyClipboard() && ::SetClipboardData(CF_TEXT, memory.get()))
                (void)memory.release();
            return;
        }
        if (attempt == kClipboardAttempts) return;
        ::Sleep(kClipboardRetryMs);
    }
}

}  // namespace

// The window object arrives with WM_INITDIALOG and is kept in the dialog's
// user data; the few messages before it are left to the dialog manager.
INT_PTR CALLBACK StatusWindow::dialogProc(HWND dialog, UINT message, WPARAM wParam,
                                          LPARAM lParam) noexcept {
    try {
        if (message == WM_INITDIALOG) ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        auto* window = reinterpret_cast<StatusWindow*>(::GetWindowLongPtrA(dialog, DWLP_USER));
        if (!window) return FALSE;
        return window->onMessage(dialog, message, wParam);
    } catch (...) {
        return FALSE;
    }
}

// Winamp's thread runs this window's loop, which goes on dispatching
// Winamp's own messages and the plug-in's timers; the report is composed
// from what the timers noted, so a refresh costs Winamp no wait.
INT_PTR StatusWindow::onMessage(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_INITDIALOG:
            refresh(dialog);
            ::SetTimer(dialog, kStatusRefreshTimerId, kStatusRefreshPeriodMs, nullptr);
            // Focus on Close, not in the text, which would show it all selected.
            ::SetFocus(::GetDlgItem(dialog, IDCANCEL));
            return FALSE;
        case WM_TIMER:
            if (wParam != kStatusRefreshTimerId) return FALSE;
            refresh(dialog);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_COPY_STATUS:
                    copyToClipboard(dialog, shown_);
                    return TRUE;
                case IDOK:  // Enter in the text
                case IDCANCEL:
                    ::EndDialog(dialog, 0);
                    return TRUE;
                default:
                    return FALSE;
            }
        case WM_CLOSE:
            ::EndDialog(dialog, 0);
            return TRUE;
        case WM_DESTROY:
            ::KillTimer(dialog, kStatusRefreshTimerId);
            return FALSE;
        default:
            return FALSE;
    }
}

// An unchanged report leaves the control alone, so the player's selection
// and scroll position stay; a changed one keeps them as far as the new text
// reaches.
void StatusWindow::refresh(HWND dialog) {
    std::string text = editControlLines(statusReport(StatusForm::Window));
    if (text == shown_) return;
    DWORD selectionStart = 0, selectionEnd = 0;
    ::SendDlgItemMessageA(dialog, IDC_STATUS_TEXT, EM_GETSEL,
                          reinterpret_cast<WPARAM>(&selectionStart),
                          reinterpret_cast<LPARAM>(&selectionEnd));
    const LRESULT topLine =
        ::SendDlgItemMessageA(dialog, IDC_STATUS_TEXT, EM_GETFIRSTVISIBLELINE, 0, 0);
    ::SetDlgItemTextA(dialog, IDC_STATUS_TEXT, text.c_str());
    ::SendDlgItemMessageA(dialog, IDC_STATUS_TEXT, EM_SETSEL, selectionStart, selectionEnd);
    const LRESULT nowTop =
        ::SendDlgItemMessageA(dialog, IDC_STATUS_TEXT, EM_GETFIRSTVISIBLELINE, 0, 0);
    ::SendDlgItemMessageA(dialog, IDC_STATUS_TEXT, EM_LINESCROLL, 0, topLine - nowTop);
    shown_ = std::move(text);
}

}  // namespace vireo
