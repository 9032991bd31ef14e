#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "player/TrackText.h"

namespace vireo::test {
namespace {

TEST(TrackTextTest, Winamp3CaptionIsCutToTheTitle) {
    struct Row {
        const char* caption;
        const char* title;
    };
    const Row rows[] = {
        {"7. Artist - Song (1:02) (x)", "Artist - Song"},
        {"12. A (live) - B (3:00) (y)", "A (live) - B"},
        {"", ""},
        {"Winamp3", ""},
        {"1. ", ""},
        // Fewer than two "(" after the entry number: nothing left to cut at.
        {"3. Song (1:02)", "Song "},
        {"3. Song", "Song"},
        {"3. (a) (b)", "(a) "},
        {"9. ((", "("},
    };
    for (const auto& row : rows) EXPECT_EQ(studioTitle(row.caption), row.title) << row.caption;
}

// At the first " - " when the title holds one, else at the first "-".
TEST(TrackTextTest, ArtistAndSongSplitAtTheFirstSeparator) {
    struct Row {
        const char* title;
        const char* artist;
        const char* song;
    };
    const Row rows[] = {
        {"Artist - Song", "Artist", "Song"},
        {"No separator", "", "No separator"},
        {"", "", ""},
        {"A-B", "", ""},
        {"AC-DC - Live", "AC-DC", "Live"},
        {"Jay-Z - Empire State", "Jay-Z", "Empire State"},
        {"Station - Artist - Song", "Station", "Artist - Song"},
        {" - - - ", "", "- - "},
        {"Jay-Z", "Ja", ""},     // no " - ": the first "-" as before
        {"- Song", "", "Song"},  // nothing in front of the dash
        {"-", "", ""},
        {"Song -", "Song", ""},
        {"Songs-", "Song", ""},
        {"Song - ", "Song", ""},
        {"Song -x", "Song", ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(artistOf(row.title), row.artist) << row.title;
        EXPECT_EQ(songTitleOf(row.title), row.song) << row.title;
    }
}

TEST(TrackTextTest, MinutesAndSecondsTruncateAsSignedIntegers) {
    struct Row {
        std::int32_t milliseconds;
        const char* text;
    };
    const Row positions[] = {
        {0, "0:00"},       {59999, "0:59"},         {60000, "1:00"},
        {61500, "1:01"},   {3725000, "62:05"},      {-1, "0:00"},
        {-61000, "-1:-1"}, {INT32_MAX, "35791:23"}, {INT32_MIN, "-35791:-23"},
    };
    for (const auto& row : positions)
        EXPECT_EQ(positionText(row.milliseconds), row.text) << row.milliseconds;

    struct LengthRow {
        std::int32_t reply;
        bool winamp3;
        const char* text;
    };
    const LengthRow lengths[] = {
        {245, false, "4:05"},   {3600, false, "60:00"},    {-1, false, "0:00"},
        {-61, false, "-1:-1"},  {245000000, true, "4:05"}, {-1, true, "0:00"},
        {999999, true, "0:00"},
    };
    for (const auto& row : lengths)
        EXPECT_EQ(lengthText(row.reply, row.winamp3), row.text)
            << row.reply << " winamp3 " << row.winamp3;
}

TEST(TrackTextTest, VersionTextAndFamilyUseTheLow16Bits) {
    struct Row {
        std::uint32_t version;
        const char* text;
        bool winamp3;
    };
    const Row rows[] = {
        {0x2091, "2.091", false},     {0x3000, "3.00", true},       {0x2005, "2.05", false},
        {0, "0.00", false},           {0xFFFF, "F.FFF", false},     {0x2FFF, "2.FFF", false},
        {0x12342091, "2.091", false}, {0x00013000, "3.00", true},   {0xFFFF2FFF, "2.FFF", false},
        {0x3FFF, "3.FFF", true},      {0x4000, "4.00", false},      {0x5000, "5.00", false},
        {0x5666, "5.666", false},     {0x00015666, "5.666", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(versionText(row.version), row.text) << std::hex << row.version;
        EXPECT_EQ(isWinamp3Family(row.version), row.winamp3) << std::hex << row.version;
    }
}

TEST(TrackTextTest, Winamp3BitrateCodes) {
    EXPECT_EQ(winamp3Bitrate(0), 96);
    EXPECT_EQ(winamp3Bitrate(0x00323131), 112);
    EXPECT_EQ(winamp3Bitrate(0x00323931), 192);
    EXPECT_EQ(winamp3Bitrate(5), 128);
    EXPECT_EQ(winamp3Bitrate(0x01323131), 128);  // the whole 32 bits count
    EXPECT_EQ(winamp3Bitrate(0xFFFFFFFF), 128);
}

// The ordinary targets are checked through PlayerControl; these are the
// extremes, where signed arithmetic would overflow.
TEST(TrackTextTest, JumpTargetsWrapLike32BitIntegers) {
    EXPECT_EQ(seekTarget(100, INT32_MAX), -1000);
    EXPECT_EQ(seekTarget(INT32_MIN, -1), 0);
    EXPECT_EQ(skipTarget(INT32_MIN, -1), 2147482648);
    EXPECT_EQ(negated(INT32_MIN), INT32_MIN);
    EXPECT_EQ(winamp3Panning(INT32_MAX), INT32_MIN + 126);
}

TEST(TrackTextTest, LoadNamesLoseTheirTrailingSeparators) {
    struct Row {
        const char* typed;
        const char* handed;
    };
    const Row rows[] = {
        {"C:\\Music\\", "C:\\Music"},
        {"C:\\Music\\\\/", "C:\\Music"},
        {"music/", "music"},
        {"\\\\server\\share\\", "\\\\server\\share"},
        {"C:\\Music\\a.mp3", "C:\\Music\\a.mp3"},
        // A drive's root is Winamp's to handle; so is a name of separators only.
        {"C:\\", "C:\\"},
        {"C:/", "C:/"},
        {"d:\\\\", "d:\\\\"},
        {"\\", "\\"},
        {"", ""},
        {"HTTP://radio.example/live/", "HTTP://radio.example/live/"},
        {"https://radio.example\\", "https://radio.example\\"},
        {"ftp://radio.example/", "ftp://radio.example"},
    };
    for (const auto& row : rows) EXPECT_EQ(loadName(row.typed), row.handed) << row.typed;
}

}  // namespace
}  // namespace vireo::test
