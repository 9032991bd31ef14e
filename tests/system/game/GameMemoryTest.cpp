// Reading and writing the game's memory at its landmarks, the mod it runs and
// the mod's liblist.gam, against fake_game.exe.

#include <gtest/gtest.h>

#include <optional>

#include "game/GameLocator.h"
#include "game/ModDirectory.h"
#include "game/ProcessMemory.h"
#include "support/FakeGame.h"
#include "support/FakeGameControl.h"
#include "support/TestSupport.h"
#include "system/game/HandleCheck.h"

namespace vireo::test {
namespace {

bool sameSet(const landmarks::LandmarkSet& a, const landmarks::LandmarkSet& b) {
    return a.capturedLine == b.capturedLine && a.modName == b.modName;
}

FakeGameOptions plainGame() {
    FakeGameOptions options;
    options.plantCopies = false;
    return options;
}

// The last page of a 32-bit address space, which no process ever maps.
// (Under Wine the low addresses of another process read as zeros even where
// nothing is allocated.)
constexpr std::uintptr_t kUnreadableAddress = 0xFFFFF000;

TEST(GameMemoryTest, WithoutAGameEveryAccessFailsAndNoHandleIsLeft) {
    ASSERT_EQ(findGameWindow(), nullptr) << "a window of class Half-Life is already open";
    unsigned char byte = 0;
    EXPECT_FALSE(readGameMemory(landmarks::kPlayerStateAddress, &byte, 1));
    EXPECT_FALSE(writeGameMemory(landmarks::kPlayerStateAddress, &byte, 1));
    EXPECT_EQ(readBuildMarker(), BuildMarker::Unreadable);
    refreshLandmarks();
    EXPECT_TRUE(sameSet(currentLandmarks(), landmarks::kLandmarksDefault));
    EXPECT_EQ(readCapturedLine(), "");
    EXPECT_FALSE(clearCapturedLine());
    EXPECT_FALSE(readPlayerStateFlag());
    EXPECT_EQ(modName(), "");
    EXPECT_EQ(liblistValue("game"), "");
    EXPECT_EQ(liblistGame(), "");

    expectNoHandleLeft("readCapturedLine", [] { (void)readCapturedLine(); });
    expectNoHandleLeft("clearCapturedLine", [] { clearCapturedLine(); });
    expectNoHandleLeft("readPlayerStateFlag", [] { (void)readPlayerStateFlag(); });
    expectNoHandleLeft("modName", [] { (void)modName(); });
    expectNoHandleLeft("liblistValue", [] { (void)liblistValue("game"); });
}

TEST(GameMemoryTest, TheBuildMarkerSelectsTheLandmarksAtEveryAccess) {
    const struct {
        const char* what;
        std::optional<std::uint16_t> marker;
        BuildMarker reading;
        landmarks::LandmarkSet set;
    } cases[] = {
        {"2343", 2343, BuildMarker::Build2343, landmarks::kLandmarks2343},
        {"0", 0, BuildMarker::OtherBuild, landmarks::kLandmarksDefault},
        {"2342", 2342, BuildMarker::OtherBuild, landmarks::kLandmarksDefault},
        {"2343 byte-swapped", 0x2709, BuildMarker::OtherBuild, landmarks::kLandmarksDefault},
        {"2343 again, after a game of another build", 2343, BuildMarker::Build2343,
         landmarks::kLandmarks2343},
        {"unreadable", std::nullopt, BuildMarker::Unreadable, landmarks::kLandmarksDefault},
    };
    // Each case starts a new game: the set must follow it without a restart.
    for (const auto& c : cases) {
        FakeGameOptions options = plainGame();
        options.buildMarker = c.marker;
        options.modName = "cstrike";
        FakeGameProcess game(options);
        ASSERT_TRUE(game.start()) << c.what << ": " << game.failure();
        if (c.marker || !runningUnderWine())
            EXPECT_EQ(readBuildMarker(), c.reading) << c.what;
        else
            EXPECT_NE(readBuildMarker(), BuildMarker::Build2343)
                << c.what << " (Wine reads a missing page)";
        EXPECT_EQ(modName(), "cstrike") << c.what;
        EXPECT_TRUE(sameSet(currentLandmarks(), c.set)) << c.what;
        EXPECT_EQ(modDirectory(), game.directory() + "cstrike\\") << c.what;
        ASSERT_TRUE(game.writeCapturedLine("Vireo Play"));
        EXPECT_EQ(readCapturedLine(), "Vireo Play") << c.what;
        EXPECT_TRUE(clearCapturedLine()) << c.what;
        EXPECT_EQ(game.capturedLineBytes(), std::string(256, '\0')) << c.what;
    }
}

TEST(GameMemoryTest, TheCapturedLineIsTrimmedAndCleared) {
    FakeGameProcess game(plainGame());
    ASSERT_TRUE(game.start()) << game.failure();
    const struct {
        std::string bytes;
        std::string line;
    } cases[] = {
        {"Vireo NextTrack 2", "Vireo NextTrack 2"},
        {"Vireo Play   \n", "Vireo Play"},
        {"Vireo Play\n   ", "Vireo Play\n"},
        {std::string(256, 'a'), std::string(255, 'a')},
        {"", ""},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(game.writeCapturedLine(c.bytes));
        EXPECT_EQ(readCapturedLine(), c.line) << c.bytes;
    }
    ASSERT_TRUE(game.writeCapturedLine(std::string(256, 'b')));
    EXPECT_TRUE(clearCapturedLine());
    EXPECT_EQ(game.capturedLineBytes(), std::string(256, '\0'));
    EXPECT_EQ(readCapturedLine(), "");

    expectNoHandleLeft("readCapturedLine", [] { (void)readCapturedLine(); });
    expectNoHandleLeft("clearCapturedLine", [] { clearCapturedLine(); });
}

TEST(GameMemoryTest, PlainReadsWritesAndThePlayerState) {
    FakeGameProcess game(plainGame());
    ASSERT_TRUE(game.start()) << game.failure();
    for (std::uint8_t state : {0, 1, 0x80, 0xFF}) {
        ASSERT_TRUE(game.setPlayerState(state));
        EXPECT_EQ(readPlayerStateFlag(), state != 0) << int(state);
    }

    std::uint32_t magic = 0;
    EXPECT_TRUE(readGameMemory(fake_game::kControlBlockAddress, &magic, sizeof magic, true));
    EXPECT_EQ(magic, fake_game::kControlMagic);
    const std::uint8_t alive = 1;
    EXPECT_TRUE(writeGameMemory(landmarks::kPlayerStateAddress, &alive, 1));
    std::uint8_t seen = 0;
    ASSERT_TRUE(game.read(landmarks::kPlayerStateAddress, &seen, 1));
    EXPECT_EQ(seen, 1);

    EXPECT_FALSE(readGameMemory(kUnreadableAddress, &magic, sizeof magic));
    EXPECT_FALSE(writeGameMemory(kUnreadableAddress, &alive, 1));
    expectNoHandleLeft("readGameMemory",
                       [&] { readGameMemory(landmarks::kPlayerStateAddress, &seen, 1); });
    expectNoHandleLeft("writeGameMemory",
                       [&] { writeGameMemory(landmarks::kPlayerStateAddress, &alive, 1); });
    expectNoHandleLeft("failed read", [&] { readGameMemory(kUnreadableAddress, &seen, 1); });
    expectNoHandleLeft("failed write", [&] { writeGameMemory(kUnreadableAddress, &alive, 1); });
}

TEST(GameMemoryTest, TheModNameIsAtMostTwentyBytes) {
    FakeGameProcess game(plainGame());
    ASSERT_TRUE(game.start()) << game.failure();
    EXPECT_EQ(modName(), "valve");
    ASSERT_TRUE(game.setModName(std::string(20, 'm')));
    EXPECT_EQ(modName(), std::string(20, 'm'));
    ASSERT_TRUE(game.setModName(""));
    EXPECT_EQ(modName(), "");
    EXPECT_EQ(modDirectory(), game.directory() + "\\");
    expectNoHandleLeft("modDirectory", [] { (void)modDirectory(); });
}

TEST(GameMemoryTest, LiblistValuesComeFromTheRunningModsFile) {
    FakeGameOptions options = plainGame();
    options.modName = "cstrike";
    options.liblist =
        "// liblist\r\n"
        "game \"Counter-Strike\"\r\n"
        "  url_info \"www.example.com\"\r\n"
        "version \"1.6\"\r\n"
        "type \"multiplayer_only\"\r\n"
        "gamedll \"dlls\\mp.dll\"\r\n"
        "gamedll_linux \"dlls/cs_i386.so\"\r\n";
    FakeGameProcess game(options);
    ASSERT_TRUE(game.start()) << game.failure();
    EXPECT_EQ(liblistGame(), "Counter-Strike");
    EXPECT_EQ(liblistValue(" game "), "Counter-Strike");
    EXPECT_EQ(liblistUrlInfo(), "www.example.com");
    EXPECT_EQ(liblistVersion(), "1.6");
    EXPECT_EQ(liblistType(), "multiplayer_only");
    EXPECT_EQ(liblistGameDll(), "dlls\\mp.dll");
    EXPECT_EQ(liblistGameDllLinux(), "dlls/cs_i386.so");
    EXPECT_EQ(liblistValue("startmap"), "");
    expectNoHandleLeft("liblistValue", [] { (void)liblistValue("game"); });

    // Another mod name in memory: its directory has no liblist.gam.
    ASSERT_TRUE(game.setModName("valve"));
    EXPECT_EQ(liblistGame(), "");
}

}  // namespace
}  // namespace vireo::test
