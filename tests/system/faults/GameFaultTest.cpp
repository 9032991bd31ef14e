// Faults on the game's side, with the plug-in loaded on the Winamp double:
// the game dies in the middle of the unknown-command scan or changes its
// regions under it, its liblist.gam is hostile, its mod name or captured line
// holds bytes no game writes, and its engine table changes between draws.
// Each case keeps Winamp's thread answering, the settings as they were and
// this process's handles and windows where they were.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "common/UniqueResource.h"
#include "game/Landmarks.h"
#include "game/MemoryScan.h"
#include "game/ModDirectory.h"
#include "game/ProcessMemory.h"
#include "player/WinampIpc.h"
#include "support/FakeEngine.h"
#include "system/faults/FaultRig.h"

namespace vireo::test {
namespace {

// How long a killed game may take to be gone. Generous: the machine may be
// busy; a game that is gone sooner ends the wait at once.
constexpr DWORD kGameEndsWithinMs = 30000;
constexpr unsigned kBigFootprintMb = 96;
constexpr std::size_t kHugeLiblistBytes = 10 * 1024 * 1024;
constexpr auto kAnswerTimeout = std::chrono::milliseconds(10000);

const std::string kCounterStrikeLine = "game \"Counter-Strike\"\r\n";

class GameFaultTest : public ::testing::Test {
protected:
    void SetUp() override { writeBusySettings(); }
};

// The game thread answers its window within the bound.
bool gameAnswers(const FakeGameProcess& game) {
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutA(game.window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG,
                                 static_cast<UINT>(kAnswerTimeout.count()), &result) != 0;
}

// Kills the game at a known point of a scan run by `scanner` (this program,
// or the plug-in's DLL): the scan asks for each region through a stand-in for
// VirtualQueryEx, which, at the first query after the scan was given a region
// to search, ends the game and waits until it is gone before passing the
// query on. The scan has then searched one region and has the rest of the
// address space before it.
// The kill happens on the scanning thread, between two queries, never while
// one is under way: under Wine another process's regions are described by
// that process itself, and a query it was answering when it was killed waits
// for ever.
class KillDuringScan {
public:
    KillDuringScan(const FakeGameProcess& game, HMODULE scanner)
        : game_(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, game.processId())),
          swap_(scanner, "kernel32.dll", "VirtualQueryEx", reinterpret_cast<void*>(&query)) {
        active_ = this;
    }
    ~KillDuringScan() { active_ = nullptr; }
    KillDuringScan(const KillDuringScan&) = delete;
    KillDuringScan& operator=(const KillDuringScan&) = delete;

    [[nodiscard]] bool ready() const { return game_ && swap_.swapped(); }
    // Set on the scanning thread, which is the test's own.
    [[nodiscard]] bool killed() const { return gone_.has_value(); }
    // When the game was found gone, before the scan went on.
    [[nodiscard]] Clock::time_point goneAt() const { return gone_.value_or(Clock::time_point{}); }

private:
    using Query = SIZE_T(WINAPI*)(HANDLE, LPCVOID, PMEMORY_BASIC_INFORMATION, SIZE_T);
    static SIZE_T WINAPI query(HANDLE process, LPCVOID address, PMEMORY_BASIC_INFORMATION region,
                               SIZE_T size) {
        KillDuringScan& self = *active_;
        if (self.searchedOne_ && !self.killed() && !self.gaveUp_) {
            ::TerminateProcess(self.game_.get(), 1);
            if (::WaitForSingleObject(self.game_.get(), kGameEndsWithinMs) != WAIT_OBJECT_0) {
                self.gaveUp_ = true;  // a query now could wait for ever: end the walk
                return 0;
            }
            self.gone_ = Clock::now();
        }
        const SIZE_T answer =
            reinterpret_cast<Query>(self.swap_.original())(process, address, region, size);
        if (answer != 0 && isScannableRegion(*region)) self.searchedOne_ = true;
        return answer;
    }

