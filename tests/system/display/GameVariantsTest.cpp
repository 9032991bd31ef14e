// Games other than a plain hl.exe: Counter-Strike, a restarted game, an
// executable of another name, and game builds whose engine-table address
// holds no usable table. One plug-in serves them all, one game at a time.

#include "DisplayRig.h"

#include <cstdio>

#include "support/UdpListener.h"

namespace vireo::test {
namespace {

constexpr Colour kRed{1.0f, 1.0f, 0.0f};

class GameVariantsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { rig = new DisplayRig; }
    static void TearDownTestSuite() {
        delete rig;
        rig = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(rig->plugin->loaded());
        // Shown, so that a faulty game side would call both entries.
        writeSettingInt("ShowGUI", 1);
        writeSettingInt("DisplayColor", 3);
    }

    // Starts a game and expects the DLL in it from the installer's first tick.
    static void startHooked(const FakeGameOptions& options) {
        const auto ticks = rig->startGame(options);
        ASSERT_TRUE(ticks) << options.exeName << ": gen_vireo.dll never appeared; " << rig->state();
        EXPECT_EQ(*ticks, 1u) << options.exeName;
    }

    static DisplayRig* rig;
};
DisplayRig* GameVariantsTest::rig = nullptr;

TEST_F(GameVariantsTest, CounterStrikeIsDrawnAndARestartedGameIsHookedAgain) {
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        ASSERT_NO_FATAL_FAILURE(startHooked(gameNamed("cstrike.exe")));
        const auto tick = rig->engine->nextTick();
        ASSERT_TRUE(tick) << rig->state();
        expectDrawn(*tick, kComposed, 11, kRed, rig->gameThread());
        const auto log = rig->engine->log();
        ASSERT_TRUE(log);
        EXPECT_EQ(log->wakeMessages, 1u) << "one hook for the new window";
    }
}

TEST_F(GameVariantsTest, AWindowOnTheGamesSecondThreadIsHookedAndDrawnThere) {
    FakeGameOptions options = gameNamed("hl.exe");
    options.windowOnSecondThread = true;
    ASSERT_NO_FATAL_FAILURE(startHooked(options));
    const DWORD windowThread = ::GetWindowThreadProcessId(rig->game->window(), nullptr);
    ASSERT_EQ(rig->gameThread(), windowThread);
    const auto tick = rig->engine->nextTick();
    ASSERT_TRUE(tick) << rig->state();
    expectDrawn(*tick, kComposed, 11, kRed, windowThread);
}

TEST_F(GameVariantsTest, AnotherExecutableGetsTheDllButDrawsNothing) {
    ASSERT_NO_FATAL_FAILURE(startHooked(gameNamed("game.exe")));
    pumpMessagesFor(3 * kDrawPeriod);
    const auto log = rig->engine->log();
    ASSERT_TRUE(log);
    EXPECT_EQ(log->vireoLoaded, 1u);
    EXPECT_EQ(log->vireoTimerMessages, 0u) << "no game-side timer";
    EXPECT_EQ(log->printCount, 0u);
    EXPECT_TRUE(rig->game->running());
}

TEST_F(GameVariantsTest, TablesThatAreNoTablesDrawNothingAndTheGameRunsOn) {
    using namespace fake_game;
    for (const char* table : {kEngineTableNone, kEngineTableData, kEngineTableNothing}) {
        SCOPED_TRACE(std::string("engine table: ") + table);
        ASSERT_NO_FATAL_FAILURE(startHooked(gameNamed("hl.exe", {kOptionEngineTable, table})));
        // The timer runs and each tick decides to draw nothing.
        EXPECT_TRUE(pumpUntil(
            [&] {
                const auto log = rig->engine->log();
                return log && log->vireoTimerMessages >= 3;
            },
            3 * kDrawPeriod + kTimerSlack))
            << rig->state();
        const auto log = rig->engine->log();
        ASSERT_TRUE(log);
        EXPECT_EQ(log->printCount, 0u);
        EXPECT_EQ(log->faults, 0u) << rig->state();
        EXPECT_TRUE(rig->game->running());
        EXPECT_TRUE(gameSideReads(*rig, false, 0)) << "the refusal reaches Winamp";
    }
}

// By hand only (--gtest_also_run_disabled_tests): prints what Vireo Status
// answers in a served game and in one whose engine table is refused.
TEST_F(GameVariantsTest, DISABLED_PrintsTheStatusOfAServedAndARefusedGame) {
    using namespace fake_game;
    UdpListener console(27005);
    for (const char* table : {kEngineTableReal, kEngineTableData}) {
        ASSERT_NO_FATAL_FAILURE(startHooked(gameNamed("hl.exe", {kOptionEngineTable, table})));
        pumpMessagesFor(3 * kDrawPeriod);
        ASSERT_TRUE(rig->game->writeCapturedLine("Vireo Status"));
        pumpUntil([] { return rig->game->capturedLineBytes()[0] == '\0'; }, kPatience);
        const auto datagram = console.receive(kPatience);
        ASSERT_TRUE(datagram);
        std::printf("engine table %s:\n%s\n", table,
                    reinterpret_cast<const char*>(datagram->data()) + 5);
    }
}

}  // namespace
}  // namespace vireo::test
