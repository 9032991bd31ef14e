// The console road end to end, through the real timers: a line typed into the
// fake Counter-Strike's buffer reaches the Winamp double; the unknown-command
// message is silenced after the mod appears; auto-pause follows the player.
// One slow wait (the scan's delay) is shared by the checks that run during it.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>

#include "commands/HelpText.h"
#include "common/Timers.h"
#include "player/WinampIpc.h"
#include "support/FakeGame.h"
#include "support/FakeWinamp.h"
#include "support/TestSupport.h"
#include "support/UdpListener.h"

namespace vireo::test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr char kHalfLifeLiblist[] = "game \"Half-Life\"\r\ngamedll \"dlls\\hl.dll\"\r\n";
constexpr auto kConsolePoll = std::chrono::milliseconds(kConsolePollPeriodMs);
constexpr auto kAutoPauseTick = std::chrono::milliseconds(kAutoPausePeriodMs);
// The mod is first seen at a watch tick (within one watch period), the scan
// waits 6 s and runs at the watch tick after that: about 8.2 to 11 s after
// the game came up, later on a busy machine.
constexpr auto kScanWithin =
    6000ms + 2 * std::chrono::milliseconds(kModWatchPeriodMs) + kTimerSlack;

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

// The plug-in runs three timers here (display and script are off): auto-pause,
// the console poll and the mod watch, the last two with ids of the plug-in's
// own choosing. Pumps until each has run once more.
void pumpEveryTimerOnce() {
    constexpr std::size_t kPluginTimers = 3;
    const auto watchPeriod = std::chrono::milliseconds(kModWatchPeriodMs);
    ASSERT_TRUE(pumpUntil([] { return dispatchedTimerIds().size() >= kPluginTimers; },
                          watchPeriod + kTimerSlack));
    std::vector<std::pair<UINT_PTR, unsigned>> seen;
    for (const UINT_PTR id : dispatchedTimerIds()) seen.emplace_back(id, timerTicks(id));
    EXPECT_TRUE(pumpUntil(
        [&] {
            return std::all_of(seen.begin(), seen.end(), [](const auto& timer) {
                return timerTicks(timer.first) > timer.second;
            });
        },
        watchPeriod + kTimerSlack))
        << "a timer of the plug-in stopped";
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
        EXPECT_TRUE(pumpUntilCleared(kConsolePoll + kTimerSlack)) << "not taken: [" << line << ']';
        return winamp().messages();
    }
    // Types a line that is not ours: it stays, and nothing reaches Winamp.
    // (What does not happen cannot be waited for: two polls' time passes.)
    void typeIgnored(const std::string& line) {
        winamp().clear();
        ASSERT_TRUE(game().writeCapturedLine(line));
        pump(700ms);
        std::string expected(256, '\0');
        std::copy(line.begin(), line.end(), expected.begin());
        EXPECT_EQ(game().capturedLineBytes(), expected) << '[' << line << ']';
        EXPECT_TRUE(winamp().messages().empty()) << '[' << line << ']';
    }

    void expectPatchedInTime(const char* which) {
        const auto end = session->gameSeen + kScanWithin;
        while (!session->patchedAt && Clock::now() < end) pump(100ms);
        ASSERT_TRUE(session->patchedAt) << which << ": the copies were never patched";
        bool untouchedOk = false;
        EXPECT_TRUE(allEligibleCopiesPatched(game(), &untouchedOk)) << which;
        EXPECT_TRUE(untouchedOk) << which;
        // Never before the scan's delay, however fast the machine.
        const auto after = std::chrono::duration_cast<std::chrono::milliseconds>(
            *session->patchedAt - session->gameSeen);
        EXPECT_GE(after.count(), 6000) << which;
        EXPECT_LE(after, kScanWithin) << which;
    }
};

