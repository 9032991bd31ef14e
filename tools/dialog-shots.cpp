// Opens every dialog of gen_vireo.dll's options window the way Winamp's
// configure command does and saves a picture of each, as 24-bit BMP files in
// the current directory. Run by tools/screenshots under a real display
// (Wine's x11 driver on Xvfb); not a test.
//
// Usage: dialog-shots.exe PATH\gen_vireo.dll [GAME COMMAND LINE]
//
// With a game's command line (the tests' fake game, say), the game is started
// first and ended last, so that the Status window shows what Vireo found.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "common/PluginRecord.h"
#include "game/Landmarks.h"
#include "player/WinampIpc.h"
#include "ui/Resource.h"

namespace {

using namespace std::chrono_literals;

constexpr char kOptionsCaption[] = "Vireo Version 1.30";

HWND waitForDialog(const char* caption) {
    for (int i = 0; i < 500; ++i) {
        HWND window = ::FindWindowA("#32770", caption);
        if (window && ::IsWindowVisible(window)) return window;
        std::this_thread::sleep_for(10ms);
    }
    return nullptr;
}

void waitClosed(HWND window) {
    for (int i = 0; i < 500 && ::IsWindow(window); ++i) std::this_thread::sleep_for(10ms);
}

// Copies the window's screen rectangle, frame included, into a BMP file.
bool saveWindow(HWND window, const std::string& file) {
    ::RedrawWindow(window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    std::this_thread::sleep_for(700ms);  // let the dialog's thread paint
    RECT rect;
    ::GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ::SelectObject(memory, old);

    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;  // bottom-up, as a BMP file stores it
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    std::vector<BYTE> pixels(stride * static_cast<DWORD>(height));
    ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
    FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) return false;
    std::fwrite(&header, sizeof header, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::fwrite(pixels.data(), 1, pixels.size(), out);
    std::fclose(out);
    std::printf("%s %dx%d\n", file.c_str(), width, height);
    return true;
}

// The dialog being checked for clipped texts, and a device context to
// measure them in.
struct ClipCheck {
    const char* name;
    HDC dc;
};

// One control of reportClippedTexts: a window enumeration's callback, so a
// named stdcall function (a lambda converts only to the default convention).
BOOL CALLBACK reportIfClipped(HWND control, LPARAM param) {
    auto* c = reinterpret_cast<ClipCheck*>(param);
    char className[32] = {};
    ::GetClassNameA(control, className, sizeof className);
    const LONG style = ::GetWindowLongA(control, GWL_STYLE);
    const bool text = lstrcmpiA(className, "Static") == 0 && (style & SS_TYPEMASK) <= SS_RIGHT;
    const bool button = lstrcmpiA(className, "Button") == 0;
    if ((!text && !button) || !(style & WS_VISIBLE)) return TRUE;
    char caption[512] = {};
    ::GetWindowTextA(control, caption, sizeof caption);
    if (!caption[0]) return TRUE;
    RECT client;
    ::GetClientRect(control, &client);
    HGDIOBJ old =
        ::SelectObject(c->dc, reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)));
    // A check box or radio button keeps about 16 pixels for its box.
    LONG available = client.right;
    if (button && (style & BS_TYPEMASK) != BS_PUSHBUTTON &&
        (style & BS_TYPEMASK) != BS_DEFPUSHBUTTON)
        available -= 16;
    RECT need{0, 0, available, 0};
    ::DrawTextA(c->dc, caption, -1, &need, (text ? DT_WORDBREAK : DT_SINGLELINE) | DT_CALCRECT);
    ::SelectObject(c->dc, old);
    const bool tooWide = !text && need.right > available;
    if (need.bottom > client.bottom || tooWide)
        std::printf("  clipped in %s: %dx%d needed, %dx%d given: \"%s\"\n", c->name,
                    static_cast<int>(need.right), static_cast<int>(need.bottom),
                    static_cast<int>(client.right), static_cast<int>(client.bottom), caption);
    return TRUE;
}

// Lists every text of the dialog that its control is too small for in the
// font the dialog got: a word-wrapped text needs more lines than fit, or a
// one-line text is wider than its control.
void reportClippedTexts(HWND dialog, const char* name) {
    ClipCheck check{name, ::CreateCompatibleDC(nullptr)};
    ::EnumChildWindows(dialog, reportIfClipped, reinterpret_cast<LPARAM>(&check));
    ::DeleteDC(check.dc);
}

struct Shot {
    int button;
    const char* caption;
    const char* file;
    std::chrono::milliseconds settle;  // how long the dialog stays open before its picture
};

