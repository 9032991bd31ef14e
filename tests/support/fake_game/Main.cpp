#include "fake_game/FakeGame.h"

namespace vireo::test::fake_game {
namespace {

ControlBlock* gBlock = nullptr;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wp, LPARAM lp) noexcept {
    switch (message) {
        case kReportMessage:
            reportCopies(*gBlock);
            return 1;
        case kReplantMessage:
            replantCopies(*gBlock);
            return 1;
        case kPressMessage:
            pressKey();
            return 1;
        case WM_TIMER:
            if (onTodayTimer(window, wp)) return 0;
            return ::DefWindowProcA(window, message, wp, lp);
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcA(window, message, wp, lp);
    }
}

const Options* gOptions = nullptr;

// Makes the game's window and pumps its messages until it is closed.
int runWindow() {
    if (!watchGameThread()) return kExitEngineTableTaken;
    WNDCLASSA wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = gOptions->windowClass.c_str();
    if (!::RegisterClassA(&wc)) return kExitNoWindow;
    HWND window = ::CreateWindowA(
        wc.lpszClassName, titleShownAtStart(*gOptions) ? gOptions->windowTitle.c_str() : "",
        WS_OVERLAPPEDWINDOW, 0, 0, 320, 240, nullptr, nullptr, wc.hInstance, nullptr);
    if (!window) return kExitNoWindow;
    // Shown, as a game's window is, but without taking the focus from the
    // test's own windows.
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    startToday(window);
    if (!gOptions->runCommand.empty()) {
        const int code = runToEnd(gOptions->runCommand, gOptions->releaseAfterMs);
        // Gone before the process ends, so whoever waits for the process
        // finds no window after it.
        ::DestroyWindow(window);
        return code;
    }
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}

DWORD WINAPI windowThreadMain(void*) noexcept { return static_cast<DWORD>(runWindow()); }

int run(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) return kExitBadOptions;
    // The fixed addresses first, before other allocations can take them.
    if (!setUpLandmarks(options)) return kExitLandmarksTaken;
    if (!setUpEngine(options.engine)) return kExitEngineTableTaken;
    gBlock = setUpControlBlock();
    if (!gBlock) return kExitControlBlockTaken;
    if (!setUpToday(options, *gBlock)) return kExitControlBlockTaken;
    if (options.plantCopies && !plantTestCopies(*gBlock)) return kExitPlantFailed;
    if (!plantFootprint(options, *gBlock)) return kExitFootprintFailed;
    if (options.churnRegions && !startRegionChurn()) return kExitChurnFailed;
    if (!options.holdFile.empty() && !holdFile(options.holdFile)) return kExitHoldFailed;
    if (!options.watchFile.empty() && !watchFile(options.watchFile, *gBlock))
        return kExitWatchFailed;

    // The window comes last: once it can be found, everything is in place.
    gOptions = &options;
    if (!options.windowOnSecondThread) return runWindow();
    HANDLE windowThread = ::CreateThread(nullptr, 0, windowThreadMain, nullptr, 0, nullptr);
    if (!windowThread) return kExitNoWindow;
    ::WaitForSingleObject(windowThread, INFINITE);
    DWORD code = kExitNoWindow;
    ::GetExitCodeThread(windowThread, &code);
    ::CloseHandle(windowThread);
    return static_cast<int>(code);
}

}  // namespace
}  // namespace vireo::test::fake_game

int main(int argc, char** argv) { return vireo::test::fake_game::run(argc, argv); }
