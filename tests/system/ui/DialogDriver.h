#pragma once
// Drives the options window the way a user would, from a second thread.
//
// The configuration entry runs the options window's modal loop on the thread
// that calls it, and the pages set their timers on the host window, which
// only its own thread may do. So the test's main thread owns the host window
// and calls configure; a driver thread finds the dialogs by caption and
// works their controls with messages, which the modal loops dispatch.

#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>

#include "support/TestSupport.h"

namespace vireo::test {

inline constexpr char kOptionsCaption[] = "Vireo Version 1.30";
inline constexpr char kGeneralCaption[] = "General";
inline constexpr char kDisplayCaption[] = "Display";
inline constexpr char kScriptingCaption[] = "Scripting";
inline constexpr char kAboutCaption[] = "About";
inline constexpr char kStatusCaption[] = "Status";

// Thrown on the driver thread when a dialog does not appear or close in time.
struct DriverFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Used on the driver thread only.
class Dialog {
public:
    explicit Dialog(HWND window) : window_(window) {}
    [[nodiscard]] HWND handle() const { return window_; }
    [[nodiscard]] HWND item(int id) const;

    // WM_COMMAND as a click on the button would send it (posted: a button
    // that opens a modal page must not block the driver).
    void click(int id) const;
    // BM_CLICK: a real click, so an automatic radio button clears the others
    // of its group.
    void press(int id) const;
    void setCheck(int id, bool checked) const;
    [[nodiscard]] bool checked(int id) const;
    // WM_SETTEXT, then the EN_CHANGE a typed change would notify.
    void type(int id, const std::string& text) const;
    [[nodiscard]] std::string text(int id) const;
    // CB_SETCURSEL and the CBN_SELCHANGE a user's choice would notify.
    void selectListEntry(int id, int index) const;
    [[nodiscard]] int listSelection(int id) const;
    [[nodiscard]] std::string listEntry(int id, int index) const;
    [[nodiscard]] int listCount(int id) const;
    void key(WPARAM virtualKey) const;  // posted WM_KEYDOWN, as the keyboard would
    void close() const;                 // WM_CLOSE, the title bar's close button
    void waitClosed() const;

private:
    HWND window_;
};

// The top-level dialog with this caption once it is shown (so after its
// WM_INITDIALOG); throws DriverFailure after a few seconds.
Dialog waitForDialog(const char* caption);
// Whether a dialog with this caption is open now.
bool dialogOpen(const char* caption);
int countTopLevelWindows(const char* caption);
// Whether a child of the window shows exactly this text.
bool hasChildWithText(HWND window, const std::string& text);

// gen_vireo.dll loaded and initialised on this thread with a host window,
// as Winamp does.
class OptionsSession {
public:
    OptionsSession();
    ~OptionsSession();
    OptionsSession(const OptionsSession&) = delete;
    OptionsSession& operator=(const OptionsSession&) = delete;

    [[nodiscard]] HWND host() const { return host_.handle(); }
    [[nodiscard]] LoadedPlugin& plugin() { return plugin_; }
    // Calls the configuration entry on this thread while `driver` runs on
    // another; returns when both are done. A driver that fails closes every
    // dialog it can find so that configure returns, and its failure is
    // answered here ("" when it succeeded).
    std::string configure(const std::function<void()>& driver);
    // Whether the numbered timer runs on the host window; stops it if so.
    bool takeTimer(UINT_PTR id);

private:
    HostWindow host_;
    LoadedPlugin plugin_;
};

}  // namespace vireo::test
