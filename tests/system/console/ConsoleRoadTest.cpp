// The console road end to end, through the real timers: a line typed into the
// fake Counter-Strike's buffer reaches the Winamp double; the unknown-command
// message is silenced after the mod appears; auto-pause follows the player.
// One slow wait (the scan's delay) is shared by the checks that run during it.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>

#include "commands/HelpText.h"
#include "player/WinampIpc.h"
#include "support/FakeGame.h"
#include "support/FakeWinamp.h"
#include "support/TestSupport.h"
#include "support/UdpListener.h"

namespace vireo::test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr char kHalfLifeLiblist[] = "game \"Half-Life\"\r\ngamedll \"dlls\\hl.dll\"\r\n";

// Winamp's window, the game and the plug-in, kept for the whole suite so the
// checks share the waits.
struct Session {
    FakeWinamp winamp;
    std::unique_ptr<FakeGameProcess> game;
    LoadedPlugin plugin;
    Clock::time_point gameSeen{};                // when the current game came up
    std::optional<Clock::time_point> patchedAt;  // when its copies read patched
};

Session* session = nullptr;

bool allEligibleCopiesPatched(const FakeGameProcess& game, bool* untouchedOk = nullptr) {
    const auto block = game.report();
    if (!block || block->copyCount == 0) return false;
    bool patched = true, intact = true;
    for (std::uint32_t i = 0; i < block->copyCount; ++i) {
        const fake_game::PlantedCopy& copy = block->copies[i];
        if (copy.mustBePatched)
            patched = patched && copy.firstByte == 0 && copy.restIntact;
        else
            intact = intact && copy.firstByte == 'U' && copy.restIntact;
    }
    if (untouchedOk) *untouchedOk = intact;
    return patched;
}

bool anyCopyPatched(const FakeGameProcess& game) {
    const auto block = game.report();
    if (!block) return false;
    for (std::uint32_t i = 0; i < block->copyCount; ++i)
        if (block->copies[i].firstByte == 0) return true;
    return false;
}

// Pumps the timers, noting when the running game's copies become patched.
void pump(std::chrono::milliseconds duration) {
    const auto end = Clock::now() + duration;
    while (Clock::now() < end) {
        pumpMessagesFor(50ms);
        if (!session->patchedAt && session->game && anyCopyPatched(*session->game))
            session->patchedAt = Clock::now();
    }
}

bool pumpUntilCleared(std::chrono::milliseconds timeout) {
    const auto end = Clock::now() + timeout;
    while (Clock::now() < end) {
        pump(50ms);
        if (session->game->capturedLineBytes() == std::string(256, '\0')) return true;
    }
    return false;
}

void startGame(FakeGameOptions options) {
    session->game = std::make_unique<FakeGameProcess>(std::move(options));
    ASSERT_TRUE(session->game->start()) << session->game->failure();
    session->gameSeen = Clock::now();
    session->patchedAt.reset();
}

class ConsoleRoadTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        deleteSettingsKey();
        writeSettingInt("EnableScripting", 0);
        writeSettingInt("EnableIngameDisplay", 0);
        session = new Session;
        session->winamp.setPlaylist({"Road Band - One", "Road Band - Two"});
        startGame(counterStrikeOptions());
        ASSERT_TRUE(session->plugin.loaded());
        session->plugin.init(session->winamp.handle());
    }
    static void TearDownTestSuite() {
        delete session;
        session = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(session && session->game && session->game->running()); }

    FakeWinamp& winamp() { return session->winamp; }
    FakeGameProcess& game() { return *session->game; }

    // Types a line and answers the messages Winamp received for it.
    std::vector<WinampMessage> typeMatched(const std::string& line) {
        winamp().clear();
        EXPECT_TRUE(game().writeCapturedLine(line));
        EXPECT_TRUE(pumpUntilCleared(2s)) << "not taken: [" << line << ']';
        return winamp().messages();
    }
    // Types a line that is not ours: it stays, and nothing reaches Winamp.
    void typeIgnored(const std::string& line) {
        winamp().clear();
        ASSERT_TRUE(game().writeCapturedLine(line));
        pump(700ms);  // more than two polls
        std::string expected(256, '\0');
        std::copy(line.begin(), line.end(), expected.begin());
        EXPECT_EQ(game().capturedLineBytes(), expected) << '[' << line << ']';
        EXPECT_TRUE(winamp().messages().empty()) << '[' << line << ']';
    }

    void expectPatchedInTime(const char* which) {
        const auto end = session->gameSeen + 16s;
        while (!session->patchedAt && Clock::now() < end) pump(100ms);
        ASSERT_TRUE(session->patchedAt) << which << ": the copies were never patched";
        bool untouchedOk = false;
        EXPECT_TRUE(allEligibleCopiesPatched(game(), &untouchedOk)) << which;
        EXPECT_TRUE(untouchedOk) << which;
        // The mod is first seen at a watch tick (within 2.7 s), the scan waits
        // 6 s and runs at the watch tick after that: about 8.2 to 11 s.
        const auto after = std::chrono::duration_cast<std::chrono::milliseconds>(
            *session->patchedAt - session->gameSeen);
        EXPECT_GE(after.count(), 6000) << which;
        EXPECT_LE(after.count(), 12500) << which;
    }
};

TEST_F(ConsoleRoadTest, TypedLinesReachWinampWhileTheWatchWaits) {
    EXPECT_TRUE(sameMessages(typeMatched("Vireo NextTrack 2"),
                             {command(WINAMP_BUTTON5), command(WINAMP_BUTTON5)}));
    typeIgnored("VIREO Play");
    typeIgnored("Vireo\tPlay");
    EXPECT_TRUE(sameMessages(typeMatched("   Vireo    NextTrack  2   "),
                             {command(WINAMP_BUTTON5), command(WINAMP_BUTTON5)}));
    EXPECT_TRUE(sameMessages(typeMatched("Vireo"), {}));
    const WinampMessage length = request(IPC_GETLISTLENGTH);
    EXPECT_TRUE(sameMessages(typeMatched("vireo PLAY"), {length, command(WINAMP_BUTTON2)}));
    EXPECT_TRUE(sameMessages(typeMatched("Vireo Play  \n"), {length, command(WINAMP_BUTTON2)}));
    EXPECT_TRUE(sameMessages(typeMatched("Vireo SetVolume 300"), {request(IPC_SETVOLUME, 255)}));
    EXPECT_TRUE(sameMessages(typeMatched("Vireo SetVolume loud"), {request(IPC_SETVOLUME, 0)}));
    EXPECT_TRUE(sameMessages(typeMatched("Vireo Preamp 70"),
                             {request(IPC_GETEQDATA, 11), request(IPC_SETEQDATA, 1)}));

    const std::string track = binDirectory() + "road track one.mp3";
    std::ofstream(track) << "x";
    EXPECT_TRUE(sameMessages(
        typeMatched("Vireo Load " + track),
        {request(IPC_GETVERSION), request(IPC_DELETE), command(WINAMP_BUTTON4),
         copyData(IPC_PLAYFILE, track), command(WINAMP_BUTTON1_CTRL), command(WINAMP_BUTTON2)}));
    ::DeleteFileA(track.c_str());

    typeMatched("Vireo DisplayColor 9");
    EXPECT_EQ(readSettingInt("DisplayColor"), 9);
    typeMatched("Vireo ShowGUI");
    EXPECT_EQ(readSettingInt("ShowGUI"), 1);
    typeMatched("Vireo HideGUI");
    EXPECT_EQ(readSettingInt("ShowGUI"), 0);

    // Hostile bytes from the game's memory: 256 without a terminator.
    std::string noTerminator(256, 'V');
    typeIgnored(noTerminator.substr(0, 255));
    winamp().clear();
    ASSERT_TRUE(game().writeCapturedLine(noTerminator));
    pump(600ms);
    EXPECT_TRUE(winamp().messages().empty());

    // Nothing was scanned during the first six seconds of the game.
    if (Clock::now() - session->gameSeen < 6s) {
        EXPECT_FALSE(anyCopyPatched(game()));
    }
}

