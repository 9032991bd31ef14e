// Finding the running game: its window, process, thread, directory and kind,
// against fake_game.exe started under the names a player's game has.

#include <gtest/gtest.h>

#include <cstdio>

#include "commands/StatusReport.h"
#include "common/ProcessWide.h"
#include "player/PlayerControl.h"
#include "support/FakeWinamp.h"
#include "game/GameLocator.h"
#include "support/FakeGame.h"
#include "system/game/HandleCheck.h"

namespace vireo::test {
namespace {

FakeGameOptions withExe(const std::string& name) {
    FakeGameOptions options;
    options.exeName = name;
    options.plantCopies = false;
    return options;
}

TEST(GameLocatorTest, WithoutAGameEveryAnswerIsNeutral) {
    ASSERT_EQ(findGameWindow(), nullptr) << "a window of class Half-Life is already open";
    EXPECT_FALSE(isGameRunning());
    EXPECT_EQ(gameProcessId(), 0u);
    EXPECT_EQ(gameThreadId(), 0u);
    EXPECT_EQ(gameDirectory(), "");
    EXPECT_EQ(gameExeName(), "");
    EXPECT_EQ(gameKind(), GameKind::OtherGame);
    expectNoHandleLeft("gameThreadId", [] { (void)gameThreadId(); });
    expectNoHandleLeft("gameDirectory", [] { (void)gameDirectory(); });
    expectNoHandleLeft("gameKind", [] { (void)gameKind(); });
    for (StatusForm form : {StatusForm::Window, StatusForm::Console})
        EXPECT_NE(statusReport(form).find("\nGame: not running.\n"), std::string::npos);
    expectNoHandleLeft("statusReport", [] { (void)statusReport(StatusForm::Window); });
}

TEST(GameLocatorTest, TheExecutableNameGivesTheKindIgnoringCase) {
    const struct {
        const char* exe;
        GameKind kind;
    } cases[] = {
        {"hl.exe", GameKind::HalfLife},           {"HL.EXE", GameKind::HalfLife},
        {"cstrike.exe", GameKind::CounterStrike}, {"CStrike.Exe", GameKind::CounterStrike},
        {"hl2.exe", GameKind::OtherGame},         {"xhl.exe", GameKind::OtherGame},
    };
    for (const auto& c : cases) {
        FakeGameProcess game(withExe(c.exe));
        ASSERT_TRUE(game.start()) << c.exe << ": " << game.failure();
        EXPECT_EQ(gameExeName(), c.exe);
        EXPECT_EQ(gameKind(), c.kind) << c.exe;
    }
}

TEST(GameLocatorTest, TheRunningGameIsFoundWithItsProcessThreadAndDirectory) {
    FakeGameProcess game(withExe("hl.exe"));
    ASSERT_TRUE(game.start()) << game.failure();
    EXPECT_TRUE(isGameRunning());
    EXPECT_EQ(findGameWindow(), game.window());
    EXPECT_EQ(gameProcessId(), game.processId());
    // The fake's first thread is the one that made its window.
    EXPECT_EQ(gameThreadId(), ::GetWindowThreadProcessId(game.window(), nullptr));
    EXPECT_EQ(gameDirectory(), game.directory());
    EXPECT_EQ(gameDirectory().back(), '\\');
    EXPECT_EQ(gameExeName(), "hl.exe");

    expectNoHandleLeft("gameThreadId", [] { (void)gameThreadId(); });
    expectNoHandleLeft("gameDirectory", [] { (void)gameDirectory(); });
    expectNoHandleLeft("gameExeName", [] { (void)gameExeName(); });

    game.stop();
    EXPECT_EQ(gameProcessId(), 0u) << "a game that ended is not found";
    EXPECT_EQ(gameDirectory(), "");
}

TEST(GameLocatorTest, TheGameThreadIsTheWindowsThreadNotTheFirstListed) {
    FakeGameOptions options = withExe("hl.exe");
    options.windowOnSecondThread = true;
    FakeGameProcess game(options);
    ASSERT_TRUE(game.start()) << game.failure();
    const DWORD windowThread = ::GetWindowThreadProcessId(game.window(), nullptr);
    ASSERT_NE(windowThread, 0u);
    EXPECT_EQ(gameThreadId(), windowThread);
}

// By hand only (--gtest_also_run_disabled_tests): without a game nothing can
// be typed in its console, so this process composes the status, as the
// Status window does.
TEST(GameLocatorTest, DISABLED_PrintsTheStatusWithoutAGame) {
    FakeWinamp winamp;
    playerControl.setWindow(winamp.handle());
    std::printf("%s", statusReport(StatusForm::Window).c_str());
    playerControl.setWindow(nullptr);
}

// The status names the game Vireo cannot serve, and the class of its window.
TEST(GameLocatorTest, AWindowTitledHalfLifeOfAnotherClassIsNotTheGame) {
    const struct {
        const char* exe;
        const char* windowClass;
        const char* build;
    } rows[] = {
        {"hl.exe", "SDL_app", "a newer build"},
        {"cstrike.exe", "Valve001", "an older Steam build"},
        {"hl.exe", "NotTheGame", "a build"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.windowClass);
        FakeGameOptions options = withExe(row.exe);
        options.windowClass = row.windowClass;
        FakeGameProcess game(options);
        ASSERT_TRUE(game.start()) << game.failure();
        EXPECT_EQ(::FindWindowA(nullptr, "Half-Life"), game.window());
        EXPECT_EQ(findGameWindow(), nullptr);
        EXPECT_EQ(gameProcessId(), 0u);
        EXPECT_EQ(gameKind(), GameKind::OtherGame);
        const std::string line = std::string("\nGame: ") + row.exe +
                                 " runs, but its window is of class " + row.windowClass +
                                 ", not Half-Life: " + row.build + " that Vireo does not support.";
        const std::string status = statusReport(StatusForm::Console);
        EXPECT_NE(status.find(line), std::string::npos) << status;
    }
}

}  // namespace
}  // namespace vireo::test