TEST_F(ConsoleRoadTest, TypedLinesReachWinampWhileTheWatchWaits) {
    const WinampMessage length = request(IPC_GETLISTLENGTH);
    EXPECT_TRUE(sameMessages(typeMatched("Vireo NextTrack 2"),
                             {length, command(WINAMP_BUTTON5), command(WINAMP_BUTTON5)}));
    typeIgnored("VIREO Play");
    typeIgnored("Vireo\tPlay");
    EXPECT_TRUE(sameMessages(typeMatched("   Vireo    NextTrack  2   "),
                             {length, command(WINAMP_BUTTON5), command(WINAMP_BUTTON5)}));
    EXPECT_TRUE(sameMessages(typeMatched("Vireo"), {}));
    EXPECT_TRUE(sameMessages(typeMatched("vireo PLAY"), {length, command(WINAMP_BUTTON2)}));
    EXPECT_TRUE(sameMessages(typeMatched("Vireo Play  \n"), {length, command(WINAMP_BUTTON2)}));
    EXPECT_TRUE(sameMessages(typeMatched("Vireo SetVolume 300"), {request(IPC_SETVOLUME, 255)}));
    EXPECT_TRUE(sameMessages(typeMatched("Vireo SetVolume loud"), {request(IPC_SETVOLUME, 0)}));
    EXPECT_TRUE(sameMessages(typeMatched("Vireo Preamp 70"),
                             {request(IPC_GETEQDATA, 11), request(IPC_SETEQDATA, 1)}));

    const std::string track = binDirectory() + "road track one.mp3";
    std::ofstream(track) << "x";
    EXPECT_TRUE(sameMessages(typeMatched("Vireo Load " + track),
                             {request(IPC_GETVERSION), request(IPC_DELETE), command(WINAMP_BUTTON4),
                              copyData(IPC_PLAYFILE, track), length, command(WINAMP_BUTTON1_CTRL),
                              command(WINAMP_BUTTON2)}));
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
    ASSERT_TRUE(pumpUntilCleared(kConsolePoll + kTimerSlack));
    const auto datagram = client.receive(kPatience);
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

// After the scan: the status tells of it, of the game and of the line that
// asked for it, and asks Winamp only for its version.
TEST_F(ConsoleRoadTest, StatusArrivesAsOneDatagramNamingWhatVireoSees) {
    expectPatchedInTime("first game");
    UdpListener client(27005);
    ASSERT_TRUE(client.bound());
    const auto messages = typeMatched("vireo sTaTuS");
    EXPECT_TRUE(sameMessages(messages, {request(IPC_GETVERSION)}));
    const auto datagram = client.receive(kPatience);
    ASSERT_TRUE(datagram);
    EXPECT_LE(datagram->size(), 4096u);
    EXPECT_EQ(std::string(datagram->begin(), datagram->begin() + 5), "\xFF\xFF\xFF\xFFl");
    EXPECT_EQ(datagram->back(), 0);
    const std::string text(datagram->begin() + 5, datagram->end() - 1);
    std::uint32_t planted = 0;
    for (std::uint32_t i = 0; i < game().report()->copyCount; ++i)
        planted += game().report()->copies[i].mustBePatched;
    const std::string copies = std::to_string(planted);
    for (const std::string& line : {
             "Game: cstrike.exe, process " + std::to_string(game().processId()) +
                 ", Counter-Strike.",
             std::string("Game: mod cstrike, liblist.gam names it \"Counter-Strike\"."),
             "Console commands: " + copies + " copies of \"Unknown command\" found and " + copies +
                 " silenced at the last scan, ",
             std::string("Console commands: last line taken \"vireo sTaTuS\", 0 s ago."),
             std::string("Display: disabled"),
             std::string("Script: not written: scripting is off; it would be written to ") +
                 game().modDirectory() + "Vireo.cfg.",
         })
        EXPECT_NE(text.find("\n" + line), std::string::npos) << line << " in:\n" << text;
    EXPECT_FALSE(client.receive(200ms));
}

// The player-state byte is nonzero while alive.
class AutoPauseRoadTest : public ConsoleRoadTest {
protected:
    void setAlive(bool alive) { ASSERT_TRUE(game().setPlayerState(alive ? 1 : 0)); }
    // Changes the state and answers what the next auto-pause tick sent. A
    // tick that acts asks for the play status first and does all its work at
    // once, so its first message means it is done. One that is expected to
    // send nothing (`acts` false) cannot be waited for: a tick's time passes.
    std::vector<WinampMessage> flip(bool alive, bool acts = true) {
        winamp().clear();
        setAlive(alive);
        if (acts)
            EXPECT_TRUE(pumpUntil([&] { return !winamp().messages().empty(); },
                                  kAutoPauseTick + kTimerSlack))
                << "auto-pause did not act";
        else
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
    // A watch tick without a game forgets the scanned mod: every timer of the
    // plug-in runs once more (the watch's id is the plug-in's own business).
    pumpEveryTimerOnce();
    startGame(counterStrikeOptions());
    setAlive(false);
    writeSettingInt("EnableAutoPause", 2);
    EXPECT_TRUE(pumpUntil([] { return readSettingInt("EnableAutoPause") == 0; },
                          kAutoPauseTick + kTimerSlack))
        << "a new game window resets the mode";

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
    // Steps 20 ms apart: the bound above leaves room for a machine that
    // other builds keep busy, where a sleep now and then ends late.
    EXPECT_GE(gaps[gaps.size() / 2], 15);
    EXPECT_LE(gaps[gaps.size() / 2], 100);

    // Winamp paused when the player dies: play now, the fade at the next tick.
    flip(true);
    winamp().setPlayStatus(IPC_PAUSED);
    winamp().clear();
    setAlive(false);
    ASSERT_TRUE(
        pumpUntil([&] { return !winamp().commands().empty(); }, kAutoPauseTick + kTimerSlack));
    EXPECT_EQ(winamp().commands(), std::vector<unsigned>{WINAMP_BUTTON2});
    EXPECT_TRUE(winamp().volumes().empty());
    EXPECT_TRUE(
        pumpUntil([&] { return !winamp().volumes().empty(); }, kAutoPauseTick + kTimerSlack));
    EXPECT_EQ(winamp().volumes(), fadeIn);

    // Equal targets send no volume; mode 3 sends nothing and still remembers.
    writeSettingInt("FadeinTarget", 50);
    writeSettingInt("FadeoutTarget", 50);
    EXPECT_TRUE(sameMessages(flip(true), statusThen({})));
    EXPECT_TRUE(sameMessages(flip(false), statusThen({})));
    writeSettingInt("FadeinTarget", 100);
    writeSettingInt("FadeoutTarget", 25);
    writeSettingInt("EnableAutoPause", 3);
    EXPECT_TRUE(flip(true, false).empty());
    writeSettingInt("EnableAutoPause", 1);
    pump(600ms);
    EXPECT_TRUE(winamp().volumes().empty()) << "mode 3 remembered the spawn";

    // "autopause 2" typed while alive with Winamp playing.
    winamp().setPlayStatus(IPC_PLAYING);
    writeSettingInt("DelayAutoPause", 0);
    typeMatched("Vireo autopause 2");
    EXPECT_TRUE(
        pumpUntil([&] { return !winamp().commands().empty(); }, kAutoPauseTick + kTimerSlack));
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
    EXPECT_TRUE(flip(true, false).empty());
    EXPECT_TRUE(flip(false, false).empty());
    EXPECT_EQ(readSettingInt("EnableAutoPause"), 2);
    writeSettingInt("EnableAutoPause", 0);
}

}  // namespace
}  // namespace vireo::test
