// The cfg files a game of today runs, read as the game reads them, and the
// console-log lines that may act.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "commands/GameFiles.h"
#include "support/ConsoleRule.h"

namespace vireo::test {
namespace {

constexpr std::string_view kMarker = "Vireo-ab12cd34";

std::vector<std::string> commandsOf(std::string_view file) {
    std::vector<std::string> commands;
    for (const CommandSpan& span : consoleCommands(file))
        commands.emplace_back(file.substr(span.start, span.end - span.start));
    return commands;
}

// What the engine's echo prints for a command of unquoted words or one
// quoted argument: each argument and a blank.
std::string printed(std::string_view echo) {
    std::string_view args = echo.substr(5);
    if (args.front() == '"') return std::string(args.substr(1, args.size() - 2)) + " ";
    std::string out;
    for (std::size_t at = 0; at < args.size();) {
        const std::size_t end = std::min(args.find(' ', at), args.size());
        out.append(args.substr(at, end - at)).append(" ");
        at = end + 1;
    }
    return out;
}

TEST(GameFilesTest, LogLinesThatAct) {
    for (const LogCommand& command : logCommands()) {
        const std::string line = std::string(kMarker) + " " + std::string(command.row) + " ";
        EXPECT_EQ(logLineCommand(line, kMarker), command.row) << line;
    }
    const char* const nearMisses[] = {
        "Vireo-ab12cd34 NextTrack",         "Vireo-ab12cd34 nexttrack 2",
        "Vireo-ab12cd34nexttrack",          "Vireo-ab12cd35 nexttrack",
        "vireo-ab12cd34 nexttrack",         "Vireo-ab12cd34x nexttrack",
        " Vireo-ab12cd34 nexttrack",        "Vireo-ab12cd34 loaded",
        "Vireo-ab12cd34 fastforward 50",    "Vireo-ab12cd34 load x.mp3",
        "Player: Vireo-ab12cd34 nexttrack", "Vireo-ab12cd34 ",
    };
    for (const char* line : nearMisses) EXPECT_FALSE(logLineCommand(line, kMarker)) << line;
    EXPECT_FALSE(logLineCommand("Vireo-AB12CD34 play", "Vireo-AB12CD34")) << "no marker";
    EXPECT_TRUE(isLoadedLine("Vireo-ab12cd34 loaded ", kMarker));
    EXPECT_FALSE(isLoadedLine("Vireo-ab12cd34 loaded now", kMarker));
}

TEST(GameFilesTest, MarkerForm) {
    EXPECT_TRUE(isCommandMarker(kMarker));
    for (const char* bad : {"", "Vireo-", "Vireo-ab12cd3", "Vireo-ab12cd345", "vireo-ab12cd34",
                            "Vireo_ab12cd34", "Vireo-ab12cD34", "Vireo-ab12cd;4"})
        EXPECT_FALSE(isCommandMarker(bad)) << bad;
    EXPECT_EQ(commandMarkerFrom(std::string("\x00\x19\x1a\x23\x24\xff\x47\x48", 8)),
              "Vireo-az09ad9a");
    EXPECT_EQ(commandMarkerFrom("1234567"), "") << "too few random bytes";
}

TEST(GameFilesTest, CommandsFileAsTheGameReadsIt) {
    const std::string file = commandsCfgText(kMarker);
    const std::vector<std::string> commands = commandsOf(file);
    ASSERT_EQ(commands.size(), logCommands().size() + 5);
    for (std::size_t i = 0; i < commands.size() - 1; ++i) {
        const std::string& alias = commands[i];
        const std::size_t open = alias.find('"');
        ASSERT_EQ(alias.rfind("alias ", 0), 0u) << alias;
        ASSERT_EQ(alias.back(), '"') << alias;
        const std::string body = alias.substr(open + 1, alias.size() - open - 2);
        for (const char c : body)
            EXPECT_TRUE(isalnum(static_cast<unsigned char>(c)) || c == ' ' || c == '-' || c == '.')
                << alias;
        if (i < logCommands().size()) {  // the round trip: the alias's echo acts as its row
            EXPECT_EQ(logLineCommand(printed(body), kMarker), logCommands()[i].row) << alias;
        }
    }
    EXPECT_EQ(commands[16], "alias vireo_help \"exec VireoHelp.cfg\"");
    EXPECT_EQ(commands[17], "alias vireo_status \"exec VireoStatus.cfg\"");
    EXPECT_EQ(commands[19], "alias Vireo \"exec VireoHelp.cfg\"");
    EXPECT_TRUE(isLoadedLine(printed(commands.back()), kMarker));
    EXPECT_EQ(commandsCfgText("Vireo-\"; quit"), "") << "only a marker goes into the aliases";
}

TEST(GameFilesTest, EchoFilesGiveOnlyEchoes) {
    const std::string status = statusCfgText(
        "Game: hl.exe \"; quit\n\nMod folder: C:\\Games\\a;b\"c\xc3\xa9\\cstrike // x\r\n" +
        std::string(400, 'w') + "\n\x01\x1b\x7f");
    const std::string help = helpCfgText();
    EXPECT_NE(help.find("bind F5 vireo_nexttrack"), std::string::npos);
    for (const LogCommand& command : logCommands())
        EXPECT_NE(help.find(std::string(command.alias) + " "), std::string::npos) << command.alias;
    EXPECT_EQ(help.find("classic"), std::string::npos);

    const std::vector<std::string> statusCommands = commandsOf(status);
    ASSERT_EQ(statusCommands.size(), 4u) << status;
    EXPECT_EQ(printed(statusCommands[0]), "Game: hl.exe '; quit ");
    EXPECT_EQ(printed(statusCommands[3]), "??? ");
    for (const std::string& file : {status, help}) {
        for (const std::string& echo : commandsOf(file)) {
            ASSERT_EQ(echo.rfind("echo \"", 0), 0u) << echo;
            const std::string text = echo.substr(6, echo.size() - 7);
            EXPECT_EQ(echo.back(), '"') << echo;
            EXPECT_LE(text.size(), kEchoTextLimit) << echo;
            for (const char c : text)
                EXPECT_TRUE(c != '"' && static_cast<unsigned char>(c) >= 0x20 && c != 0x7f) << echo;
        }
    }
}

}  // namespace
}  // namespace vireo::test
