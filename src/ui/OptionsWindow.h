#pragma once
// The options window (dialog 101), its three pages and the About box. Each
// is a modal dialog with no state of its own beyond its controls (and the
// Display page's working copy); a class here only groups one dialog's
// procedure with the handlers it dispatches to.

#include <windows.h>

namespace vireo {

// The options window's procedure, run by the configuration entry.
INT_PTR CALLBACK optionsWindowProc(HWND dialog, UINT message, WPARAM wParam,
                                   LPARAM lParam) noexcept;

// Dialog 101: a banner, four explanations, buttons for the pages, the About
// box, the support site and Close.
class OptionsWindow {
public:
    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;

private:
    static INT_PTR onCommand(HWND dialog, int id);
    static void openModal(HWND owner, int resourceId, DLGPROC procedure);
    static void offerSupportSite(HWND dialog);
};

// Dialog 107.
class AboutBox {
public:
    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
};

// Dialog 113: scripting and in-game display on or off, and Auto-Pause.
class GeneralPage {
public:
    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    // Run by runPage (PageDialog.h).
    static void fill(HWND page);
    static void store(HWND page);
    static INT_PTR onCommand(HWND, int, int) { return FALSE; }
};

// Dialog 111: how often and where the script is written, and its template.
class ScriptingPage {
public:
    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    // Run by runPage (PageDialog.h).
    static void fill(HWND page);
    static void store(HWND page);
    static INT_PTR onCommand(HWND, int, int) { return FALSE; }
};

// Dialog 112: the six display line templates, the colour and the start line.
// One edit field serves the line chosen in the list; the working copy keeps
// the edits of every line until OK stores all six.
class DisplayPage {
public:
    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    // Run by runPage (PageDialog.h).
    static void fill(HWND page);
    static void store(HWND page);
    // The line list's selection and the line field's edits.
    static INT_PTR onCommand(HWND page, int id, int code);

private:
    static void showSelectedLine(HWND page);
    static void keepEditedLine(HWND page);
};

}  // namespace vireo
