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

// The bytes in movable memory for the clipboard; null when there is none.
UniqueGlobalMemory clipboardMemory(const void* data, std::size_t size) noexcept {
    UniqueGlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, size));
    if (!memory) return memory;
    void* bytes = ::GlobalLock(memory.get());
    if (!bytes) return UniqueGlobalMemory{};
    std::memcpy(bytes, data, size);
    ::GlobalUnlock(memory.get());
    return memory;
}

// The text in UTF-16 from the ANSI code page, which the report's paths and
// Windows' own messages are in, with its terminating zero.
UniqueGlobalMemory unicodeMemory(const std::string& text) noexcept {
    const int size = static_cast<int>(text.size() + 1);
    const int units = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), size, nullptr, 0);
    if (units <= 0) return UniqueGlobalMemory{};
    UniqueGlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, units * sizeof(wchar_t)));
    if (!memory) return memory;
    auto* wide = static_cast<wchar_t*>(::GlobalLock(memory.get()));
    if (!wide) return UniqueGlobalMemory{};
    const int written = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), size, wide, units);
    ::GlobalUnlock(memory.get());
    if (written != units) return UniqueGlobalMemory{};
    return memory;
}

// Puts the text on the clipboard as CF_TEXT and CF_UNICODETEXT: left to
// itself, Windows would make the Unicode form with the keyboard layout's code
// page, which garbles a path in another one. Each memory is the clipboard's
// once SetClipboardData takes it, and freed here on every other path.
void copyToClipboard(HWND owner, const std::string& text) noexcept {
    UniqueGlobalMemory ansi = clipboardMemory(text.c_str(), text.size() + 1);
    if (!ansi) return;
    UniqueGlobalMemory unicode = unicodeMemory(text);
    for (int attempt = 1;; ++attempt) {
        const ClipboardSession clipboard(owner);
        if (clipboard.opened()) {
            if (!::EmptyClipboard()) return;
            // The Unicode form first: a reader that takes the first text
            // format it meets takes the one that keeps every character.
            if (unicode && ::SetClipboardData(CF_UNICODETEXT, unicode.get()))
                (void)unicode.release();
            if (::SetClipboardData(CF_TEXT, ansi.get())) (void)ansi.release();
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
                    // The report of this moment, which the window then shows too.
                    refresh(dialog);
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
// reaches. While the player drags a selection (the edit holds the mouse),
// nothing is touched: Copy composes its own report anyway.
void StatusWindow::refresh(HWND dialog) {
    if (::GetCapture() == ::GetDlgItem(dialog, IDC_STATUS_TEXT)) return;
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
