// The in-game display end to end: the plug-in loaded as Winamp loads it,
// with the Winamp double as its host window, and the fake game as hl.exe or
// cstrike.exe. The hook maps the DLL into the game, the composer fills the
// shared block, and the game side prints through the fake engine's table,
// whose log tells what was drawn, where and in which colour.
//
// The slow part is waiting for the game: one game per suite, started once
// and shared by the suite's tests, which run in the order written here.

#include "DisplayRig.h"

namespace vireo::test {
namespace {

class HalfLifeDisplayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { rig = new DisplayRig; }
    static void TearDownTestSuite() {
        delete rig;
        rig = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(rig->plugin->loaded()); }
    // Starts hl.exe on first use; the tests after that share it.
    static bool gameUp() {
        if (!started) {
            started = true;
            hookTicks = rig->startGame(gameNamed("hl.exe"));
        }
        return hookTicks.has_value();
    }

    static DisplayRig* rig;
    static bool started;
    static std::optional<unsigned> hookTicks;
};
DisplayRig* HalfLifeDisplayTest::rig = nullptr;
bool HalfLifeDisplayTest::started = false;
std::optional<unsigned> HalfLifeDisplayTest::hookTicks;

TEST_F(HalfLifeDisplayTest, ComposerLeavesTheSlotsAloneWhileNoGameRuns) {
    SharedDisplayBlock* block = sharedBlockOf(rig->plugin->module());
    ASSERT_NE(block, nullptr);
    for (auto& slot : block->lines) storeDisplayLine(slot, "left alone");
    ASSERT_TRUE(pumpTicks(kDisplayComposerTimerId, 2, kComposerPeriod));
    for (int k = 0; k < 6; ++k) EXPECT_STREQ(block->lines[k], "left alone") << "slot " << k + 1;
}

TEST_F(HalfLifeDisplayTest, GameIsHookedByTheInstallersFirstTick) {
    ASSERT_TRUE(gameUp()) << "gen_vireo.dll never appeared in the game: " << rig->state();
    EXPECT_EQ(*hookTicks, 1u);
}

TEST_F(HalfLifeDisplayTest, ComposerExpandsTheTemplatesIntoTheSlots) {
    ASSERT_TRUE(gameUp());
    SharedDisplayBlock* block = sharedBlockOf(rig->plugin->module());
    ASSERT_NE(block, nullptr);
    ASSERT_TRUE(pumpTicks(kDisplayComposerTimerId, 1, kComposerPeriod));
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(std::string(block->lines[k]), kComposed[k]) << "slot " << k + 1;
        EXPECT_EQ(block->lines[k][255], '\0') << "slot " << k + 1;
    }
}

TEST_F(HalfLifeDisplayTest, HiddenDisplayPrintsSixEmptyRows) {
    ASSERT_TRUE(gameUp());
    writeSettingInt("ShowGUI", 0);
    const auto tick = rig->engine->nextTick();
    ASSERT_TRUE(tick) << rig->state();
    expectDrawn(*tick, kEmptyRows, 11, kWhite, rig->gameThread());
    EXPECT_TRUE(gameSideReads(*rig, true, 0));
}

TEST_F(HalfLifeDisplayTest, ShownLinesAreDrawnLiterallyInTheChosenColour) {
    ASSERT_TRUE(gameUp());
    writeSettingInt("ShowGUI", 1);
    struct Row {
        std::int32_t displayColor;
        Colour colour;
    };
    const Row rows[] = {
        {0, kWhite},
        {1, {0.4f, 0.4f, 0.4f}},
        {2, {0.8f, 0.8f, 0.8f}},
        {3, {1.0f, 1.0f, 0.0f}},
        {7, kWhite},
        {-1, kWhite},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("DisplayColor " + std::to_string(row.displayColor));
        writeSettingInt("DisplayColor", row.displayColor);
        const auto tick = rig->engine->nextTick();
        ASSERT_TRUE(tick) << rig->state();
        expectDrawn(*tick, kComposed, 11, row.colour, rig->gameThread());
    }
    EXPECT_TRUE(gameSideReads(*rig, true, 5)) << "five rows have text, one is empty";
    writeSettingInt("DisplayColor", 0);
}

TEST_F(HalfLifeDisplayTest, StartLineIsPassedOnAsItIs) {
    ASSERT_TRUE(gameUp());
    writeSettingInt("ShowGUI", 1);
    for (std::int32_t startLine : {0, -5}) {
        SCOPED_TRACE("StartLine " + std::to_string(startLine));
        writeSettingInt("StartLine", startLine);
        const auto tick = rig->engine->nextTick();
        ASSERT_TRUE(tick) << rig->state();
        expectDrawn(*tick, kComposed, startLine, kWhite, rig->gameThread());
    }
    writeSettingInt("StartLine", 11);
}

TEST_F(HalfLifeDisplayTest, OpenConsoleBlanksTheRowsUntilItCloses) {
    ASSERT_TRUE(gameUp());
    writeSettingInt("ShowGUI", 1);
    ASSERT_TRUE(rig->engine->setConsoleVisible(true));
    auto tick = rig->engine->nextTick();
    ASSERT_TRUE(tick) << rig->state();
    expectDrawn(*tick, kEmptyRows, 11, kWhite, rig->gameThread());
    EXPECT_TRUE(gameSideReads(*rig, true, 0, true));
    ASSERT_TRUE(rig->engine->setConsoleVisible(false));
    tick = rig->engine->nextTick();
    ASSERT_TRUE(tick) << rig->state();
    expectDrawn(*tick, kComposed, 11, kWhite, rig->gameThread());
}

