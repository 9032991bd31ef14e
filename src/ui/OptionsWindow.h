#pragma once
// The options window (IDD_OPTIONS), its three pages, the About box and the
// Status window. Each is a modal dialog with no state of its own beyond its
// controls, except the Display page and the Status window, objects that live
// while their dialog is open; the other classes only group one dialog's
// procedure with the handlers it dispatches to.

#include <windows.h>

#include <array>
#include <string>

#include "common/DisplayLines.h"

namespace vireo {

// The options window's procedure, run by the configuration entry.
INT_PTR CALLBACK optionsWindowProc(HWND dialog, UINT message, WPARAM wParam,
                                   LPARAM lParam) noexcept;
// Ends the open options window and whatever it has open over it (a page,
// the About box, the Status window, the support question), as Cancel would;
// answers whether an options window was open. Called on the thread that runs
// the window.
bool endOptionsWindow() noexcept;

// IDD_OPTIONS: a banner, four explanations, buttons for the pages, the About
// box, the support site, the Status window and Close.
class OptionsWindow {
public:
    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;

private:
    static INT_PTR onCommand(HWND dialog, int id);
    static void openModal(HWND owner, int resourceId, DLGPROC procedure, LPARAM page = 0);
    static void offerSupportSite(HWND dialog);
};

// IDD_STATUS: the status report's lines, composed afresh every second while
// the window is open; Copy puts them on the clipboard, Close and Esc end it.
// The options window makes one object for each opening and passes it with
// WM_INITDIALOG.
class StatusWindow {
public:
    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;

private:
    INT_PTR onMessage(HWND dialog, UINT message, WPARAM wParam);
    void refresh(HWND dialog);

    // The text the edit control holds, in its CR LF lines.
    std::string shown_;
};

// IDD_ABOUT.
class AboutBox {
public:
    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
};

// IDD_GENERAL: scripting and in-game display on or off, and Auto-Pause.
class GeneralPage {
public:
    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    // Run by runPage (PageDialog.h).
    static void fill(HWND page);
    static void store(HWND page);
    static INT_PTR onCommand(HWND, int, int) { return FALSE; }
};

// IDD_SCRIPTING: how often and where the script is written, and its template.
class ScriptingPage {
public:
    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    // Run by runPage (PageDialog.h).
    static void fill(HWND page);
    static void store(HWND page);
    static INT_PTR onCommand(HWND, int, int) { return FALSE; }
};

// IDD_DISPLAY: the display line templates, the colour and the start line.
// One edit field serves the line chosen in the list; the working copy keeps
// the edits of every line until OK stores them all. The options window makes
// one page object for each opening and passes it with WM_INITDIALOG, so each
// opening starts from the settings and nothing is carried to the next.
class DisplayPage {
public:
    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    // Run by runPage (PageDialog.h).
    void fill(HWND page);
    void store(HWND page);
    // The line list's selection and the line field's edits.
    INT_PTR onCommand(HWND page, int id, int code);

private:
    void showSelectedLine(HWND page);
    void keepEditedLine(HWND page);

    // Entry i is the text of DisplayLine(i + 1) as edited so far.
    std::array<std::string, kDisplayLineCount> workingCopy_;
};

}  // namespace vireo
