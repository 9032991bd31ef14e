// The script file's byte form, the directories it may be written into, and
// how the writer decides between a skip, a move and a write in place.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
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

TEST(ScriptPlacementTest, SkipsOnlyTheBytesLastLeftInAFileOfTheirSize) {
    ScriptPlacement placement;
    EXPECT_FALSE(placement.unchanged(kPath, "", 0)) << "nothing written yet";
    placement.moved(kPath, "abc");
    const struct {
        const char* path;
        const char* bytes;
        std::optional<std::uint64_t> size;
        bool unchanged;
    } rows[] = {
        {kPath, "abc", 3, true},
        {kPath, "abd", 3, false},        // new bytes of the same length
        {kPath, "abc", 5, false},        // someone changed the file
        {kPath, "abc", std::nullopt, false},  // someone deleted it
        {kOtherPath, "abc", 3, false},   // another mod's folder
    };
    for (const auto& row : rows)
        EXPECT_EQ(placement.unchanged(row.path, row.bytes, row.size), row.unchanged)
            << row.path << " " << row.bytes;
    placement.writtenInPlace(kOtherPath, "");
    EXPECT_TRUE(placement.unchanged(kOtherPath, "", 0));
    placement.failed();
    EXPECT_FALSE(placement.unchanged(kOtherPath, "", 0)) << "a failed write leaves anything";
}

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
