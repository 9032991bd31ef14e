// Cost of one game-side display tick, on the thread that runs it, with all
// six lines shown: the window lookup, the check that the plug-in runs in
// Winamp, the engine-table check, eight registry
// reads, six visibility queries and six prints through an engine table laid
// out as the game's (its entries are 32-bit, so this program's image lies
// below 4 GB). Prints the time per tick, its share of the 1096 ms period,
// and the allocations made inside the tick. Also the composer's tick against
// the Winamp double, for comparison.

#include "display/Display.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "commands/StatusReport.h"
#include "display/HostPresence.h"
#include "display/SharedDisplayBlock.h"
#include "game/GameLocator.h"
#include "game/Landmarks.h"
#include "player/PlayerControl.h"
#include "common/ProcessWide.h"
#include "common/Timers.h"
#include "settings/Settings.h"
#include "support/FakeWinamp.h"
#include "support/TestSupport.h"

namespace {

std::atomic<long> gAllocations{0};

}  // namespace

// Every allocation of the program, the plug-in's code included, is counted.
void* operator new(std::size_t size) {
    ++gAllocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

using namespace vireo;
using namespace vireo::test;
using Clock = std::chrono::steady_clock;

constexpr int kWarmUpTicks = 50;
constexpr int kTicks = 3000;
constexpr int kComposerTicks = 300;
constexpr double kPeriodMicroseconds = kGameDisplayPeriodMs * 1000.0;

struct Record {
    std::int32_t row;
    float timeToLive;
    float colour[3];
};

char gPrinted[512];
int gPrints = 0;
int gQueries = 0;

// Formats like the engine does, into a buffer the engine would draw from.
void enginePrint(Record* record, const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(gPrinted, sizeof gPrinted, format, args);
    va_end(args);
    gPrints += record->row > -1000000 ? 1 : 0;
}

int engineConsoleVisible() {
    ++gQueries;
    return 0;
}

bool layOutEngineTable() {
    const std::uintptr_t table = landmarks::kEngineTableAddress;
    const std::uintptr_t block = table & ~std::uintptr_t{0xFFFF};
    const std::uintptr_t page = table & ~std::uintptr_t{0xFFF};
    ::VirtualAlloc(reinterpret_cast<void*>(block), 0x10000, MEM_RESERVE, PAGE_NOACCESS);
    if (!::VirtualAlloc(reinterpret_cast<void*>(page), 0x1000, MEM_COMMIT, PAGE_READWRITE)) {
        MEMORY_BASIC_INFORMATION info{};
        ::VirtualQuery(reinterpret_cast<void*>(table), &info, sizeof info);
        std::printf("the table's page is taken: state 0x%lx type 0x%lx base %p\n", info.State,
                    info.Type, info.AllocationBase);
        return false;
    }
    auto* entries = reinterpret_cast<std::uint32_t*>(table);
    entries[landmarks::kPrintNotifyRowEntry] =
        static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&enginePrint));
    entries[landmarks::kIsConsoleVisibleEntry] =
        static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(&engineConsoleVisible));
    engineTable = table;
    return true;
}

struct Figures {
    double mean, median, p99, max;
    double allocationsPerTick;
};

Figures measureGameTicks() {
    for (int i = 0; i < kWarmUpTicks; ++i) gameDisplayTick(nullptr, WM_TIMER, 0, 0);
    std::vector<double> times;
    times.reserve(kTicks);
    const long allocationsBefore = gAllocations.load();
    for (int i = 0; i < kTicks; ++i) {
        const auto start = Clock::now();
        gameDisplayTick(nullptr, WM_TIMER, 0, 0);
        times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    const long allocations = gAllocations.load() - allocationsBefore;
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (double t : times) sum += t;
    return Figures{sum / kTicks, times[kTicks / 2], times[kTicks * 99 / 100], times.back(),
                   static_cast<double>(allocations) / kTicks};
}

void report(const char* what, const Figures& f) {
    std::printf(
        "%-34s mean %7.1f us (%.4f %% of %u ms), median %7.1f us, p99 %7.1f us, max %7.1f us, "
        "allocations per tick %.2f\n",
        what, f.mean, 100.0 * f.mean / kPeriodMicroseconds, kGameDisplayPeriodMs, f.median, f.p99,
        f.max, f.allocationsPerTick);
}

}  // namespace