TEST_F(ConsoleRoadTest, HelpArrivesAsOneDatagram) {
    UdpListener client(27005);
    ASSERT_TRUE(client.bound());
    winamp().clear();
    ASSERT_TRUE(game().writeCapturedLine("Vireo Help"));
    ASSERT_TRUE(pumpUntilCleared(2s));
    const auto datagram = client.receive(2s);
    ASSERT_TRUE(datagram);
    ASSERT_EQ(datagram->size(), 1824u);
    EXPECT_EQ(std::string(datagram->begin(), datagram->begin() + 5), "\xFF\xFF\xFF\xFFl");
    EXPECT_EQ(std::string(datagram->begin() + 5, datagram->end() - 1), kHelpText);
    EXPECT_EQ(datagram->back(), 0);
    EXPECT_FALSE(client.receive(200ms));
    EXPECT_TRUE(winamp().messages().empty());
}

TEST_F(ConsoleRoadTest, UnknownCommandCopiesAreTruncatedAfterTheModAppears) {
    expectPatchedInTime("first game");
}

// The player-state byte is nonzero while alive.
class AutoPauseRoadTest : public ConsoleRoadTest {
protected:
    void setAlive(bool alive) { ASSERT_TRUE(game().setPlayerState(alive ? 1 : 0)); }
    // Changes the state and lets one auto-pause tick (404 ms) act on it.
    std::vector<WinampMessage> flip(bool alive) {
        winamp().clear();
        setAlive(alive);
        pump(1000ms);
        return winamp().messages();
    }
    static std::vector<WinampMessage> statusThen(std::vector<WinampMessage> rest) {
        rest.insert(rest.begin(), request(IPC_ISPLAYING));
        return rest;
    }
    static std::vector<std::int32_t> range(std::int32_t from, std::int32_t to, std::int32_t step) {
        std::vector<std::int32_t> values;
        for (std::int32_t v = from; step > 0 ? v <= to : v >= to; v += step) values.push_back(v);
        return values;
    }
};