// The Status window is photographed last, once the game has been hooked and
// has drawn, and the console commands' first scan has run.
const Shot kShots[] = {
    {IDC_GENERAL, "General", "general-page.bmp", 0ms},
    {IDC_DISPLAY, "Display", "display-page.bmp", 0ms},
    {IDC_SCRIPTING, "Scripting", "scripting-page.bmp", 0ms},
    {IDC_ABOUT, "About", "about-box.bmp", 0ms},
    {IDC_STATUS, "Status", "status-window.bmp", 12s},
};

// The game's process, when one was started.
HANDLE game = nullptr;

// A console line typed in the game, as the game's console leaves it in its
// captured-line buffer (the game started with the 2343 build marker).
void typeInGame(const char* line) {
    char buffer[vireo::landmarks::kCapturedLineSize] = {};
    std::snprintf(buffer, sizeof buffer, "%s", line);
    ::WriteProcessMemory(game,
                         reinterpret_cast<void*>(vireo::landmarks::kLandmarks2343.capturedLine),
                         buffer, sizeof buffer, nullptr);
}

// Runs on its own thread while the main thread is inside configure.
void photograph(bool& ok);

DWORD WINAPI runCamera(void* ok) {
    photograph(*static_cast<bool*>(ok));
    return 0;
}

void photograph(bool& ok) {
    HWND options = waitForDialog(kOptionsCaption);
    if (!options) return;
    ok = saveWindow(options, "options-window.bmp");
    reportClippedTexts(options, "options window");
    for (const Shot& shot : kShots) {
        if (game && shot.button == IDC_STATUS) typeInGame("Vireo ShowGUI");
        ::PostMessageA(options, WM_COMMAND, MAKEWPARAM(shot.button, BN_CLICKED), 0);
        HWND page = waitForDialog(shot.caption);
        if (!page) {
            ok = false;
            break;
        }
        std::this_thread::sleep_for(shot.settle);
        ok = saveWindow(page, shot.file) && ok;
        reportClippedTexts(page, shot.caption);
        ::PostMessageA(page, WM_CLOSE, 0, 0);
        waitClosed(page);
    }
    ::PostMessageA(options, WM_CLOSE, 0, 0);
}

// Answers as a Winamp 5.9.2 that plays nothing would, for the Status
// window's Winamp line.
LRESULT CALLBACK hostProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == vireo::WM_WA_IPC && lp == vireo::IPC_GETVERSION) return 0x5092;
    if (m == vireo::WM_WA_IPC) return 0;
    return ::DefWindowProcA(w, m, wp, lp);
}

// The game's process, started from its command line in its own folder.
HANDLE startGame(const char* commandLine) {
    std::string line = commandLine;
    std::string folder = line.substr(line.front() == '"' ? 1 : 0);
    folder = folder.substr(0, folder.find_last_of('\\') + 1);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                          &startup, &info))
        return nullptr;
    ::CloseHandle(info.hThread);
    for (int i = 0; i < 500 && !::FindWindowA("Half-Life", nullptr); ++i)
        std::this_thread::sleep_for(10ms);
    return info.hProcess;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: dialog-shots PATH\\gen_vireo.dll [GAME COMMAND LINE]\n");
        return 2;
    }
    game = argc > 2 ? startGame(argv[2]) : nullptr;
    if (argc > 2 && !game) {
        std::fprintf(stderr, "cannot start the game: %s\n", argv[2]);
        return 1;
    }
    HMODULE plugin = ::LoadLibraryA(argv[1]);
    if (!plugin) {
        std::fprintf(stderr, "cannot load %s\n", argv[1]);
        return 1;
    }
    auto exported = reinterpret_cast<vireo::PluginRecord* (*)()>(
        reinterpret_cast<void*>(::GetProcAddress(plugin, "winampGetGeneralPurposePlugin")));
    vireo::PluginRecord* record = exported ? exported() : nullptr;
    if (!record) return 1;

    WNDCLASSA wc{};
    wc.lpfnWndProc = hostProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "DialogShotsHost";
    ::RegisterClassA(&wc);
    record->hwndParent = ::CreateWindowA("DialogShotsHost", "Winamp", WS_OVERLAPPEDWINDOW, 0, 0,
                                         100, 100, nullptr, nullptr, wc.hInstance, nullptr);
    record->hDllInstance = plugin;
    record->init();

    bool ok = false;
    HANDLE camera = ::CreateThread(nullptr, 0, runCamera, &ok, 0, nullptr);
    record->config();
    ::WaitForSingleObject(camera, INFINITE);
    ::CloseHandle(camera);
    record->quit();
    ::DestroyWindow(record->hwndParent);
    ::FreeLibrary(plugin);
    if (game) {
        ::TerminateProcess(game, 0);
        ::WaitForSingleObject(game, INFINITE);
        ::CloseHandle(game);
    }
    return ok ? 0 : 1;
}
