// How long a bound key takes in a game of today: from the game's append of
// the alias's line to qconsole.log to the command's arrival at Winamp, over
// the plug-in's real timers. Prints p50, p95 and the worst of kPresses.

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "common/Timers.h"
#include "support/FakeGame.h"
#include "support/FakeWinamp.h"
#include "support/TestSupport.h"

using namespace vireo;
using namespace vireo::test;

namespace {

constexpr int kPresses = 40;
constexpr auto kLoadedWait = std::chrono::seconds(15);
constexpr auto kCommandWait = std::chrono::seconds(5);

bool logHolds(const std::string& path, const std::string& text) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str().find(text) != std::string::npos;
}

}  // namespace

int main() {
    deleteSettingsKey();
    writeSettingInt("EnableIngameDisplay", 0);
    FakeWinamp winamp;
    winamp.setPlaylist({"Bench Band - One", "Bench Band - Two"});
    FakeGameProcess game(todayOptions());
    if (!game.start()) {
        std::printf("the fake game did not start: %s\n", game.failure().c_str());
        return 1;
    }
    LoadedPlugin plugin;
    plugin.init(winamp.handle());
    if (!pumpUntil([&] { return logHolds(game.consoleLogPath(), " loaded \n"); }, kLoadedWait)) {
        std::printf("the game never ran VireoCommands.cfg\n");
        return 1;
    }
    std::vector<double> latenciesMs;
    for (int i = 0; i < kPresses; ++i) {
        winamp.clear();
        // The line feed is in the log when press() returns: the game's
        // append is synchronous with the key.
        if (!game.press("vireo_nexttrack")) {
            std::printf("the game did not take the key\n");
            return 1;
        }
        const auto appended = std::chrono::steady_clock::now();
        if (!pumpUntil([&] { return !winamp.commands().empty(); }, kCommandWait)) {
            std::printf("press %d never reached Winamp\n", i + 1);
            return 1;
        }
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - appended;
        latenciesMs.push_back(took.count());
        // Off the poll's phase, so the samples cover it.
        pumpMessagesFor(std::chrono::milliseconds(37 * (i % 7)));
    }
    std::sort(latenciesMs.begin(), latenciesMs.end());
    auto at = [&](double q) { return latenciesMs[static_cast<std::size_t>(q * (kPresses - 1))]; };
    std::printf(
        "line feed to Winamp over %d presses (poll period %u ms): p50 %.0f ms, p95 %.0f ms, "
        "max %.0f ms\n",
        kPresses, kFilesRoadPeriodMs, at(0.5), at(0.95), latenciesMs.back());
    std::fflush(stdout);
    plugin.unload();
    return 0;
}
