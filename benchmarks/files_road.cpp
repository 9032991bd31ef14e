// The files road for a game of today: the latency from a key's line feed in
// qconsole.log to the Winamp double, through the loaded plug-in's timer, and
// the cost of one poll with an idle log and with 64 KB waiting. The log is
// appended by this program, as the engine appends it; whatever else writes
// it (a fake engine) measures the same path.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "commands/CommandSet.h"
#include "commands/RoadFiles.h"
#include "common/ProcessWide.h"
#include "common/Timers.h"
#include "game/ConsoleLog.h"
#include "game/GameLink.h"
#include "player/PlayerControl.h"
#include "support/FakeGame.h"
#include "support/FakeWinamp.h"
#include "support/TestSupport.h"

using namespace vireo;
using namespace vireo::test;
using Clock = std::chrono::steady_clock;

namespace {

void append(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
}

double at(std::vector<double> values, double q) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(q * (values.size() - 1))];
}

}  // namespace

int main() {
    constexpr int kCommands = 40;
    constexpr int kIdlePolls = 500;
    constexpr int kFullPolls = 20;
    deleteSettingsKey();
    writeSettingInt("EnableScripting", 0);
    writeSettingInt("EnableIngameDisplay", 0);

    FakeWinamp winamp;
    FakeGameOptions options = counterStrikeOptions();
    options.exeName = "hl.exe";
    options.windowClass = "SDL_app";
    options.windowTitle = "Counter-Strike";
    options.plantCopies = false;
    FakeGameProcess game(options);
    if (!game.start()) {
        std::printf("fake game did not start: %s\n", game.failure().c_str());
        return 1;
    }
    const std::string log = game.directory() + std::string(kConsoleLogName);
    append(log, "");

    std::vector<double> latencies;
    {
        LoadedPlugin plugin;
        if (!plugin.loaded()) return 1;
        plugin.init(winamp.handle());
        std::string marker;
        if (!pumpUntil(
                [&] {
                    marker = readSettingText(kCommandMarkerValue);
                    return !marker.empty();
                },
                std::chrono::seconds(5))) {
            std::printf("the files road never served the fake game\n");
            return 1;
        }
        for (int i = 0; i < kCommands; ++i) {
            winamp.clear();
            pumpMessagesFor(std::chrono::milliseconds(37 * i % 257));  // a random phase
            const auto written = Clock::now();
            append(log, marker + " nexttrack \n");
            if (!pumpUntil([&] { return !winamp.log().empty(); }, std::chrono::seconds(2))) {
                std::printf("command %d was not taken\n", i);
                return 1;
            }
            latencies.push_back(
                std::chrono::duration<double, std::milli>(winamp.log().front().at - written)
                    .count());
        }
        plugin.unload();
    }

    // The same poll in this process, timed call by call.
    gameLink.addCommand(kCommandWord, commandSetHandler);
    playerControl.setWindow(winamp.handle());
    const auto poll = [] {
        const auto start = Clock::now();
        filesRoadTick(nullptr, 0, 0, 0);
        return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    };
    for (int i = 0; i < 8; ++i) poll();  // the road starts, the files are written
    std::vector<double> idle, full;
    for (int i = 0; i < kIdlePolls; ++i) idle.push_back(poll());
    const std::string chatter = std::string(1000, 'x') + "\n";
    std::string backlog;
    while (backlog.size() < kConsoleLogReadLimit) backlog += chatter;
    for (int i = 0; i < kFullPolls; ++i) {
        append(log, backlog);
        full.push_back(poll());
    }
    playerControl.setWindow(nullptr);
    deleteSettingsKey();

    std::printf("files road latency over %d commands (poll period %u ms):\n", kCommands,
                kFilesRoadPeriodMs);
    std::printf("  median %.1f ms, 95th percentile %.1f ms, maximum %.1f ms\n", at(latencies, 0.5),
                at(latencies, 0.95), at(latencies, 1.0));
    std::printf("one poll, idle log: median %.1f us, 95th percentile %.1f us\n", at(idle, 0.5),
                at(idle, 0.95));
    std::printf("one poll, 64 KB waiting: median %.1f us, 95th percentile %.1f us\n", at(full, 0.5),
                at(full, 0.95));
    return 0;
}
