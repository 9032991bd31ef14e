// The mod folder of a game of today, from its command line or its title.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/ModFolder.h"

namespace vireo::test {
namespace {

using Args = std::vector<std::string>;

TEST(ModFolderTest, SplitsAsCommandLineToArgvW) {
    const struct {
        const char* line;
        Args args;
    } cases[] = {
        {"", {}},
        {"hl.exe", {"hl.exe"}},
        {"\"C:\\Program Files\\hl.exe\" -game cstrike",
         {"C:\\Program Files\\hl.exe", "-game", "cstrike"}},
        {"C:\\a\\\"b c\" d", {"C:\\a\\\"b", "c d"}},  // the program ends at its first blank
        {"hl.exe  \t-game \"Counter Strike\"  ", {"hl.exe", "-game", "Counter Strike"}},
        {"x a\\\\b \\\\\\\\\"c d\" \\\"e", {"x", "a\\\\b", "\\\\c d", "\"e"}},
        {"x \"a\\\\\" b", {"x", "a\\", "b"}},
        {"x \"\" \"a\"\"b\" \"\"\"\"", {"x", "", "a\"b \""}},
        {"x ab\"c d\"ef \"\xc3\xa9\"", {"x", "abc def", "\xc3\xa9"}},
    };
    for (const auto& row : cases) EXPECT_EQ(splitCommandLine(row.line), row.args) << row.line;
}

TEST(ModFolderTest, GameArgumentIsOnePlainFolderName) {
    const struct {
        const char* line;
        std::optional<std::string> folder;
        bool condebug;
    } cases[] = {
        {"hl.exe -game cstrike -condebug", "cstrike", true},
        {"hl.exe -GAME \"Counter Strike\" -CONDEBUG", "Counter Strike", true},
        {"hl.exe -game a;b -game valve", "a;b", false},
        {"hl.exe -game", std::nullopt, false},
        {"hl.exe -game ..\\x", std::nullopt, false},
        {"hl.exe -game ..", std::nullopt, false},
        {"hl.exe -game .", std::nullopt, false},
        {"hl.exe -game c:cstrike", std::nullopt, false},
        {"hl.exe -game a/b", std::nullopt, false},
        {"hl.exe -game \"\"", std::nullopt, false},
        {"-game cstrike", std::nullopt, false},  // the program itself
        {"hl.exe -gamex cstrike -condebugx", std::nullopt, false},
    };
    for (const auto& row : cases) {
        const Args args = splitCommandLine(row.line);
        EXPECT_EQ(gameArgument(args), row.folder) << row.line;
        EXPECT_EQ(hasConsoleDebug(args), row.condebug) << row.line;
    }
}

TEST(ModFolderTest, OneFolderTitledSo) {
    const std::vector<ModCandidate> mods = {
        {"valve", "Half-Life"},      {"cstrike", "Counter-Strike"},
        {"czero", "Condition Zero"}, {"copy1", "Copy"},
        {"copy2", "Copy"},           {"nolist", ""}};
    EXPECT_EQ(folderTitled(mods, "Counter-Strike"), "cstrike");
    EXPECT_EQ(folderTitled(mods, "counter-strike"), std::nullopt);
    EXPECT_EQ(folderTitled(mods, "Copy"), std::nullopt) << "two folders answer";
    EXPECT_EQ(folderTitled(mods, ""), std::nullopt) << "the title has not come yet";
    EXPECT_EQ(folderTitled(mods, "Counter-Strike \"; quit"), std::nullopt);
}

}  // namespace
}  // namespace vireo::test
