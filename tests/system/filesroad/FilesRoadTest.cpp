// A game of today end to end, through the real timers: the plug-in writes its
// cfg files into the fake game's mod folder, the game runs them, and a bound
// key's alias reaches Winamp through nothing but qconsole.log.

#include <gtest/gtest.h>

#include "common/Timers.h"
#include "player/WinampIpc.h"
#include "support/FakeGame.h"
#include "support/FakeWinamp.h"
#include "support/TestSupport.h"

namespace vireo::test {
namespace {

constexpr auto kPoll = std::chrono::milliseconds(kFilesRoadPeriodMs);

TEST(FilesRoadTest, KeyAliasesReachWinampThroughTheGamesLogOnly) {
    deleteSettingsKey();
    writeSettingInt("EnableIngameDisplay", 0);
    FakeWinamp winamp;
    winamp.setPlaylist({"Files Band - One", "Files Band - Two"});
    FakeGameProcess game(todayOptions());
    ASSERT_TRUE(game.start()) << game.failure();
    LoadedPlugin plugin;
    ASSERT_TRUE(plugin.loaded());
    plugin.init(winamp.handle());

    // The game runs VireoCommands.cfg once it is there; its last line tells
    // the plug-in, through the log, that the file was loaded.
    const std::string commands = game.modDirectory() + "VireoCommands.cfg";
    ASSERT_TRUE(
        pumpUntil([&] { return ::GetFileAttributesA(commands.c_str()) != INVALID_FILE_ATTRIBUTES; },
                  kTimerSlack))
        << "no " << commands;
    const std::string marker = readSettingText("CommandMarker");
    ASSERT_EQ(marker.size(), 14u) << marker;
    ASSERT_TRUE(pumpUntil(
        [&] {
            return fileText(game.consoleLogPath()).find(marker + " loaded \n") != std::string::npos;
        },
        kTimerSlack))
        << fileText(game.consoleLogPath());

    struct Row {
        const char* alias;
        std::vector<unsigned> expected;  // the commands Winamp received
    };
    const Row rows[] = {
        {"vireo_nexttrack", {WINAMP_BUTTON5}},
        {"vireo_previoustrack", {WINAMP_BUTTON1}},
        {"vireo_pause", {WINAMP_BUTTON3}},
        {"vireo_stop", {WINAMP_BUTTON4}},
    };
    for (const Row& row : rows) {
        winamp.clear();
        ASSERT_TRUE(game.press(row.alias)) << row.alias;
        EXPECT_TRUE(pumpUntil([&] { return winamp.commands().size() >= row.expected.size(); },
                              kPoll + kTimerSlack))
            << row.alias;
        pumpMessagesFor(2 * kPoll);
        EXPECT_EQ(winamp.commands(), row.expected) << row.alias;
    }

    // Lines a server could print, and the classic command typed by habit
    // (which shows the help): none is a row behind the marker.
    winamp.clear();
    for (const std::string& forged :
         {std::string("echo nexttrack"), std::string("echo Vireo-00000000 nexttrack"),
          "echo " + marker + " nexttrack 2", "echo " + marker + "x stop",
          "echo " + marker + " setvolume 0", std::string("Vireo NextTrack")})
        ASSERT_TRUE(game.press(forged)) << forged;
    pumpMessagesFor(3 * kPoll);
    EXPECT_TRUE(winamp.commands().empty());

    // The plug-in's reads never locked the game's appends out.
    const auto block = game.report();
    ASSERT_TRUE(block);
    EXPECT_GT(block->logAppends, 0u);
    EXPECT_EQ(block->logRefusals, 0u) << "error " << block->logLastError;
    EXPECT_GE(block->execCount, 1u);
}

}  // namespace
}  // namespace vireo::test
