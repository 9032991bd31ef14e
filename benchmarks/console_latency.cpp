// Latency of the console road: from writing a line into the fake game's
// captured-line buffer to the first matching message at the Winamp double,
// over many commands, beside the 257 ms poll period.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "player/WinampIpc.h"
#include "common/Timers.h"
#include "support/FakeGame.h"
#include "support/FakeWinamp.h"
#include "support/TestSupport.h"

using namespace vireo;
using namespace vireo::test;
using Clock = std::chrono::steady_clock;

int main() {
    constexpr int kCommands = 60;
    deleteSettingsKey();
    writeSettingInt("EnableScripting", 0);
    writeSettingInt("EnableIngameDisplay", 0);

    FakeWinamp winamp;
    FakeGameProcess game(counterStrikeOptions());
    if (!game.start()) {
        std::printf("fake game did not start: %s\n", game.failure().c_str());
        return 1;
    }
    LoadedPlugin plugin;
    if (!plugin.loaded()) return 1;
    plugin.init(winamp.handle());

    std::vector<double> latencies;
    for (int i = 0; i < kCommands; ++i) {
        winamp.clear();
        // Written at a random phase of the poll.
        pumpMessagesFor(std::chrono::milliseconds(37 * i % 257));
        const auto written = Clock::now();
        game.writeCapturedLine("Vireo NextTrack");
        if (!pumpUntil([&] { return !winamp.log().empty(); }, std::chrono::seconds(2))) {
            std::printf("command %d was not taken\n", i);
            return 1;
        }
        latencies.push_back(
            std::chrono::duration<double, std::milli>(winamp.log().front().at - written).count());
    }
    plugin.unload();
    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double q) {
        return latencies[static_cast<std::size_t>(q * (latencies.size() - 1))];
    };
    std::printf("console road latency over %d commands (poll period %u ms):\n", kCommands,
                kConsolePollPeriodMs);
    std::printf("  median %.1f ms, 95th percentile %.1f ms, maximum %.1f ms\n", at(0.5), at(0.95),
                latencies.back());
    return 0;
}