int main() {
    // The game's window, so that the tick finds a game as it does inside one.
    WNDCLASSA wc{};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = landmarks::kGameWindowClass;
    ::RegisterClassA(&wc);
    HWND game = ::CreateWindowA(wc.lpszClassName, "Half-Life", WS_OVERLAPPEDWINDOW, 0, 0, 320, 240,
                                nullptr, nullptr, wc.hInstance, nullptr);
    if (!game || !layOutEngineTable()) {
        std::printf("cannot lay out the game's window and engine table\n");
        return 1;
    }
    // The plug-in runs in Winamp: the game side draws only while it does.
    // Here Winamp's side lives in this process; the tick's check is the same
    // named-event open as in the game.
    holdHostPresence();
    for (int k = 0; k < 6; ++k)
        storeDisplayLine(sharedDisplayBlock.lines[k], "Some Artist - Some Song (Extended Mix)");

    writeSettingInt("StartLine", 11);
    writeSettingInt("DisplayColor", 3);
    writeSettingInt("ShowGUI", 1);
    const Figures shown = measureGameTicks();
    const int queriesPerTick = gQueries / (kWarmUpTicks + kTicks);
    const int printsPerTick = gPrints / (kWarmUpTicks + kTicks);
    writeSettingInt("ShowGUI", 0);
    const Figures hidden = measureGameTicks();

    std::printf(
        "game-side tick, %d ticks each; %d prints and %d visibility queries per shown tick\n",
        kTicks, printsPerTick, queriesPerTick);
    report("shown (ShowGUI 1)", shown);
    report("hidden (ShowGUI 0)", hidden);

    // The composer's tick, Winamp side: six expansions against the double.
    FakeWinamp winamp;
    winamp.setTitle("Some Artist - Some Song (Extended Mix)");
    playerControl.setWindow(winamp.handle());
    writeSettingInt("EnableIngameDisplay", 1);
    const auto start = Clock::now();
    for (int i = 0; i < kComposerTicks; ++i) {
        displayComposerTick(nullptr, WM_TIMER, 0, 0);
        winamp.clear();
    }
    const double composer =
        std::chrono::duration<double, std::micro>(Clock::now() - start).count() / kComposerTicks;
    std::printf("composer tick (six expansions)     mean %7.1f us (%.4f %% of %u ms)\n", composer,
                100.0 * composer / (kDisplayComposerPeriodMs * 1000.0), kDisplayComposerPeriodMs);
    // The parts, for where the time goes.
    auto each = [](auto&& call) {
        const auto t0 = Clock::now();
        for (int i = 0; i < kTicks; ++i) call();
        return std::chrono::duration<double, std::micro>(Clock::now() - t0).count() / kTicks;
    };
    const double window = each([] { (void)findGameWindow(); });
    const double registry = each([] { (void)ShowGUI.read(); });
    const double query = each([] {
        MEMORY_BASIC_INFORMATION info{};
        ::VirtualQuery(reinterpret_cast<void*>(landmarks::kEngineTableAddress), &info, sizeof info);
    });
    std::printf(
        "parts: window lookup %.1f us, one registry read %.1f us, one VirtualQuery %.1f us\n",
        window, registry, query);
    // The status, composed every second while its dialog is open: this
    // process's window is the game's, so it is asked everything a game gives.
    const auto statusStart = Clock::now();
    for (int i = 0; i < kComposerTicks; ++i) (void)statusReport(StatusForm::Window);
    const double status =
        std::chrono::duration<double, std::micro>(Clock::now() - statusStart).count() /
        kComposerTicks;
    std::printf("status report (Window form)        mean %7.1f us (%.4f %% of 1000 ms)\n", status,
                status / 10000.0);
    ::DestroyWindow(game);
    return 0;
}