// Last but one: it takes the plug-in away and brings it back.
TEST_F(HalfLifeDisplayTest, QuitPluginStopsTheDrawingAndARestartBringsItBack) {
    ASSERT_TRUE(gameUp());
    writeSettingInt("ShowGUI", 1);
    // Two more installer ticks have passed with the same window: one hook,
    // so the installer woke the game thread exactly once.
    const unsigned ticksSinceHook = timerTicks(kHookInstallerTimerId) - rig->hookedAtTick;
    if (ticksSinceHook < 2) {
        ASSERT_TRUE(pumpTicks(kHookInstallerTimerId, 2 - ticksSinceHook, kInstallerPeriod));
    }
    auto log = rig->engine->log();
    ASSERT_TRUE(log);
    EXPECT_EQ(log->wakeMessages, 1u);
    auto tick = rig->engine->nextTick();
    ASSERT_TRUE(tick) << rig->state();
    expectDrawn(*tick, kComposed, 11, kWhite, rig->gameThread());

    // Winamp quits and unloads the plug-in, which removes the hook. The
    // system may free the DLL in the game on any of its threads, or never;
    // here the game's own thread tries, and the pinned module stays.
    const std::uint32_t atQuit = rig->engine->printCount();
    rig->plugin->unload();
    ASSERT_TRUE(rig->engine->requestUnload());
    // A draw already under way when Winamp quit may still finish: it has
    // once the game side's timer has come round twice more (a tick is
    // counted as the game takes it, before it runs).
    ASSERT_TRUE(rig->engine->waitTimerMessages(2, kDrawPeriod + kTimerSlack)) << rig->state();
    const std::uint32_t settled = rig->engine->printCount();
    EXPECT_LE(settled - atQuit, 6u) << "at most the draw that was under way";
    ASSERT_TRUE(rig->engine->waitTimerMessages(3, 3 * kDrawPeriod + kTimerSlack)) << rig->state();

    log = rig->engine->log();
    ASSERT_TRUE(log);
    EXPECT_TRUE(rig->game->running());
    EXPECT_EQ(log->printCount, settled) << "lines drawn after the plug-in quit";
    EXPECT_EQ(log->unloads, 1u);
    EXPECT_EQ(log->vireoLoaded, 1u) << "the module in the game is pinned";
    EXPECT_EQ(log->staleTimerMessages, 0u) << "the game-side timer outlived its code";
    EXPECT_EQ(log->faults, 0u) << std::hex << log->firstFaultAddress;
    const std::uint32_t timerMessages = log->vireoTimerMessages;

    // Winamp starts the plug-in again: the game side draws again with the
    // timer it already has.
    rig->plugin = std::make_unique<LoadedPlugin>();
    ASSERT_TRUE(rig->plugin->loaded());
    rig->plugin->init(rig->winamp.handle());
    // The start empties the block, and the composer fills it again at its
    // first tick: the first draw after that tick shows the lines.
    ASSERT_TRUE(pumpTicks(kDisplayComposerTimerId, 1, kComposerPeriod));
    tick = rig->engine->nextTick();
    ASSERT_TRUE(tick) << rig->state();
    expectDrawn(*tick, kComposed, 11, kWhite, rig->gameThread());
    log = rig->engine->log();
    ASSERT_TRUE(log);
    EXPECT_GT(log->vireoTimerMessages, timerMessages);
    EXPECT_EQ(log->faults, 0u) << std::hex << log->firstFaultAddress;
}

// Last: Winamp starts again with the in-game display switched off, while the
// game, which keeps the DLL, still has the last lines in its block. Nothing
// composes them any more, so none may stay on the screen.
TEST_F(HalfLifeDisplayTest, ARestartWithTheDisplayOffLeavesNoLinesOnScreen) {
    ASSERT_TRUE(gameUp());
    writeSettingInt("ShowGUI", 1);
    auto tick = rig->engine->nextTick();
    ASSERT_TRUE(tick) << rig->state();
    expectDrawn(*tick, kComposed, 11, kWhite, rig->gameThread());

    rig->plugin->unload();
    writeSettingInt("EnableIngameDisplay", 0);
    rig->plugin = std::make_unique<LoadedPlugin>();
    ASSERT_TRUE(rig->plugin->loaded());
    const SharedDisplayBlock* block = sharedBlockOf(rig->plugin->module());
    ASSERT_NE(block, nullptr);
    ASSERT_EQ(std::string(block->lines[0]), kComposed[0]) << "the game's block kept its text";
    rig->plugin->init(rig->winamp.handle());
    for (int draw = 1; draw <= 2; ++draw) {
        tick = rig->engine->nextTick();
        ASSERT_TRUE(tick) << "draw " << draw << ": " << rig->state();
        expectDrawn(*tick, kEmptyRows, 11, kWhite, rig->gameThread());
    }
}

}  // namespace
}  // namespace vireo::test
