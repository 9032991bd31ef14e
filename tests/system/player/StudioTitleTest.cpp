// Winamp 3 titles come from the caption of the top-level "STUDIO" window,
// which FindWindow sees machine-wide; hence a system test.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "player/PlayerControl.h"
#include "player/WinampIpc.h"
#include "support/FakeWinamp.h"

namespace vireo::test {
namespace {

class StudioTitleTest : public ::testing::Test {
protected:
    StudioTitleTest() {
        winamp.setVersion(0x3000);
        winamp.setTitle("Winamp 2 Artist - Winamp 2 Song");  // must not be asked for
        player.setWindow(winamp.handle());
    }

    FakeWinamp winamp;
    PlayerControl player;
};

TEST_F(StudioTitleTest, NoStudioWindowGivesEmptyTexts) {
    ASSERT_EQ(::FindWindowA(WINAMP3_STUDIO_CLASS, nullptr), nullptr);
    EXPECT_EQ(player.getTitle(), "");
    EXPECT_EQ(player.getArtist(), "");
    EXPECT_EQ(player.getSongTitle(), "");
    EXPECT_EQ(winamp.requests(IPC_GETPLAYLISTTITLE).size(), 0u);
}

TEST_F(StudioTitleTest, CaptionIsCutToTitleArtistAndSong) {
    struct Row {
        std::string caption;
        const char* title;
        const char* artist;
        const char* song;
    };
    const std::string longName(260, 'A');
    const Row rows[] = {
        {"7. Artist - Song (1:02) (x)", "Artist - Song", "Artist", "Song"},
        {"", "", "", ""},
        {"Winamp3", "", "", ""},
        {"3. Song (1:02)", "Song ", "", "Song "},
        // Only 255 characters are read: the parentheses lie beyond them.
        {"1. " + longName + " (1:02) (x)", nullptr, "", nullptr},
    };
    FakeStudioWindow studio;
    for (const auto& row : rows) {
        studio.setText(row.caption);
        winamp.clear();
        const std::string expectedLong(252, 'A');
        EXPECT_EQ(player.getTitle(), row.title ? row.title : expectedLong) << row.caption;
        EXPECT_EQ(player.getArtist(), row.artist) << row.caption;
        EXPECT_EQ(player.getSongTitle(), row.song ? row.song : expectedLong) << row.caption;
        EXPECT_EQ(winamp.requests(IPC_GETVERSION).size(), 3u) << row.caption;
        EXPECT_EQ(winamp.messages().size(), 3u) << row.caption;
    }
}

TEST_F(StudioTitleTest, Winamp2And5IgnoreTheStudioWindow) {
    {
        FakeStudioWindow studio("7. Studio Artist - Studio Song (1:02) (x)");
        struct Row {
            std::uint32_t version;
            const char* title;
        };
        const Row rows[] = {
            {0x2FFF, "Winamp 2 Artist - Winamp 2 Song"},
            {0x3000, "Studio Artist - Studio Song"},
            {0x3FFF, "Studio Artist - Studio Song"},
            {0x5000, "Winamp 2 Artist - Winamp 2 Song"},
            {0x5666, "Winamp 2 Artist - Winamp 2 Song"},
        };
        for (const auto& row : rows) {
            winamp.setVersion(row.version);
            EXPECT_EQ(player.getTitle(), row.title) << std::hex << row.version;
        }
    }
    // Winamp 5 where no studio window exists at all: the playlist title.
    winamp.setVersion(0x5666);
    EXPECT_EQ(player.getArtist(), "Winamp 2 Artist");
    EXPECT_EQ(player.getSongTitle(), "Winamp 2 Song");
}

}  // namespace
}  // namespace vireo::test
