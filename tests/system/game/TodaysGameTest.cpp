// The files road against fake_game.exe as a game of today (hl.exe, window
// class SDL_app) and the Winamp double: the mod folder it finds, the marker
// in the settings key, the cfg files it writes and the log lines that reach
// Winamp. Wine 8 cannot answer the command line's information class, so the
// command line comes through the reader's seam.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "commands/CommandSet.h"
#include "commands/GameFiles.h"
#include "commands/RoadFiles.h"
#include "common/ProcessWide.h"
#include "game/GameLink.h"
#include "game/TodaysGame.h"
#include "player/PlayerControl.h"
#include "player/WinampIpc.h"
#include "script/ScriptFile.h"
#include "support/FakeGame.h"
#include "support/FakeWinamp.h"
#include "support/TestSupport.h"

namespace vireo::test {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> answeredLine;
std::optional<std::string> answerLine(HANDLE) noexcept { return answeredLine; }

void tick() { filesRoadTick(nullptr, 0, 0, 0); }

FakeGameOptions todaysOptions(const std::string& title) {
    FakeGameOptions options;
    options.windowClass = "SDL_app";
    options.windowTitle = title;
    options.modName = "cstrike";
    options.liblist = "game \"Counter-Strike\"\n";
    options.plantCopies = false;
    return options;
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Each row its own game process: the look-ups run once per process.
TEST(TodaysGameTest, ModFolderFromCommandLineTitleOrFallback) {
    struct Row {
        std::optional<std::string> commandLine;
        std::string title;
        std::string mod;
        ModFolderSource from;
    } rows[] = {
        {"\"C:\\Games\\hl.exe\" -game cstrike -condebug", "Half-Life", "cstrike",
         ModFolderSource::CommandLine},
        {"hl.exe -game \"..\\cstrike\"", "Counter-Strike", "cstrike", ModFolderSource::Title},
        {"hl.exe -game missing", "Counter-Strike", "cstrike", ModFolderSource::Title},
        {std::nullopt, "Counter-Strike", "cstrike", ModFolderSource::Title},
        {std::nullopt, "\"; quit", "valve", ModFolderSource::Fallback},
    };
    setCommandLineReader(answerLine);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.title);
        answeredLine = row.commandLine;
        FakeGameProcess game(todaysOptions(row.title));
        ASSERT_TRUE(game.start()) << game.failure();
        ASSERT_TRUE(pumpUntil(
            [&] {
                updateTodaysGame();
                return todaysGame() && todaysGame()->modFrom != ModFolderSource::NotYet;
            },
            std::chrono::seconds(15)));
        EXPECT_EQ(todaysGame()->modName, row.mod);
        EXPECT_EQ(todaysGame()->modFrom, row.from);
        EXPECT_EQ(todaysGame()->gameFolder, game.directory());
        EXPECT_EQ(todaysGame()->consoleDebug,
                  row.commandLine
                      ? std::optional<bool>(row.commandLine->find("-condebug") != std::string::npos)
                      : std::nullopt);
        game.stop();
        updateTodaysGame();
        EXPECT_EQ(todaysGame(), nullptr) << "the window went: the road ended";
    }
    setCommandLineReader(nullptr);
}

TEST(TodaysGameTest, MarkerCreatedOnceKeptAndAMalformedOneReplaced) {
    (void)readSettingInt("EnableScripting");  // the settings' key is chosen
    deleteSettingValue(kCommandMarkerValue);
    const std::string first = commandMarker();
    EXPECT_TRUE(isCommandMarker(first)) << first;
    EXPECT_EQ(readSettingText(kCommandMarkerValue), first);
    EXPECT_EQ(commandMarker(), first);
    for (const char* stored : {"Vireo-", "Vireo-ABCDEFGH", "vireo-abcdefgh", "x"}) {
        writeSettingText(kCommandMarkerValue, stored);
        const std::string made = commandMarker();
        EXPECT_TRUE(isCommandMarker(made)) << stored;
        EXPECT_EQ(readSettingText(kCommandMarkerValue), made);
    }
    deleteSettingValue(kCommandMarkerValue);
}

// The four files in the mod folder, left alone while unchanged, and the
// marker's lines of the log reaching Winamp through the command table.
TEST(TodaysGameTest, FilesWrittenAndLogLinesReachWinamp) {
    (void)readSettingInt("EnableScripting");
    answeredLine = "hl.exe -game cstrike";
    setCommandLineReader(answerLine);
    FakeGameProcess game(todaysOptions("Counter-Strike"));
    ASSERT_TRUE(game.start()) << game.failure();
    FakeWinamp winamp;
    playerControl.setWindow(winamp.handle());
    gameLink.addCommand(kCommandWord, commandSetHandler);
    const std::string log = game.directory() + "qconsole.log";
    { std::ofstream(log, std::ios::binary) << "an older line\n"; }

    tick();
    const std::string marker = commandMarker();
    const std::string commands = game.modDirectory() + std::string(kCommandsCfgName);
    EXPECT_EQ(readFile(commands), toTextModeBytes(commandsCfgText(marker)));
    EXPECT_EQ(readFile(game.modDirectory() + std::string(kHelpCfgName)),
              toTextModeBytes(helpCfgText()));
    EXPECT_TRUE(fs::exists(game.modDirectory() + std::string(kStatusCfgName)));
    const auto writtenAt = fs::last_write_time(commands);

    {
        std::ofstream append(log, std::ios::binary | std::ios::app);
        append << "Server says " << marker << " nexttrack\n"
               << marker << " nexttrack \r\n"
               << marker << " loaded\n"
               << marker << " Load\n";
    }
    pumpMessagesFor(std::chrono::milliseconds(1100));
    tick();
    EXPECT_EQ(winamp.commands(), std::vector<unsigned>{WINAMP_BUTTON5});
    EXPECT_NE(roadReport().loadedAt, 0u);
    EXPECT_TRUE(todaysGame()->logGrew);
    EXPECT_EQ(fs::last_write_time(commands), writtenAt) << "unchanged: left alone";

    gameLink.removeCommand(kCommandWord);
    playerControl.setWindow(nullptr);
    game.stop();
    tick();
    setCommandLineReader(nullptr);
    deleteSettingValue(kCommandMarkerValue);
}

}  // namespace
}  // namespace vireo::test