TEST_F(AutoPauseRoadTest, ARestartedGameIsScannedAgainWhileAutoPauseFollowsThePlayer) {
    session->game.reset();
    pump(3000ms);  // a watch tick without a game forgets the scanned mod
    startGame(counterStrikeOptions());
    setAlive(false);
    writeSettingInt("EnableAutoPause", 2);
    pump(1000ms);
    EXPECT_EQ(readSettingInt("EnableAutoPause"), 0) << "a new game window resets the mode";

    // Pause mode.
    writeSettingInt("EnableAutoPause", 2);
    winamp().setPlayStatus(IPC_PLAYING);
    EXPECT_TRUE(sameMessages(flip(true), statusThen({command(WINAMP_BUTTON3)})));
    EXPECT_EQ(winamp().playStatus(), IPC_PAUSED);
    EXPECT_TRUE(sameMessages(flip(false), statusThen({command(WINAMP_BUTTON2)})));
    winamp().setPlayStatus(0);
    EXPECT_TRUE(sameMessages(flip(true), statusThen({})));
    EXPECT_TRUE(sameMessages(flip(false), statusThen({})));

    // Fade mode with the default targets: 63 … 253 on death, 255 … 65 on spawn.
    writeSettingInt("EnableAutoPause", 1);
    winamp().setPlayStatus(IPC_PLAYING);
    pump(500ms);
    EXPECT_TRUE(winamp().messages().empty() || winamp().volumes().empty());
    flip(true);
    EXPECT_EQ(winamp().volumes(), range(255, 65, -5));
    flip(false);
    const std::vector<std::int32_t> fadeIn = range(63, 253, 5);
    EXPECT_EQ(winamp().volumes(), fadeIn);
    std::vector<long long> gaps;
    const auto& log = winamp().log();
    const ReceivedMessage* last = nullptr;
    for (const ReceivedMessage& m : log) {
        if (m.message.kind != MessageKind::Request || m.message.id != IPC_SETVOLUME) continue;
        if (last)
            gaps.push_back(
                std::chrono::duration_cast<std::chrono::milliseconds>(m.at - last->at).count());
        last = &m;
    }
    ASSERT_FALSE(gaps.empty());
    std::sort(gaps.begin(), gaps.end());
    EXPECT_GE(gaps[gaps.size() / 2], 15);
    EXPECT_LE(gaps[gaps.size() / 2], 60);

    // Winamp paused when the player dies: play now, the fade at the next tick.
    flip(true);
    winamp().setPlayStatus(IPC_PAUSED);
    winamp().clear();
    setAlive(false);
    ASSERT_TRUE(pumpUntil([&] { return !winamp().commands().empty(); }, 1500ms));
    EXPECT_EQ(winamp().commands(), std::vector<unsigned>{WINAMP_BUTTON2});
    EXPECT_TRUE(winamp().volumes().empty());
    pump(1000ms);
    EXPECT_EQ(winamp().volumes(), fadeIn);

    // Equal targets send no volume; mode 3 sends nothing and still remembers.
    writeSettingInt("FadeinTarget", 50);
    writeSettingInt("FadeoutTarget", 50);
    EXPECT_TRUE(sameMessages(flip(true), statusThen({})));
    EXPECT_TRUE(sameMessages(flip(false), statusThen({})));
    writeSettingInt("FadeinTarget", 100);
    writeSettingInt("FadeoutTarget", 25);
    writeSettingInt("EnableAutoPause", 3);
    EXPECT_TRUE(flip(true).empty());
    writeSettingInt("EnableAutoPause", 1);
    pump(600ms);
    EXPECT_TRUE(winamp().volumes().empty()) << "mode 3 remembered the spawn";

    // "autopause 2" typed while alive with Winamp playing.
    winamp().setPlayStatus(IPC_PLAYING);
    writeSettingInt("DelayAutoPause", 0);
    typeMatched("Vireo autopause 2");
    pump(600ms);
    EXPECT_EQ(winamp().commands(), std::vector<unsigned>{WINAMP_BUTTON3}) << "pauses at once";

    winamp().setPlayStatus(IPC_PLAYING);
    writeSettingInt("DelayAutoPause", 1);
    typeMatched("Vireo autopause 2");
    pump(600ms);
    EXPECT_TRUE(winamp().commands().empty()) << "waits for the next change";
    EXPECT_TRUE(flip(false).size() == 1 && winamp().commands().empty())
        << "death: Winamp not paused";
    flip(true);
    EXPECT_EQ(winamp().commands(), std::vector<unsigned>{WINAMP_BUTTON3}) << "pauses at the spawn";
    writeSettingInt("DelayAutoPause", 0);
    writeSettingInt("EnableAutoPause", 0);

    expectPatchedInTime("restarted game");
}

TEST_F(AutoPauseRoadTest, AHalfLifeModNeverActsAndNeverResetsTheMode) {
    session->game.reset();
    FakeGameOptions halfLife;
    halfLife.exeName = "hl.exe";
    halfLife.modName = "valve";
    halfLife.liblist = kHalfLifeLiblist;
    startGame(halfLife);
    writeSettingInt("EnableAutoPause", 2);
    winamp().setPlayStatus(IPC_PLAYING);
    EXPECT_TRUE(flip(true).empty());
    EXPECT_TRUE(flip(false).empty());
    EXPECT_EQ(readSettingInt("EnableAutoPause"), 2);
    writeSettingInt("EnableAutoPause", 0);
}

}  // namespace
}  // namespace vireo::test
