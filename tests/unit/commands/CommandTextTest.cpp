// Console-line splitting, sub-command words, numbers and the help datagram.

#include <gtest/gtest.h>

#include <random>

#include "commands/CommandText.h"
#include "commands/HelpText.h"
#include "game/ConsoleLine.h"

namespace vireo {
namespace {

TEST(CommandTextTest, ConsoleLineSplitsAtTheFirstBlankOnly) {
    struct Row {
        std::string line, word, rest;
    };
    const Row rows[] = {
        {"Vireo Play", "Vireo", "Play"},
        {"   Vireo   NextTrack 2", "Vireo", "NextTrack 2"},
        {"Vireo", "Vireo", ""},
        {"Vireo     ", "Vireo", ""},
        {"Vireo\tPlay", "Vireo\tPlay", ""},  // a tab is no separator
        {"", "", ""},
        {"      ", "", ""},
        {"Vireo Load C:\\My Music\\track one.mp3  ", "Vireo", "Load C:\\My Music\\track one.mp3"},
        {"Vireo.", "Vireo.", ""},
    };
    for (const Row& row : rows) {
        const SplitLine split = splitConsoleLine(row.line);
        EXPECT_EQ(split.word, row.word) << '[' << row.line << ']';
        EXPECT_EQ(split.rest, row.rest) << '[' << row.line << ']';
    }
}

TEST(CommandTextTest, SubCommandWordAndArgumentKeepInnerBlanks) {
    const SplitLine load = splitSubCommand("Load C:\\My Music\\track one.mp3");
    EXPECT_EQ(load.word, "Load");
    EXPECT_EQ(load.rest, "C:\\My Music\\track one.mp3");
    const SplitLine spaced = splitSubCommand("NextTrack    2 3");
    EXPECT_EQ(spaced.word, "NextTrack");
    EXPECT_EQ(spaced.rest, "2 3");
    EXPECT_EQ(splitSubCommand("").word, "");
}

TEST(CommandTextTest, LowerCasingTouchesOnlyAToZ) {
    EXPECT_EQ(lowerAscii("NextTRACK"), "nexttrack");
    EXPECT_EQ(lowerAscii("\xC9T\xC9-@[`{Z"), "\xC9t\xC9-@[`{z");
    EXPECT_EQ(lowerAscii(std::string("A\0B", 3)), std::string("a\0b", 3));
}

TEST(CommandTextTest, NumbersReadLikeTheCLibraryAndNeverOverflow) {
    struct Row {
        const char* text;
        std::int32_t value;
    };
    const Row rows[] = {
        {"2", 2},
        {"2 3", 2},
        {"  \t-15x", -15},
        {"+7", 7},
        {"", 0},
        {"loud", 0},
        {"-", 0},
        {"- 5", 0},
        {"300", 300},
        {"2147483647", 2147483647},
        {"2147483648", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"-2147483649", -2147483647 - 1},
        {"99999999999999999999999999999999", 2147483647},
        {"-99999999999999999999999999999999", -2147483647 - 1},
        {"0x10", 0},
        {"\xB2", 0},
    };
    for (const Row& row : rows) EXPECT_EQ(readNumber(row.text), row.value) << row.text;
}

TEST(CommandTextTest, DatagramBytes) {
    EXPECT_EQ(consoleDatagram(""), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0x6C, 0x00}));
    EXPECT_EQ(consoleDatagram("abc"),
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 0x6C, 0x61, 0x62, 0x63, 0x00}));
    const std::vector<std::uint8_t> help = consoleDatagram(kHelpText);
    ASSERT_EQ(help.size(), 1824u);
    EXPECT_EQ(std::string(help.begin() + 5, help.end() - 1), kHelpText);
    EXPECT_EQ(help.back(), 0);
}

TEST(CommandTextTest, HelpTextLines) {
    std::vector<std::string> lines;
    std::string current;
    for (char c : kHelpText) {
        if (c == '\n') {
            lines.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    lines.push_back(current);
    ASSERT_EQ(lines.size(), 33u);
    for (int empty : {1, 3, 7, 26, 32}) EXPECT_EQ(lines[empty - 1], "") << empty;
    EXPECT_EQ(lines[1],
              "Use the following commands with Vireo. For \texample, \"Vireo Play\" would play the "
              "current track.");
    EXPECT_EQ(lines[11], "FastForward <seconds> : Fastforwards <seconds> number of seconds.\t");
    EXPECT_EQ(lines[27], "ShowGUI : Shows the in-game display.\t");
    EXPECT_EQ(lines[32], "END OF HELP.");
}

// The captured line is foreign memory: any bytes at all go through the same
// parsing the poll uses, and only an exact first word could ever match.
TEST(CommandTextTest, RandomLinesNeverFaultAndMatchOnlyTheExactWord) {
    std::mt19937 random(20261207);
    const std::string alphabet = std::string("Vireo vireo VIREO\t\n\r\x01\xFF\x80 ;\"%") + '\0';
    for (int i = 0; i < 20000; ++i) {
        std::string line(random() % 300, ' ');
        for (char& c : line) {
            const unsigned pick = random() % 4;
            c = pick == 0 ? static_cast<char>(random() % 256)
                          : alphabet[random() % alphabet.size()];
        }
        const SplitLine split = splitConsoleLine(line);
        if (split.word == "Vireo" || split.word == "vireo") {
            const std::size_t start = line.find_first_not_of(' ');
            ASSERT_EQ(line.compare(start, 5, split.word), 0);
            ASSERT_TRUE(start + 5 == line.size() || line[start + 5] == ' ');
        }
        const SplitLine sub = splitSubCommand(split.rest);
        ASSERT_EQ(sub.word.find(' '), std::string::npos);
        (void)readNumber(sub.rest);
        (void)lowerAscii(sub.word);
    }
}

}  // namespace
}  // namespace vireo
