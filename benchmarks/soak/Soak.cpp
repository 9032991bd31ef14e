// The soak: Winamp (the double) with the plug-in and a Counter-Strike fake
// game beside it for N minutes, with every timer busy, printing what the two
// processes hold at the start, every minute and the end. Run by hand with
// tools/soak.sh N; a figure that keeps growing is a leak.
//
// Busy means: the in-game display on and shown (ShowGUI 1), the script
// rewritten at the fast period, auto-pause fading as the player dies and
// spawns every few seconds, a typed command every second and a track change
// every few seconds.

#include <windows.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "player/WinampIpc.h"
#include "support/FakeEngine.h"
#include "support/FakeGame.h"
#include "support/FakeWinamp.h"
#include "support/ResourceCounts.h"
#include "support/TestSupport.h"

namespace vireo::test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDefaultMinutes = 10;
constexpr auto kSlice = std::chrono::milliseconds(50);
constexpr auto kTypeEvery = std::chrono::milliseconds(1000);
constexpr auto kTrackEvery = std::chrono::milliseconds(4000);
constexpr auto kPlayerStateEvery = std::chrono::milliseconds(6000);
constexpr auto kReportEvery = std::chrono::minutes(1);
constexpr auto kSettle = std::chrono::milliseconds(5000);
constexpr std::int32_t kAutoPauseFade = 1;
constexpr std::int32_t kTrackSeconds = 215;

struct Tally {
    unsigned long sent = 0;        // command lines written into the game's console
    unsigned long taken = 0;       // lines the plug-in took out of the buffer
    unsigned long carriedOut = 0;  // next-track commands that reached Winamp
    unsigned long tracks = 0;
    unsigned long spawns = 0;
};

void printHeader() {
    std::printf("%-10s %8s %10s %6s %5s | %8s %10s | %7s %7s %9s %6s %6s %7s\n", "when", "handles",
                "private-KB", "USER", "GDI", "game-hnd", "game-KB", "sent", "taken", "carried",
                "tracks", "spawns", "draws");
}

void printRow(const char* when, HANDLE game, DWORD gameId, const Tally& tally,
              std::uint32_t draws) {
    const ProcessResources winamp = currentProcessResources();
    const ProcessResources fake = processResources(game, gameId);
    std::printf("%-10s %8ld %10" PRIu64 " %6ld %5ld | %8ld %10" PRIu64
                " | %7lu %7lu %9lu %6lu %6lu %7u\n",
                when, winamp.handles, winamp.privateBytes / 1024, winamp.userObjects,
                winamp.gdiObjects, fake.handles, fake.privateBytes / 1024, tally.sent, tally.taken,
                tally.carriedOut, tally.tracks, tally.spawns, draws);
    std::fflush(stdout);
}

int soak(int minutes) {
    writeBusySettings();
    FakeGameProcess game(counterStrikeOptions());
    if (!game.start()) {
        std::fprintf(stderr, "fake game: %s\n", game.failure().c_str());
        return 1;
    }
    UniqueHandle gameProcess{
        ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, game.processId())};
    FakeEngine engine(game);
    FakeWinamp winamp;
    winamp.setTitle("Soak Artist - Track 0");
    winamp.setLength(kTrackSeconds);
    winamp.setPlayStatus(1);
    LoadedPlugin plugin;
    if (!plugin.loaded()) {
        std::fprintf(stderr, "gen_vireo.dll did not load\n");
        return 1;
    }
    plugin.init(winamp.handle());
    pumpMessagesFor(kSettle);  // the hook is in, auto-pause has seen the game
    writeSettingInt("EnableAutoPause", kAutoPauseFade);

    std::printf(
        "Soak: %d minute(s), every timer on, a command each %lld ms, a track each %lld "
        "ms, a spawn or death each %lld ms\n",
        minutes, static_cast<long long>(kTypeEvery.count()),
        static_cast<long long>(kTrackEvery.count()),
        static_cast<long long>(kPlayerStateEvery.count()));
    printHeader();
    Tally tally;
    printRow("start", gameProcess.get(), game.processId(), tally, engine.printCount());

    const auto start = Clock::now();
    const auto end = start + std::chrono::minutes(minutes);
    auto nextType = start, nextTrack = start + kTrackEvery, nextState = start + kPlayerStateEvery;
    auto nextReport = start + kReportEvery;
    bool lineWaiting = false, alive = false;
    int minute = 0;
    while (Clock::now() < end) {
        pumpMessagesFor(kSlice);
        const auto now = Clock::now();
        if (lineWaiting) {
            const std::string bytes = game.capturedLineBytes();
            if (!bytes.empty() && bytes.front() == '\0') {
                ++tally.taken;
                lineWaiting = false;
            }
        }
        if (now >= nextType && !lineWaiting) {
            if (game.writeCapturedLine("Vireo NextTrack")) {
                ++tally.sent;
                lineWaiting = true;
            }
            nextType += kTypeEvery;
        }
        if (now >= nextTrack) {
            ++tally.tracks;
            winamp.setTitle("Soak Artist - Track " + std::to_string(tally.tracks));
            winamp.setPosition(0);
            nextTrack += kTrackEvery;
        }
        if (now >= nextState) {
            alive = !alive;
            if (alive) ++tally.spawns;
            game.setPlayerState(alive ? 1 : 0);
            nextState += kPlayerStateEvery;
        }
        // The double keeps every message; count and forget them.
        for (const ReceivedMessage& received : winamp.log())
            if (received.type == WM_COMMAND && received.message.id == WINAMP_BUTTON5)
                ++tally.carriedOut;
        winamp.clear();
        if (now >= nextReport) {
            const std::string when = "minute " + std::to_string(++minute);
            printRow(when.c_str(), gameProcess.get(), game.processId(), tally, engine.printCount());
            nextReport += kReportEvery;
        }
    }
    printRow("end", gameProcess.get(), game.processId(), tally, engine.printCount());
    plugin.unload();
    pumpMessagesFor(std::chrono::milliseconds(500));
    printRow("unloaded", gameProcess.get(), game.processId(), tally, engine.printCount());
    const auto log = engine.log();
    std::printf("game-side faults: %u\n", log ? log->faults : 0u);
    return 0;
}

}  // namespace
}  // namespace vireo::test

int main(int argc, char** argv) {
    const int minutes = argc > 1 ? std::atoi(argv[1]) : vireo::test::kDefaultMinutes;
    return vireo::test::soak(minutes > 0 ? minutes : vireo::test::kDefaultMinutes);
}
