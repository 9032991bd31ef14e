// The Status window opened from the options window: the report's lines as
// its text shows them, refreshed while it is open, Copy and Esc.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "system/display/DisplayRig.h"
#include "system/ui/DialogDriver.h"
#include "ui/Resource.h"

namespace vireo::test {
namespace {

// The first line of CR LF lines that starts with the subject, without its
// line break; "" when there is none.
std::string lineAbout(const std::string& text, const std::string& subject) {
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find("\r\n", start), text.size());
        if (text.compare(start, subject.size(), subject) == 0)
            return text.substr(start, end - start);
        start = end + 2;
    }
    return "";
}

// Both forms of the clipboard's text, and the first format it enumerates:
// Windows (and Wine) enumerate a format made from another after those set.
struct ClipboardTexts {
    std::string ansi;
    std::wstring unicode;
    UINT firstFormat = 0;
};

template <typename Char>
std::basic_string<Char> clipboardData(UINT format) {
    std::basic_string<Char> text;
    if (HANDLE data = ::GetClipboardData(format)) {
        if (const Char* bytes = static_cast<const Char*>(::GlobalLock(data))) {
            text = bytes;
            ::GlobalUnlock(data);
        }
    }
    return text;
}

std::optional<ClipboardTexts> clipboardTexts() {
    if (!::OpenClipboard(nullptr)) return std::nullopt;
    ClipboardTexts texts;
    texts.firstFormat = ::EnumClipboardFormats(0);
    texts.ansi = clipboardData<char>(CF_TEXT);
    texts.unicode = clipboardData<wchar_t>(CF_UNICODETEXT);
    ::CloseClipboard();
    return texts;
}

void emptyClipboard() {
    if (!::OpenClipboard(nullptr)) return;
    ::EmptyClipboard();
    ::CloseClipboard();
}

// Polled on the driver thread, which has no messages to pump.
bool waitFor(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

// Opened with no game, the window says so; a game started while it is open
// appears within a refresh; Copy puts the very text shown on the clipboard,
// and Esc closes the window, leaving the options window open.
TEST(StatusWindowTest, ShowsTheGameAsItComesCopiesTheTextAndClosesWithEsc) {
    deleteSettingsKey();
    OptionsSession session;
    ASSERT_TRUE(session.plugin().loaded());
    FakeGameProcess game(gameNamed("hl.exe"));
    std::string withoutGame, withGame, afterCopy, beforeDrag, duringDrag, afterDrag;
    ClipboardTexts copied;
    bool gameStarted = false, optionsOpenAfterEsc = false;
    std::pair<DWORD, DWORD> selection;
    const std::string failure = session.configure([&] {
        Dialog options = waitForDialog(kOptionsCaption);
        options.click(IDC_STATUS);
        Dialog status = waitForDialog(kStatusCaption);
        if (::GetWindow(status.handle(), GW_OWNER) != options.handle())
            throw DriverFailure("the options window does not own the Status window");
        withoutGame = status.text(IDC_STATUS_TEXT);
        gameStarted = game.start();
        if (gameStarted) waitFor([&] { return status.text(IDC_STATUS_TEXT) != withoutGame; });
        withGame = status.text(IDC_STATUS_TEXT);
        // The player's selection outlives a refresh that changes the text
        // (the seconds since the game's last tick, say).
        ::SendMessageA(status.item(IDC_STATUS_TEXT), EM_SETSEL, 0, 6);
        waitFor([&] { return status.text(IDC_STATUS_TEXT) != withGame; });
        ::SendMessageA(status.item(IDC_STATUS_TEXT), EM_GETSEL,
                       reinterpret_cast<WPARAM>(&selection.first),
                       reinterpret_cast<LPARAM>(&selection.second));
        // A selection being dragged: the edit holds the mouse, and the text
        // stays as it is though the seconds go on; let go, it refreshes again.
        const HWND edit = status.item(IDC_STATUS_TEXT);
        ::PostMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        waitFor([&] {  // the click puts the caret at the start, ending the old selection
            DWORD start = 0, end = 0;
            ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                           reinterpret_cast<LPARAM>(&end));
            return std::pair<DWORD, DWORD>{start, end} != selection;
        });
        beforeDrag = status.text(IDC_STATUS_TEXT);
        std::this_thread::sleep_for(2500ms);
        duringDrag = status.text(IDC_STATUS_TEXT);
        ::PostMessageA(edit, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
        waitFor([&] { return status.text(IDC_STATUS_TEXT) != duringDrag; });
        afterDrag = status.text(IDC_STATUS_TEXT);
        emptyClipboard();
        status.click(IDC_COPY_STATUS);
        // Asked without opening the clipboard, which the window's Copy needs.
        waitFor([] { return ::IsClipboardFormatAvailable(CF_TEXT) != FALSE; });
        copied = clipboardTexts().value_or(ClipboardTexts{});
        afterCopy = status.text(IDC_STATUS_TEXT);
        status.key(VK_ESCAPE);
        status.waitClosed();
        optionsOpenAfterEsc = dialogOpen(kOptionsCaption);
        options.click(IDOK);
        options.waitClosed();
    });
    EXPECT_EQ(failure, "");
    ASSERT_TRUE(gameStarted) << game.failure();
    EXPECT_EQ(lineAbout(withoutGame, "Game: "), "Game: not running.") << withoutGame;
    const std::string gameLine = lineAbout(withGame, "Game: ");
    EXPECT_NE(gameLine.find("hl.exe"), std::string::npos) << withGame;
    EXPECT_NE(lineAbout(withGame, "Winamp: "), "") << withGame;
    // Every line ends with CR LF, as the edit control shows lines.
    for (std::size_t at = withGame.find('\n'); at != std::string::npos;
         at = withGame.find('\n', at + 1))
        EXPECT_TRUE(at > 0 && withGame[at - 1] == '\r') << at;
    EXPECT_EQ(beforeDrag, duringDrag);
    EXPECT_NE(afterDrag, duringDrag);
    // Copy shows and copies the report of its moment, in both forms; the
    // Unicode one set by Copy itself, not made by the system from the other.
    // A timer's refresh may come between, changing only the seconds.
    const auto withoutDigits = [](std::string text) {
        text.erase(std::remove_if(text.begin(), text.end(), ::isdigit), text.end());
        return text;
    };
    EXPECT_EQ(withoutDigits(copied.ansi), withoutDigits(afterCopy));
    EXPECT_EQ(copied.unicode, std::wstring(copied.ansi.begin(), copied.ansi.end()));
    EXPECT_EQ(copied.firstFormat, static_cast<UINT>(CF_UNICODETEXT));
    EXPECT_EQ(selection, (std::pair<DWORD, DWORD>{0, 6}));
    EXPECT_TRUE(optionsOpenAfterEsc);
}

}  // namespace
}  // namespace vireo::test
