// The script file's byte form, the directories it may be written into, and
// when the writer gives up moving and writes in place.

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

constexpr char kPath[] = "D:\\hl\\cstrike\\Vireo.cfg";
constexpr char kOtherPath[] = "D:\\hl\\valve\\Vireo.cfg";

TEST(ScriptPlacementTest, TenRefusalsInARowWriteInPlaceUntilAMoveSucceeds) {
    ScriptPlacement placement;
    for (unsigned i = 1; i < ScriptPlacement::kRefusalsBeforeInPlace; ++i) {
        EXPECT_FALSE(placement.nextWriteInPlace(kPath));
        EXPECT_FALSE(placement.refused(kPath, false)) << i;
    }
    // A refusal in another folder starts the count over.
    EXPECT_FALSE(placement.refused(kOtherPath, false));
    EXPECT_EQ(placement.refusalsInARow(), 1u);
    for (unsigned i = 1; i < ScriptPlacement::kRefusalsBeforeInPlace; ++i)
        EXPECT_FALSE(placement.refused(kPath, false));
    EXPECT_TRUE(placement.refused(kPath, false));
    EXPECT_TRUE(placement.inPlace());

    // In place from now on, with a move tried every so often; refused, that
    // write goes in place too.
    unsigned retries = 0;
    for (unsigned i = 0; i < 2 * ScriptPlacement::kWritesBetweenMoveRetries; ++i)
        if (!placement.nextWriteInPlace(kPath)) {
            ++retries;
            EXPECT_TRUE(placement.refused(kPath, false));
        }
    EXPECT_EQ(retries, 2u);
    EXPECT_FALSE(placement.nextWriteInPlace(kOtherPath)) << "another folder moves";
    placement.moved(kPath, "x");
    EXPECT_FALSE(placement.inPlace());
    EXPECT_EQ(placement.refusalsInARow(), 0u);
    EXPECT_FALSE(placement.nextWriteInPlace(kPath));

    // Windows 9x has no move: in place at once.
    EXPECT_TRUE(placement.refused(kPath, true));
    EXPECT_TRUE(placement.inPlace());
}

}  // namespace
}  // namespace vireo::test
