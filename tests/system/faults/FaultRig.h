#pragma once
// What the fault-injection tests share: counts of this process's handles and
// USER and GDI objects, a probe that measures how long a message posted to
// Winamp's thread waits, the nineteen settings as stored, and Winamp (the
// double) with the plug-in loaded beside one fake game.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/Timers.h"
#include "support/FakeGame.h"
#include "support/FakeWinamp.h"
#include "support/TestSupport.h"

namespace vireo::test {

using Clock = std::chrono::steady_clock;

// "Not hung": a message posted to Winamp's thread is handled within this.
// The longest the plug-in means to hold that thread is a fade, about 0.8 s;
// the bound leaves room for a machine that other builds and test runs keep
// busy, where a thread is now and then not scheduled for a second or more,
// and still tells a hang or a stall of many seconds.
constexpr auto kResponsiveBound = std::chrono::milliseconds(5000);
constexpr auto kConsolePoll = std::chrono::milliseconds(kConsolePollPeriodMs);
constexpr auto kAutoPauseTick = std::chrono::milliseconds(kAutoPausePeriodMs);
constexpr auto kScriptTick = std::chrono::milliseconds(kScriptWriterPeriodMs);
constexpr auto kHookInstall = std::chrono::milliseconds(kHookInstallerPeriodMs);
constexpr auto kDrawPeriod = std::chrono::milliseconds(kGameDisplayPeriodMs);
// The watch scans about 8.2 s after it first sees the mod, at the latest one
// watch period later.
constexpr auto kScanStartsWithin = std::chrono::milliseconds(6000 + 4 * kModWatchPeriodMs);

// Wine creates a few kernel objects lazily on a thread's or a library's
// first use of a service (a winsock helper event, a cached registry key, a
// toolhelp section), and keeps them. The counts are compared after a warm-up
// run of the same work; this much is still allowed for such late arrivals.
// USER and GDI objects get no allowance.
constexpr long kWineLazyHandles = 2;

struct ResourceCounts {
    long handles = 0;
    long userObjects = 0;
    long gdiObjects = 0;
};
ResourceCounts resourceCounts();
// Counts now against `before`, within the allowance above.
void expectNoGrowth(const ResourceCounts& before, const char* what);

// A window on Winamp's thread (the test's thread, where the plug-in's timers
// run) that another thread posts a message to every 100 ms; how long each one
// waited in the queue is how long Winamp's thread was busy.
class ResponsivenessProbe {
public:
    ResponsivenessProbe();
    ~ResponsivenessProbe();
    ResponsivenessProbe(const ResponsivenessProbe&) = delete;
    ResponsivenessProbe& operator=(const ResponsivenessProbe&) = delete;

    [[nodiscard]] std::chrono::milliseconds worst() const;
    [[nodiscard]] unsigned handled() const { return handled_; }
    // Worst wait below the bound and the probe actually got through.
    void expectResponsive(const char* what) const;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    HWND window_ = nullptr;
    std::atomic<bool> stop_{false};
    unsigned handled_ = 0;
    DWORD worstMs_ = 0;
    std::unique_ptr<JoiningThread> poster_;
};

// Puts `replacement` in the place of one function a module imports, in that
// module's import address table, for the lifetime of the object: a seam into
// the loaded plug-in (or this program's own copy of its code) at a call it
// makes to the system. The module must import the function by name.
class ImportSwap {
public:
    ImportSwap(HMODULE module, const char* dll, const char* function, void* replacement);
    ~ImportSwap();
    ImportSwap(const ImportSwap&) = delete;
    ImportSwap& operator=(const ImportSwap&) = delete;
    [[nodiscard]] bool swapped() const { return slot_ != nullptr; }
    // The function the module imported.
    [[nodiscard]] void* original() const { return original_; }

private:
    void** slot_ = nullptr;
    void* original_ = nullptr;
};

// The nineteen values, type and bytes, as stored now.
struct StoredSetting {
    std::string name;
    RawValue value;
};
std::vector<StoredSetting> storedSettings();
void expectSameSettings(const std::vector<StoredSetting>& before, const char* what);

// Winamp (the double) playing, with the plug-in loaded and initialised on it.
struct WinampWithPlugin {
    FakeWinamp winamp;
    std::unique_ptr<LoadedPlugin> plugin;
    WinampWithPlugin();
    ~WinampWithPlugin();
    WinampWithPlugin(const WinampWithPlugin&) = delete;
    WinampWithPlugin& operator=(const WinampWithPlugin&) = delete;
    // How many times Winamp was told to do `command` (a WM_COMMAND id).
    [[nodiscard]] std::size_t count(unsigned command) const;
};

// Types a line into the game's console and pumps until the plug-in took it
// (the buffer reads empty); false when it was still there after the timeout.
bool typeLine(const FakeGameProcess& game, const std::string& line,
              std::chrono::milliseconds timeout = kConsolePoll + kTimerSlack);

// A started fake game, or a test failure with its reason.
std::unique_ptr<FakeGameProcess> startGame(FakeGameOptions options);

}  // namespace vireo::test
