#include <string>

#include "settings/Settings.h"
#include "ui/OptionsWindow.h"
#include "ui/PageChoices.h"
#include "ui/PageDialog.h"
#include "ui/Resource.h"

namespace vireo {

namespace {

// The line field is read into this many bytes, terminator included.
constexpr int kLineBufferSize = static_cast<int>(kDisplayLineMaxLength) + 1;

// The working entry the list has selected, or -1 while nothing is selected.
int selectedLine(HWND page) {
    const LRESULT index = ::SendDlgItemMessageA(page, IDC_LINE_NUMBER, CB_GETCURSEL, 0, 0);
    if (index < 0 || index >= kDisplayLineCount) return -1;
    return static_cast<int>(index);
}

}  // namespace

// The page object arrives with WM_INITDIALOG and is kept in the dialog's
// user data; the few messages before it are left to the dialog manager.
INT_PTR CALLBACK DisplayPage::dialogProc(HWND dialog, UINT message, WPARAM wParam,
                                         LPARAM lParam) noexcept {
    if (message == WM_INITDIALOG) ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    auto* page = reinterpret_cast<DisplayPage*>(::GetWindowLongPtrA(dialog, DWLP_USER));
    if (!page) return FALSE;
    return runPage(*page, dialog, message, wParam);
}

INT_PTR DisplayPage::onCommand(HWND page, int id, int code) {
    if (id == IDC_LINE_NUMBER && code == CBN_SELCHANGE) {
        showSelectedLine(page);
        return TRUE;
    }
    if (id == IDC_LINE_TEXT && code == EN_CHANGE) {
        keepEditedLine(page);
        return TRUE;
    }
    return FALSE;
}

void DisplayPage::fill(HWND page) {
    for (int i = 0; i < kDisplayLineCount; ++i)
        workingCopy_[static_cast<std::size_t>(i)] = displayLineSetting(i).read();
    for (int number = 1; number <= kDisplayLineCount; ++number)
        ::SendDlgItemMessageA(page, IDC_LINE_NUMBER, CB_ADDSTRING, 0,
                              reinterpret_cast<LPARAM>(lineListEntry(number).c_str()));
    ::SendDlgItemMessageA(page, IDC_LINE_NUMBER, CB_SETCURSEL, 0, 0);
    // Setting the text notifies EN_CHANGE, which copies the field (cut to
    // kDisplayLineMaxLength characters) back into entry 0.
    ::SetDlgItemTextA(page, IDC_LINE_TEXT, workingCopy_[0].c_str());
    ::SendDlgItemMessageA(page, colourControlFor(DisplayColor.read()), BM_SETCHECK, BST_CHECKED, 0);
    ::SetDlgItemInt(page, IDC_START_LINE, static_cast<UINT>(StartLine.read()), TRUE);
}

void DisplayPage::showSelectedLine(HWND page) {
    const int line = selectedLine(page);
    if (line < 0) return;
    ::SetDlgItemTextA(page, IDC_LINE_TEXT, workingCopy_[static_cast<std::size_t>(line)].c_str());
}

void DisplayPage::keepEditedLine(HWND page) {
    char text[kLineBufferSize] = {};
    const UINT length = ::GetDlgItemTextA(page, IDC_LINE_TEXT, text, kLineBufferSize);
    const int line = selectedLine(page);
    if (line < 0) return;
    workingCopy_[static_cast<std::size_t>(line)].assign(text, length);
}

void DisplayPage::store(HWND page) {
    StartLine.write(fieldNumber(page, IDC_START_LINE));
    for (int i = 0; i < kDisplayLineCount; ++i)
        displayLineSetting(i).write(workingCopy_[static_cast<std::size_t>(i)]);
    DisplayColor.write(0);
    for (std::size_t i = 0; i < kColourControls.size(); ++i) {
        if (::SendDlgItemMessageA(page, kColourControls[i], BM_GETCHECK, 0, 0) == BST_CHECKED) {
            DisplayColor.write(static_cast<std::int32_t>(i));
            break;
        }
    }
}

}  // namespace vireo
