#include "system/ui/DialogDriver.h"

#include <exception>
#include <thread>
#include <vector>

namespace vireo::test {
namespace {

// Generous: a dialog on a busy machine may take seconds; one that is there
// ends the wait at once.
constexpr auto kAppearTimeout = kPatience;
constexpr auto kPollInterval = 10ms;
constexpr const char* kDialogClass = "#32770";

// The captions of every dialog the options window may have open, innermost
// first, for closing them all after a failed drive.
constexpr const char* kAllCaptions[] = {"Question",        kGeneralCaption, kDisplayCaption,
                                        kScriptingCaption, kAboutCaption,   kStatusCaption,
                                        kOptionsCaption};

void closeEverything() {
    for (int round = 0; round < 200 && dialogOpen(kOptionsCaption); ++round) {
        for (const char* caption : kAllCaptions) {
            if (HWND window = ::FindWindowA(kDialogClass, caption)) {
                ::PostMessageA(window, WM_CLOSE, 0, 0);
                // A message box ignores WM_CLOSE unless it has a Cancel.
                ::PostMessageA(window, WM_COMMAND, IDNO, 0);
                break;
            }
        }
        std::this_thread::sleep_for(50ms);
    }
}

}  // namespace

HWND Dialog::item(int id) const {
    HWND control = ::GetDlgItem(window_, id);
    if (!control) throw DriverFailure("no control " + std::to_string(id));
    return control;
}

void Dialog::click(int id) const {
    ::PostMessageA(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(window_, id)));
}

void Dialog::press(int id) const { ::SendMessageA(item(id), BM_CLICK, 0, 0); }

void Dialog::setCheck(int id, bool checked) const {
    ::SendMessageA(item(id), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Dialog::checked(int id) const {
    return ::SendMessageA(item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Dialog::type(int id, const std::string& text) const {
    HWND control = item(id);
    ::SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    ::SendMessageA(window_, WM_COMMAND, MAKEWPARAM(id, EN_CHANGE),
                   reinterpret_cast<LPARAM>(control));
}

std::string Dialog::text(int id) const {
    HWND control = item(id);
    const auto length = ::SendMessageA(control, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const auto copied =
        ::SendMessageA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

void Dialog::selectListEntry(int id, int index) const {
    HWND control = item(id);
    ::SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageA(window_, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(control));
}

int Dialog::listSelection(int id) const {
    return static_cast<int>(::SendMessageA(item(id), CB_GETCURSEL, 0, 0));
}

std::string Dialog::listEntry(int id, int index) const {
    HWND control = item(id);
    const auto length = ::SendMessageA(control, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) return "<none>";
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    ::SendMessageA(control, CB_GETLBTEXT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

int Dialog::listCount(int id) const {
    return static_cast<int>(::SendMessageA(item(id), CB_GETCOUNT, 0, 0));
}

void Dialog::key(WPARAM virtualKey) const {
    ::PostMessageA(window_, WM_KEYDOWN, virtualKey, 1);
    ::PostMessageA(window_, WM_KEYUP, virtualKey, 0xC0000001);
}

void Dialog::close() const { ::PostMessageA(window_, WM_CLOSE, 0, 0); }

void Dialog::waitClosed() const {
    const auto deadline = std::chrono::steady_clock::now() + kAppearTimeout;
    while (::IsWindow(window_)) {
        if (std::chrono::steady_clock::now() > deadline)
            throw DriverFailure("a dialog did not close");
        std::this_thread::sleep_for(kPollInterval);
    }
}

Dialog waitForDialog(const char* caption) {
    const auto deadline = std::chrono::steady_clock::now() + kAppearTimeout;
    for (;;) {
        HWND window = ::FindWindowA(kDialogClass, caption);
        if (window && ::IsWindowVisible(window)) return Dialog(window);
        if (std::chrono::steady_clock::now() > deadline)
            throw DriverFailure(std::string("no dialog \"") + caption + "\"");
        std::this_thread::sleep_for(kPollInterval);
    }
}

bool dialogOpen(const char* caption) { return ::FindWindowA(kDialogClass, caption) != nullptr; }

namespace {

// Calls visit for each top-level window (parent null) or each child of
// parent until it answers false.
BOOL CALLBACK visitWindow(HWND window, LPARAM param) {
    return (*reinterpret_cast<const std::function<bool(HWND)>*>(param))(window) ? TRUE : FALSE;
}

void forEachWindow(HWND parent, const std::function<bool(HWND)>& visit) {
    const auto param = reinterpret_cast<LPARAM>(&visit);
    if (parent)
        ::EnumChildWindows(parent, visitWindow, param);
    else
        ::EnumWindows(visitWindow, param);
}

std::string windowText(HWND window) {
    char text[512] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

}  // namespace

int countTopLevelWindows(const char* caption) {
    int count = 0;
    forEachWindow(nullptr, [&](HWND window) {
        if (windowText(window) == caption) ++count;
        return true;
    });
    return count;
}

bool hasChildWithText(HWND window, const std::string& text) {
    bool found = false;
    forEachWindow(window, [&](HWND child) {
        found = windowText(child) == text;
        return !found;
    });
    return found;
}

OptionsSession::OptionsSession() {
    if (plugin_.loaded()) plugin_.init(host_.handle());
}

OptionsSession::~OptionsSession() { plugin_.unload(); }

std::string OptionsSession::configure(const std::function<void()>& driver) {
    std::string failure;
    {
        JoiningThread thread([&] {
            try {
                driver();
            } catch (const std::exception& e) {
                failure = e.what();
            } catch (...) {
                failure = "driver failed";
            }
            // A drive that left the window open would keep configure waiting.
            if (failure.empty()) {
                const auto deadline = std::chrono::steady_clock::now() + kAppearTimeout;
                while (dialogOpen(kOptionsCaption) && std::chrono::steady_clock::now() < deadline)
                    std::this_thread::sleep_for(kPollInterval);
                if (dialogOpen(kOptionsCaption)) failure = "the options window stayed open";
            }
            if (!failure.empty()) closeEverything();
        });
        plugin_.config();
    }
    return failure;
}

bool OptionsSession::takeTimer(UINT_PTR id) { return ::KillTimer(host_.handle(), id) != 0; }

}  // namespace vireo::test