    static inline KillDuringScan* active_ = nullptr;
    UniqueHandle game_;
    ImportSwap swap_;
    bool searchedOne_ = false;
    bool gaveUp_ = false;
    std::optional<Clock::time_point> gone_;
};

// The scan itself, without the plug-in's timers: it gives up at once.
TEST_F(GameFaultTest, ScanGivesUpWhenTheGameDies) {
    FakeGameOptions options = counterStrikeOptions();
    options.footprintMb = kBigFootprintMb;
    auto game = startGame(options);
    ASSERT_TRUE(game);
    KillDuringScan killer(*game, ::GetModuleHandleA(nullptr));
    ASSERT_TRUE(killer.ready());
    EXPECT_FALSE(truncateAllCopies(std::string(landmarks::kUnknownCommandText)));
    ASSERT_TRUE(killer.killed());
    EXPECT_LT(Clock::now() - killer.goneAt(), kResponsiveBound);
    EXPECT_EQ(::GetThreadPriority(::GetCurrentThread()), THREAD_PRIORITY_NORMAL);
}

TEST_F(GameFaultTest, GameExitsInTheMiddleOfTheScan) {
    FakeGameOptions options = counterStrikeOptions();
    options.footprintMb = kBigFootprintMb;
    const auto before = resourceCounts();
    {
        WinampWithPlugin host;
        const auto settings = storedSettings();
        {
            auto game = startGame(options);
            ASSERT_TRUE(game);
            ResponsivenessProbe probe;
            KillDuringScan killer(*game, host.plugin->module());
            ASSERT_TRUE(killer.ready());
            EXPECT_TRUE(pumpUntil([&] { return killer.killed(); }, kScanStartsWithin + kTimerSlack))
                << "the scan never began";
            pumpMessagesFor(std::chrono::milliseconds(1000));
            EXPECT_EQ(::GetThreadPriority(::GetCurrentThread()), THREAD_PRIORITY_NORMAL);
            probe.expectResponsive("game killed during the scan");
        }
        // The plug-in goes on serving the next game.
        auto next = startGame(counterStrikeOptions());
        ASSERT_TRUE(next);
        EXPECT_TRUE(typeLine(*next, "Vireo NextTrack"));
        EXPECT_EQ(host.count(WINAMP_BUTTON5), 1u);
        expectSameSettings(settings, "game killed during the scan");
    }
    expectNoGrowth(before, "game killed during the scan");
}

// A thread of the game keeps committing, re-protecting and freeing regions
// full of the message while the scan walks them.
TEST_F(GameFaultTest, RegionsChangeDuringTheScan) {
    FakeGameOptions options = counterStrikeOptions();
    options.extraArguments.push_back(fake_game::kOptionChurnRegions);
    auto game = startGame(options);
    ASSERT_TRUE(game);
    const std::string pattern(landmarks::kUnknownCommandText);
    truncateAllCopies(pattern);  // warm-up: the first toolhelp and psapi use
    const auto before = resourceCounts();
    int completed = 0;
    for (int run = 0; run < 5; ++run) {
        const auto start = Clock::now();
        if (truncateAllCopies(pattern)) ++completed;
        EXPECT_LT(Clock::now() - start, kResponsiveBound) << "run " << run;
        EXPECT_EQ(::GetThreadPriority(::GetCurrentThread()), THREAD_PRIORITY_NORMAL);
    }
    EXPECT_TRUE(game->running());
    EXPECT_TRUE(gameAnswers(*game));
    expectNoGrowth(before, "regions changing during the scan");
    // A scan that met a vanished region gives up (and is not retried until
    // the mod changes); the planted copies of a scan that got through are
    // all patched.
    RecordProperty("completedScans", completed);
    if (completed > 0) {
        const auto report = game->report();
        ASSERT_TRUE(report);
        for (std::uint32_t i = 0; i < report->copyCount; ++i)
            if (report->copies[i].mustBePatched) {
                EXPECT_EQ(report->copies[i].firstByte, 0u) << "copy " << i;
            }
    }
}

enum class LiblistFault { Huge, HugeGameLineLast, Binary, Directory, LockedThenFreed };

struct LiblistRow {
    const char* what;
    LiblistFault fault;
    bool autoPauseActs;  // finds "Counter-Strike" and pauses on spawn
};

std::string liblistFor(LiblistFault fault) {
    switch (fault) {
        case LiblistFault::Huge: {
            std::string text = kCounterStrikeLine;
            while (text.size() < kHugeLiblistBytes) text += "version \"1.6\"\r\n";
            return text;
        }
        case LiblistFault::HugeGameLineLast:
            return std::string(kHugeLiblistBytes, 'x') + "\r\n" + kCounterStrikeLine;
        case LiblistFault::Binary: {
            std::string bytes;
            for (std::size_t i = 0; i < 16 * 1024; ++i)
                bytes += static_cast<char>((i * 2654435761u) >> 13);
            bytes += "\n" + kCounterStrikeLine;
            return bytes;
        }
        default:
            return kCounterStrikeLine;
    }
}

// Auto-pause reads the mod's liblist.gam at every tick while the game runs.
TEST_F(GameFaultTest, HostileLiblistKeepsAutoPauseResponsive) {
    const LiblistRow rows[] = {
        {"10 MB, game line first", LiblistFault::Huge, true},
        {"10 MB, game line past the part read", LiblistFault::HugeGameLineLast, false},
        {"binary, then the game line", LiblistFault::Binary, true},
        {"a directory", LiblistFault::Directory, false},
        {"locked by another program, then freed", LiblistFault::LockedThenFreed, true},
    };
    // One Winamp for every row: each row's game is a new game to auto-pause.
    WinampWithPlugin host;
    const auto settings = storedSettings();
    const auto before = resourceCounts();
    for (const LiblistRow& row : rows) {
        SCOPED_TRACE(row.what);
        FakeGameOptions options = counterStrikeOptions();
        options.liblist = liblistFor(row.fault);
        auto game = startGame(options);
        ASSERT_TRUE(game);
        const std::string path = game->modDirectory() + "liblist.gam";
        UniqueFileHandle lock;
        if (row.fault == LiblistFault::Directory) {
            ASSERT_TRUE(::DeleteFileA(path.c_str()));
            ASSERT_TRUE(::CreateDirectoryA(path.c_str(), nullptr));
        } else if (row.fault == LiblistFault::LockedThenFreed) {
            lock = UniqueFileHandle{::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr,
                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
            ASSERT_TRUE(lock);
        }
        game->setPlayerState(0);
        host.winamp.setPlayStatus(1);
        ResponsivenessProbe probe;
        ASSERT_TRUE(pumpTicks(kAutoPauseTimerId, 3, kAutoPauseTick));
        EXPECT_EQ(liblistValue("game").empty(),
                  row.fault != LiblistFault::Huge && row.fault != LiblistFault::Binary);
        lock.reset();
        // A freed file is seen as a new game at the next tick, which turns
        // auto-pause off: only then is it turned on.
        ASSERT_TRUE(pumpTicks(kAutoPauseTimerId, 1, kAutoPauseTick));
        writeSettingInt("EnableAutoPause", 2);
        game->setPlayerState(1);
        if (row.autoPauseActs) {
            EXPECT_TRUE(pumpUntil([&] { return host.winamp.playStatus() == 3; },
                                  kAutoPauseTick + kTimerSlack))
                << "not paused";
        } else {
            ASSERT_TRUE(pumpTicks(kAutoPauseTimerId, 4, kAutoPauseTick));
            EXPECT_NE(host.winamp.playStatus(), 3) << "paused";
        }
        writeSettingInt("EnableAutoPause", settings[9].value.integer());
        probe.expectResponsive(row.what);
        expectSameSettings(settings, row.what);
        if (row.fault == LiblistFault::Directory) ::RemoveDirectoryA(path.c_str());
    }
    expectNoGrowth(before, "hostile liblist.gam");
}

// The game's memory holds what no game writes: a mod name that fills its
// twenty bytes and runs on, and captured lines of bytes above 0x7F.
TEST_F(GameFaultTest, UnterminatedModNameAndHighByteLines) {
    auto game = startGame(counterStrikeOptions());
    ASSERT_TRUE(game);
    WinampWithPlugin host;
    const auto settings = storedSettings();
    ResponsivenessProbe probe;
    const auto before = resourceCounts();

    const std::string runOn(64, 'm');
    ASSERT_TRUE(game->write(game->landmarkSet().modName, runOn.data(), runOn.size()));
    EXPECT_EQ(modName(), std::string(20, 'm'));
    EXPECT_EQ(liblistValue("game"), "") << "no such mod directory";

    struct LineRow {
        const char* what;
        std::string bytes;
        bool taken;  // its first word is a command word
    };
    const LineRow lines[] = {
        {"256 bytes of 0xFF", std::string(256, '\xFF'), false},
        {"256 bytes of 0x80", std::string(256, '\x80'), false},
        {"the word, then 250 high bytes", "Vireo " + std::string(250, '\xE9'), true},
        {"the word and a high sub-command", "vireo \xC4\xD6\xDC 2", true},
        {"a no-break space after the word", "Vireo\xA0Play", false},
    };
    for (const LineRow& line : lines) {
        SCOPED_TRACE(line.what);
        // A line left to the game cannot be waited for: four polls' time passes.
        EXPECT_EQ(
            typeLine(*game, line.bytes, line.taken ? kConsolePoll + kTimerSlack : 4 * kConsolePoll),
            line.taken);
        game->writeCapturedLine("");
    }
    // The console still works, and nothing above reached Winamp.
    EXPECT_EQ(host.count(WINAMP_BUTTON5), 0u);
    EXPECT_TRUE(typeLine(*game, "Vireo NextTrack"));
    EXPECT_EQ(host.count(WINAMP_BUTTON5), 1u);
    probe.expectResponsive("mod name and lines");
    expectSameSettings(settings, "mod name and lines");
    expectNoGrowth(before, "mod name and lines");
}

// The game puts another engine table in place between two draws: none at
// all, entries pointing at data, entries pointing nowhere, then the real one.
TEST_F(GameFaultTest, EngineTableChangesBetweenTicks) {
    FakeGameOptions options;
    options.plantCopies = false;
    auto game = startGame(options);
    ASSERT_TRUE(game);
    FakeEngine engine(*game);
    WinampWithPlugin host;
    const auto settings = storedSettings();
    ResponsivenessProbe probe;
    ASSERT_TRUE(pumpUntil([&] { return engine.vireoLoaded(); }, kHookInstall + kTimerSlack));
    ASSERT_TRUE(engine.nextTick()) << "nothing drawn with the real table";

    using Kind = fake_game::EngineTableKind;
    for (const Kind kind :
         {Kind::None, Kind::Data, Kind::Real, Kind::Nothing, Kind::None, Kind::Real}) {
        SCOPED_TRACE(static_cast<int>(kind));
        ASSERT_TRUE(engine.requestTable(kind));
        ASSERT_TRUE(pumpUntil(
            [&] {
                const auto log = engine.log();
                return log && log->tableRequest == 0 &&
                       log->tableKind == static_cast<std::uint32_t>(kind);
            },
            kAnswerTimeout));
        const std::uint32_t printed = engine.printCount();
        ASSERT_TRUE(engine.waitTimerMessages(2, 2 * kDrawPeriod + kTimerSlack));  // two draws
        if (kind != Kind::Real) {
            EXPECT_EQ(engine.printCount(), printed);
        }
        EXPECT_TRUE(gameAnswers(*game));
    }
    EXPECT_TRUE(engine.nextTick()) << "no draw after the real table came back";
    const auto log = engine.log();
    ASSERT_TRUE(log);
    EXPECT_EQ(log->faults, 0u) << "first at 0x" << std::hex << log->firstFaultAddress;
    probe.expectResponsive("engine table changes");
    expectSameSettings(settings, "engine table changes");
}

}  // namespace
}  // namespace vireo::test
