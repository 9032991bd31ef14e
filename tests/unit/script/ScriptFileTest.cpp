// The script file's byte form and the directories it may be written into.

#include <gtest/gtest.h>

#include <string>

#include "script/ScriptFile.h"

namespace vireo::test {
namespace {

TEST(ScriptFileTest, LineFeedsBecomeCarriageReturnLineFeed) {
    const struct {
        std::string text;
        std::string bytes;
    } rows[] = {
        {"", ""},
        {"a\nb", "a\r\nb"},
        {"a\r\nb", "a\r\r\nb"},
        {"\n\n", "\r\n\r\n"},
        {"a\rb\n", "a\rb\r\n"},
        {std::string("a\0b\n", 4), std::string("a\0b\r\n", 5)},
    };
    for (const auto& row : rows) EXPECT_EQ(toTextModeBytes(row.text), row.bytes) << row.text;
}

TEST(ScriptFileTest, OnlyAbsoluteDirectoriesAreWrittenInto) {
    for (const char* directory :
         {"D:\\Games\\Half-Life\\", "c:\\hl\\cstrike\\", "Z:/x/", "\\\\server\\share\\"})
        EXPECT_TRUE(isAbsoluteDirectory(directory)) << directory;
    // What an unknown game directory leaves: the mod name alone, a lone
    // backslash (the current drive's root), or nothing.
    for (const char* directory : {"", "\\", "cstrike\\", "D:", "D:cstrike\\", "1:\\x\\"})
        EXPECT_FALSE(isAbsoluteDirectory(directory)) << directory;
}

}  // namespace
}  // namespace vireo::test
