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
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcA(window, message, wp, lp);
    }
}

int run(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) return kExitBadOptions;
    // The fixed addresses first, before other allocations can take them.
    if (!setUpLandmarks(options)) return kExitLandmarksTaken;
    if (!setUpEngine(options.engine)) return kExitEngineTableTaken;
    gBlock = setUpControlBlock();
    if (!gBlock) return kExitControlBlockTaken;
    if (options.plantCopies && !plantTestCopies(*gBlock)) return kExitPlantFailed;
    if (!plantFootprint(options, *gBlock)) return kExitFootprintFailed;
    if (options.churnRegions && !startRegionChurn()) return kExitChurnFailed;

    // The window comes last: once it can be found, everything is in place.
    WNDCLASSA wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = options.windowClass.c_str();
    if (!::RegisterClassA(&wc)) return kExitNoWindow;
    HWND window =
        ::CreateWindowA(wc.lpszClassName, options.windowTitle.c_str(), WS_OVERLAPPEDWINDOW, 0, 0,
                        320, 240, nullptr, nullptr, wc.hInstance, nullptr);
    if (!window) return kExitNoWindow;
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return 0;
}

}  // namespace
}  // namespace vireo::test::fake_game

int main(int argc, char** argv) { return vireo::test::fake_game::run(argc, argv); }
