// Cost of one script writer tick with a fake game running and the Winamp
// double answering: the default Script with a title that changes at every
// tick (the file's bytes differ each time), and the same Script with a title
// that stays (the bytes are those of the last tick). Prints the time per
// tick, its median, 99th percentile and maximum, and its share of the period.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "common/ProcessWide.h"
#include "common/Timers.h"
#include "player/PlayerControl.h"
#include "player/WinampIpc.h"
#include "script/ScriptWriter.h"
#include "settings/Defaults.h"
#include "support/FakeGame.h"
#include "support/FakeWinamp.h"
#include "support/TestSupport.h"

using namespace vireo;
using namespace vireo::test;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kWarmUpTicks = 20;
constexpr int kTicks = 1000;

// Times kTicks ticks; before each, prepare(i) sets up the Winamp double.
template <typename F>
void measure(const char* what, FakeWinamp& winamp, F&& prepare) {
    for (int i = 0; i < kWarmUpTicks; ++i) {
        prepare(i);
        scriptWriterTick(nullptr, 0, 0, 0);
    }
    std::vector<double> times;
    times.reserve(kTicks);
    for (int i = 0; i < kTicks; ++i) {
        prepare(i);
        winamp.clear();
        const auto start = Clock::now();
        scriptWriterTick(nullptr, 0, 0, 0);
        times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (const double t : times) sum += t;
    const double mean = sum / kTicks;
    std::printf(
        "%-28s mean %7.1f us (%.4f %% of %u ms), median %7.1f us, p99 %7.1f us, max %7.1f us; "
        "file current: %s\n",
        what, mean, 100.0 * mean / (kScriptWriterFastPeriodMs * 1000.0), kScriptWriterFastPeriodMs,
        times[kTicks / 2], times[kTicks * 99 / 100], times.back(),
        scriptWriteReport().written ? "yes" : "no");
}

}  // namespace

int main() {
    FakeWinamp winamp;
    winamp.setLength(245);
    winamp.setPlayStatus(IPC_PLAYING);
    winamp.setPosition(61500);
    playerControl.setWindow(winamp.handle());
    writeSettingInt("EnableScripting", 1);
    writeSettingInt("PlaceScriptInRoot", 0);
    writeSettingText("Script", std::string(defaults::kScript));

    FakeGameOptions options = counterStrikeOptions();
    options.plantCopies = false;
    FakeGameProcess game(options);
    if (!game.start()) {
        std::printf("fake game did not start: %s\n", game.failure().c_str());
        return 1;
    }
    std::printf("script writer tick, %d ticks each, default Script (%zu bytes):\n", kTicks,
                defaults::kScript.size());
    measure("title changes every tick", winamp, [&](int i) {
        winamp.setTitle("Some Artist - Some Song " + std::to_string(i));
    });
    // The default Script without %TIME%, which makes every second's bytes new.
    std::string stable(defaults::kScript);
    for (std::size_t at; (at = stable.find("%TIME%")) != std::string::npos;) stable.erase(at, 6);
    writeSettingText("Script", stable);
    measure("same bytes every tick", winamp, [&](int) { winamp.setTitle("Some Artist - Some Song"); });
    playerControl.setWindow(nullptr);
    writeSettingText("Script", std::string(defaults::kScript));
    return 0;
}
