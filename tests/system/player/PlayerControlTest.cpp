#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "player/PlayerControl.h"
#include "player/WinampIpc.h"
#include "support/FakeWinamp.h"

namespace vireo::test {
namespace {

using Messages = std::vector<WinampMessage>;

class PlayerControlTest : public ::testing::Test {
protected:
    PlayerControlTest() { player.setWindow(winamp.handle()); }

    FakeWinamp winamp;
    PlayerControl player;
};

// A fresh folder made the current directory, as Winamp's is for relative names.
class ScratchDirectory {
public:
    ScratchDirectory() {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "vireo-player-" + std::to_string(::GetCurrentProcessId()) +
                "-" + std::to_string(::GetTickCount());
        ::CreateDirectoryA(path_.c_str(), nullptr);
        char previous[MAX_PATH] = {};
        ::GetCurrentDirectoryA(MAX_PATH, previous);
        previous_ = previous;
        ::SetCurrentDirectoryA(path_.c_str());
    }
    ~ScratchDirectory() {
        ::SetCurrentDirectoryA(previous_.c_str());
        for (const auto& file : files_) ::DeleteFileA((path_ + "\\" + file).c_str());
        for (const auto& folder : folders_) ::RemoveDirectoryA((path_ + "\\" + folder).c_str());
        ::RemoveDirectoryA(path_.c_str());
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    void addFile(const std::string& name) {
        HANDLE file = ::CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE) << name;
        ::CloseHandle(file);
        files_.push_back(name);
    }
    void addFolder(const std::string& name) {
        ASSERT_TRUE(::CreateDirectoryA(name.c_str(), nullptr)) << name;
        folders_.push_back(name);
    }

private:
    std::string path_;
    std::string previous_;
    std::vector<std::string> files_;
    std::vector<std::string> folders_;
};

TEST_F(PlayerControlTest, EachControlSendsItsMessages) {
    struct Row {
        const char* name;
        std::function<void(const PlayerControl&)> operation;
        Messages expected;
    };
    const Row rows[] = {
        {"play", [](const PlayerControl& p) { p.play(); }, {command(WINAMP_BUTTON2)}},
        {"pause", [](const PlayerControl& p) { p.pause(); }, {command(WINAMP_BUTTON3)}},
        {"stop", [](const PlayerControl& p) { p.stop(); }, {command(WINAMP_BUTTON4)}},
        {"stopAfterCurrent",
         [](const PlayerControl& p) { p.stopAfterCurrent(); },
         {command(40157)}},
        {"playCd", [](const PlayerControl& p) { p.playCd(); }, {command(40323)}},
        {"playlistBeginning",
         [](const PlayerControl& p) { p.playlistBeginning(); },
         {command(40154)}},
        {"playlistEnd", [](const PlayerControl& p) { p.playlistEnd(); }, {command(40158)}},
        // Held to 0..255: Winamp keeps only the low byte, and -666 is a question.
        {"setVolume 300", [](const PlayerControl& p) { p.setVolume(300); }, {request(122, 255)}},
        {"setVolume 256", [](const PlayerControl& p) { p.setVolume(256); }, {request(122, 255)}},
        {"setVolume 255", [](const PlayerControl& p) { p.setVolume(255); }, {request(122, 255)}},
        {"setVolume -5", [](const PlayerControl& p) { p.setVolume(-5); }, {request(122, 0)}},
        {"setVolume -666", [](const PlayerControl& p) { p.setVolume(-666); }, {request(122, 0)}},
        {"setShuffle", [](const PlayerControl& p) { p.setShuffle(1); }, {request(252, 1)}},
        {"setRepeat", [](const PlayerControl& p) { p.setRepeat(7); }, {request(253, 7)}},
        {"clearPlaylist", [](const PlayerControl& p) { p.clearPlaylist(); }, {request(101, 0)}},
        {"getPlayStatus",
         [](const PlayerControl& p) { (void)p.getPlayStatus(); },
         {request(104, 0)}},
        {"preampOn",
         [](const PlayerControl& p) { p.preampOn(); },
         {request(127, 11), request(128, 1)}},
        {"preampOff",
         [](const PlayerControl& p) { p.preampOff(); },
         {request(127, 11), request(128, 0)}},
    };
    for (const auto& row : rows) {
        winamp.clear();
        row.operation(player);
        EXPECT_TRUE(sameMessages(winamp.messages(), row.expected)) << row.name;
        for (const auto& received : winamp.log()) {
            if (received.type == WM_COMMAND) {
                EXPECT_EQ(received.lParam, 0) << row.name;
            }
        }
    }
}

// Counts of at least the playlist's length L step L + count mod L times,
// asking for L once; counts of 0 and 1 ask nothing.
TEST_F(PlayerControlTest, StepsCountOnceForZeroNotAtAllBelowAndBoundedByThePlaylist) {
    struct Row {
        int count;
        int entries;
        std::size_t sends;
    };
    const Row rows[] = {
        {0, 3, 1},     {1, 3, 1},       {2, 3, 2}, {3, 3, 3}, {4, 3, 4},
        {20000, 3, 5}, {INT_MAX, 3, 4}, {2, 1, 1}, {5, 0, 1}, {INT_MAX, 0, 1},
        {-2, 3, 0},    {INT_MIN, 3, 0}, {1, 0, 1},
    };
    for (const auto& row : rows) {
        winamp.setPlaylist(std::vector<std::string>(static_cast<std::size_t>(row.entries), "e"));
        for (const unsigned id : {WINAMP_BUTTON5, WINAMP_BUTTON1}) {
            winamp.clear();
            if (id == WINAMP_BUTTON5) {
                player.nextTrack(row.count);
            } else {
                player.previousTrack(row.count);
            }
            EXPECT_EQ(winamp.commands(), std::vector<unsigned>(row.sends, id)) << row.count;
            EXPECT_EQ(winamp.requests(IPC_GETLISTLENGTH).size(), row.count > 1 ? 1u : 0u)
                << row.count;
        }
    }

    // The bounded steps end where the whole count would, repeat off and on.
    winamp.setPlaylist({"one", "two", "three"});
    for (const int repeat : {0, 1}) {
        player.setRepeat(repeat);
        for (const int count : {3, 4, 5, 6, 7, 11}) {
            winamp.setPlaylistPosition(0);
            player.nextTrack(count);
            EXPECT_EQ(winamp.playlistPosition(), repeat ? count % 3 : 2) << count;
            winamp.setPlaylistPosition(2);
            player.previousTrack(count);
            EXPECT_EQ(winamp.playlistPosition(), repeat ? (2 - count % 3 + 3) % 3 : 0) << count;
        }
    }
}

TEST_F(PlayerControlTest, SeekChecksTheLengthAndThePercent) {
    struct Row {
        std::int32_t length;
        int percent;
        Messages expected;
    };
    const Row rows[] = {
        {200, 100, {request(105, 1), request(106, 200000)}},
        {200, 0, {request(105, 1), request(106, 0)}},
        {245, 50, {request(105, 1), request(106, 122500)}},
        {200, 101, {request(105, 1)}},
        {200, -1, {request(105, 1)}},
        {-1, 50, {request(105, 1)}},
        // The Winamp 3 length in microseconds, used as it comes: 32 bits wrap.
        {245000000, 100, {request(105, 1), request(106, 186864128)}},
    };
    for (const auto& row : rows) {
        winamp.clear();
        winamp.setLength(row.length);
        player.seekToPercent(row.percent);
        EXPECT_TRUE(sameMessages(winamp.messages(), row.expected))
            << row.length << " " << row.percent;
    }
}

TEST_F(PlayerControlTest, FastForwardAndRewindAddToThePositionUnchecked) {
    struct Row {
        std::int32_t position;
        bool forward;
        int seconds;
        std::int32_t target;
    };
    const Row rows[] = {
        {61500, true, 10, 71500},       {61500, false, 10, 51500},
        {5000, false, 10, -5000},       {-1, true, 1, 999},
        {61500, true, 0, 61500},        {INT32_MAX, true, 1, -2147482649},
        {61500, false, INT_MIN, 61500},  // -INT_MIN wraps back to INT_MIN; times 1000 is 0 mod 2^32
    };
    winamp.setPlayStatus(IPC_PLAYING);  // a stopped Winamp answers -1 for the position
    for (const auto& row : rows) {
        winamp.clear();
        winamp.setPosition(row.position);
        if (row.forward) {
            player.fastForward(row.seconds);
        } else {
            player.fastRewind(row.seconds);
        }
        EXPECT_TRUE(sameMessages(winamp.messages(), {request(105, 0), request(106, row.target)}))
            << row.position << (row.forward ? " + " : " - ") << row.seconds;
    }
}

TEST_F(PlayerControlTest, PanningIsShiftedForTheWinamp3Family) {
    struct Row {
        std::uint32_t version;
        int value;
        std::int32_t sent;
    };
    // Values beyond -127..127 are held to it before the shift: Winamp 5
    // would take 128 as hard left.
    const Row rows[] = {
        {0x2091, -127, -127}, {0x2091, 127, 127},   {0x2FFF, 0, 0},       {0x3000, -127, 0},
        {0x3000, 127, 254},   {0x3000, 0, 127},     {0x10002091, 5, 5},   {0x3FFF, 0, 127},
        {0x5000, 0, 0},       {0x5666, -127, -127}, {0x5666, 127, 127},   {0x2091, 500, 127},
        {0x5666, 200, 127},   {0x5666, 128, 127},   {0x5666, -300, -127}, {0x3000, 200, 254},
        {0x3000, 128, 254},   {0x3000, -300, 0},
    };
    for (const auto& row : rows) {
        winamp.clear();
        winamp.setVersion(row.version);
        player.setPanning(row.value);
        EXPECT_TRUE(sameMessages(winamp.messages(), {request(0), request(123, row.sent)}))
            << std::hex << row.version << std::dec << " " << row.value;
    }
}

TEST_F(PlayerControlTest, PreampLevelOutsideItsRangeSendsNothing) {
    struct Row {
        int level;
        Messages expected;
    };
    const Row rows[] = {
        {63, {request(127, 10), request(128, 63)}},
        {0, {request(127, 10), request(128, 0)}},
        {64, {}},
        {-1, {}},
    };
    for (const auto& row : rows) {
        winamp.clear();
        player.setPreamp(row.level);
        EXPECT_TRUE(sameMessages(winamp.messages(), row.expected)) << row.level;
    }
    // Winamp sets the entry selected by the request before.
    player.preampOn();
    player.setPreamp(20);
    EXPECT_EQ(winamp.equaliser(EQDATA_ENABLED), 1);
    EXPECT_EQ(winamp.equaliser(EQDATA_PREAMP), 20);
}

TEST_F(PlayerControlTest, LoadReplacesOrAppendsInTheDocumentedOrder) {
    ScratchDirectory scratch;
    const std::string file = "track-0001.mp3";  // 14 characters
    ASSERT_EQ(file.size(), 14u);
    scratch.addFile(file);
    scratch.addFolder("album");
    scratch.addFile("empty.m3u");
    scratch.addFolder("songs");
    scratch.addFile("songs\\one.mp3");
    const std::string url = "http://radio.example:8000/live";

    struct Row {
        std::uint32_t version;
        int pcmMode;
        std::string name;
        std::string handed;  // empty: nothing at all is sent
        bool adds = true;    // Winamp adds an entry for it
    };
    const Row rows[] = {
        {0x2091, 0, file, file},
        {0x2091, 2, file, file},  // only exactly 1 appends
        {0x2091, 1, file, file},
        {0x3000, 0, file, "file:" + file},
        {0x3000, 1, file, "file:" + file},
        {0x2091, 0, url, url},
        {0x3000, 0, url, "file:" + url},
        {0x3000, 1, url, "file:" + url},
        {0x5666, 0, file, file},
        {0x5666, 1, url, url},
        {0x5000, 0, file, file},
        // Nothing playable in them: nothing to play either.
        {0x2091, 0, "album", "album", false},
        {0x5092, 0, "empty.m3u", "empty.m3u", false},
        {0x2091, 0, "missing.mp3", ""},
        {0x2091, 0, "", ""},
        // A scheme has no letter case.
        {0x2091, 0, "HTTP://radio.example/live", "HTTP://radio.example/live"},
        {0x5092, 0, "Http://radio.example/live", "Http://radio.example/live"},
        {0x5092, 0, "https://radio.example/live", "https://radio.example/live"},
        {0x5666, 0, "HTTPS://radio.example/live", "HTTPS://radio.example/live"},
        {0x3000, 0, "hTTps://radio.example/live", "file:hTTps://radio.example/live"},
        {0x2091, 0, " http://radio.example/live", ""},
        {0x3000, 1, "http:/radio.example", ""},
        {0x2091, 0, "https:/radio.example", ""},
        {0x2091, 0, "httpx://radio.example", ""},
        {0x2091, 0, "ftp://radio.example/live", ""},
        // Winamp 5.9 would take a name ending in a separator for one dead file.
        {0x5092, 0, "songs\\", "songs"},
        {0x5092, 0, "songs\\/\\", "songs"},
        {0x3000, 1, "songs/", "file:songs"},
        {0x5092, 0, file + "\\", file},
        {0x5092, 0, "missing\\", ""},
        {0x5092, 0, "HTTPS://radio.example/live/", "HTTPS://radio.example/live/"},
    };
    for (const auto& row : rows) {
        winamp.clear();
        winamp.setVersion(row.version);
        player.setPcmMode(row.pcmMode);
        player.loadFile(row.name);

        Messages expected;
        if (!row.handed.empty()) {
            const bool replace = row.pcmMode != 1;
            expected.push_back(request(IPC_GETVERSION));
            if (replace) {
                expected.push_back(request(IPC_DELETE));
                expected.push_back(command(WINAMP_BUTTON4));
            }
            expected.push_back(copyData(IPC_PLAYFILE, row.handed));
            if (replace) expected.push_back(request(IPC_GETLISTLENGTH));
            if (replace && row.adds) {
                expected.push_back(command(WINAMP_BUTTON1_CTRL));
                expected.push_back(command(WINAMP_BUTTON2));
            }
        }
        EXPECT_TRUE(sameMessages(winamp.messages(), expected))
            << "'" << row.name << "' version " << std::hex << row.version << " mode "
            << row.pcmMode;
        EXPECT_TRUE(winamp.effects().empty()) << row.name;
    }

    // The record's byte count includes the terminator, and wParam is 0.
    winamp.clear();
    winamp.setVersion(0x2091);
    player.setPcmMode(1);
    player.loadFile(file);
    ASSERT_EQ(winamp.log().size(), 2u);
    EXPECT_EQ(winamp.log()[1].message.byteCount, 15u);
    EXPECT_EQ(winamp.log()[1].wParam, 0u);
    EXPECT_EQ(winamp.playlist().back(), file);
}

TEST_F(PlayerControlTest, Winamp2TitleComesFromTheCurrentPlaylistEntry) {
    winamp.setVersion(0x2091);
    winamp.setPlaylistPosition(4);
    winamp.setTitle("some other entry");
    winamp.setTitleAt(4, "Artist - Song");
    EXPECT_EQ(player.getTitle(), "Artist - Song");
    EXPECT_TRUE(sameMessages(winamp.messages(), {request(0), request(125), request(212, 4)}));
    EXPECT_EQ(player.getArtist(), "Artist");
    EXPECT_EQ(player.getSongTitle(), "Song");

    winamp.setTitleAt(4, "Instrumental");
    EXPECT_EQ(player.getArtist(), "");
    EXPECT_EQ(player.getSongTitle(), "Instrumental");

    winamp.clearTitle();  // request 212 answers 0
    EXPECT_EQ(player.getTitle(), "");
    EXPECT_EQ(player.getArtist(), "");
    EXPECT_EQ(player.getSongTitle(), "");

    // A Winamp without the request answers 1: a small reply is no address either.
    for (const LRESULT reply : {LRESULT{1}, LRESULT{0xFFFF}}) {
        winamp.setReply(IPC_GETPLAYLISTTITLE, reply);
        EXPECT_EQ(player.getTitle(), "") << reply;
        EXPECT_EQ(player.getSongTitle(), "") << reply;
    }
}

TEST_F(PlayerControlTest, TrackInformationPerFamily) {
    struct Row {
        const char* name;
        std::function<void(FakeWinamp&)> setUp;
        std::function<std::string(const PlayerControl&)> query;
        std::string expected;
        Messages sent;
    };
    const auto position = [](std::int32_t ms) {
        return [ms](FakeWinamp& w) {
            w.setPlayStatus(IPC_PLAYING);  // stopped, Winamp answers -1
            w.setPosition(ms);
        };
    };
    const auto stopped = [](FakeWinamp& w) {
        w.setPlayStatus(IPC_STOPPED);
        w.setPosition(61500);
    };
    const auto length = [](std::uint32_t version, std::int32_t reply) {
        return [=](FakeWinamp& w) {
            w.setVersion(version);
            w.setLength(reply);
        };
    };
    const auto bitrate = [](std::uint32_t version, std::int64_t reply) {
        return [=](FakeWinamp& w) {
            w.setVersion(version);
            w.setBitrate(reply);
        };
    };
    const auto sampleRate = [](std::uint32_t version, std::int32_t reply) {
        return [=](FakeWinamp& w) {
            w.setVersion(version);
            w.setSampleRate(reply);
        };
    };
    const auto version = [](std::uint32_t v) { return [v](FakeWinamp& w) { w.setVersion(v); }; };
    const auto positionText = [](const PlayerControl& p) { return p.getPositionText(); };
    const auto lengthText = [](const PlayerControl& p) { return p.getLengthText(); };
    const auto bitrateOf = [](const PlayerControl& p) { return std::to_string(p.getBitrate()); };
    const auto sampleRateOf = [](const PlayerControl& p) {
        return std::to_string(p.getSampleRate());
    };
    const auto versionText = [](const PlayerControl& p) { return p.getVersionText(); };
    const Messages positionSent{request(105, 0)};
    const Messages lengthSent{request(0), request(105, 1)};
    const Messages bitrateSent{request(0), request(126, 1)};
    const Messages rateSent{request(0), request(126, 0)};

    const Row rows[] = {
        {"position 59999", position(59999), positionText, "0:59", positionSent},
        {"position 60000", position(60000), positionText, "1:00", positionSent},
        {"position 3725000", position(3725000), positionText, "62:05", positionSent},
        {"position -1", position(-1), positionText, "0:00", positionSent},
        {"position while stopped", stopped, positionText, "0:00", positionSent},
        {"W2 length 3600", length(0x2091, 3600), lengthText, "60:00", lengthSent},
        {"W2 length -1", length(0x2091, -1), lengthText, "0:00", lengthSent},
        {"W5.9.2 length -1", length(0x5092, -1), lengthText, "0:00", lengthSent},
        {"W3 length 245000000", length(0x3000, 245000000), lengthText, "4:05", lengthSent},
        {"W3 length -1", length(0x3000, -1), lengthText, "0:00", lengthSent},
        {"W5 length 245", length(0x5666, 245), lengthText, "4:05", lengthSent},
        {"W5.0 length 3600", length(0x5000, 3600), lengthText, "60:00", lengthSent},
        {"W2 bitrate", bitrate(0x2091, 320), bitrateOf, "320", bitrateSent},
        {"W2 bitrate code", bitrate(0x2091, 0x00323131), bitrateOf, "3289393", bitrateSent},
        {"W3 bitrate 0", bitrate(0x3000, 0), bitrateOf, "96", bitrateSent},
        {"W3 bitrate 112", bitrate(0x3000, 0x00323131), bitrateOf, "112", bitrateSent},
        {"W3 bitrate 192", bitrate(0x3000, 0x00323931), bitrateOf, "192", bitrateSent},
        {"W3 bitrate 5", bitrate(0x3000, 5), bitrateOf, "128", bitrateSent},
        {"W5 bitrate", bitrate(0x5666, 320), bitrateOf, "320", bitrateSent},
        {"W5 bitrate 0", bitrate(0x5666, 0), bitrateOf, "0", bitrateSent},
        {"W2 sample rate", sampleRate(0x2091, 22), sampleRateOf, "22", rateSent},
        {"W3 sample rate", sampleRate(0x3000, 22), sampleRateOf, "44", rateSent},
        {"W5 sample rate", sampleRate(0x5666, 22), sampleRateOf, "22", rateSent},
        {"version 0x5666", version(0x5666), versionText, "5.666", {request(0)}},
        {"version 0x2091", version(0x2091), versionText, "2.091", {request(0)}},
        {"version 0x3000", version(0x3000), versionText, "3.00", {request(0)}},
        {"version 0x2005", version(0x2005), versionText, "2.05", {request(0)}},
        {"version high bits", version(0x7F0A2005), versionText, "2.05", {request(0)}},
    };
    for (const auto& row : rows) {
        winamp.clear();
        row.setUp(winamp);
        EXPECT_EQ(row.query(player), row.expected) << row.name;
        EXPECT_TRUE(sameMessages(winamp.messages(), row.sent)) << row.name;
    }

    winamp.clear();
    winamp.setChannels(1);
    EXPECT_EQ(player.getChannels(), 1);
    winamp.setReply(IPC_ISPLAYING, 3);
    EXPECT_EQ(player.getPlayStatus(), 3);
    winamp.setPlaylistPosition(7);
    EXPECT_EQ(player.getPlaylistPosition(), 7);
    winamp.setPlaylist({"one", "two", "three"});
    EXPECT_EQ(player.getPlaylistLength(), 3);
    EXPECT_TRUE(sameMessages(winamp.messages(),
                             {request(126, 2), request(104), request(125), request(124)}));
}

// The double answers as Winamp 5.9.2 does, so that the rows above mean what
// they would with the real player; the version changes none of it.
TEST_F(PlayerControlTest, TheDoubleAnswersAsWinamp592) {
    constexpr int kUnknownRequest = 999;
    const auto ask = [&](std::int32_t argument, int number) {
        return ::SendMessageA(winamp.handle(), WM_WA_IPC, static_cast<WPARAM>(argument), number);
    };
    ScratchDirectory scratch;
    scratch.addFolder("nothing playable");
    scratch.addFile("nothing playable\\cover.jpg");
    scratch.addFile("empty.m3u");
    for (const std::uint32_t version : {0x5092u, 0x5666u}) {
        SCOPED_TRACE(::testing::Message() << std::hex << version);
        winamp.setVersion(version);
        player.stop();
        EXPECT_EQ(player.clearPlaylist(), 0);  // nothing removed
        winamp.clear();
        player.play();  // nothing to play: Winamp opens its Open dialog instead
        EXPECT_EQ(winamp.effects(), std::vector<std::string>{kFileDialogOpened});
        player.setPcmMode(1);
        player.loadFile("nothing playable");
        player.loadFile("empty.m3u");
        EXPECT_TRUE(winamp.playlist().empty());

        winamp.setPlaylist({"one", "two", "three"});
        EXPECT_EQ(ask(3, IPC_GETPLAYLISTTITLE), 0);  // outside the playlist
        EXPECT_EQ(ask(-1, IPC_GETPLAYLISTTITLE), 0);
        player.stopAfterCurrent();             // ignored while stopped
        EXPECT_EQ(player.fastForward(5), -1);  // no position and no jump while stopped
        EXPECT_FALSE(winamp.stopsAfterCurrent());
        player.play();
        player.fastRewind(5);  // before the start: the start
        EXPECT_EQ(winamp.position(), 0);
        player.pause();
        player.stopAfterCurrent();  // taken while paused
        EXPECT_TRUE(winamp.stopsAfterCurrent());
        EXPECT_EQ(player.fastForward(5), 0);  // a paused track jumps
        EXPECT_EQ(winamp.position(), 5000);
        player.playlistEnd();  // paused: the last entry starts, without the stop
        EXPECT_EQ(winamp.playStatus(), IPC_PLAYING);
        EXPECT_EQ(winamp.playlistPosition(), 2);
        EXPECT_EQ(winamp.position(), 0);
        EXPECT_FALSE(winamp.stopsAfterCurrent());

        player.nextTrack(1);  // the end, repeat off: nothing moves
        EXPECT_EQ(winamp.playlistPosition(), 2);
        EXPECT_EQ(player.setRepeat(1), 1);
        winamp.setPosition(7000);
        player.nextTrack(1);  // wraps, and the new entry starts
        EXPECT_EQ(winamp.playlistPosition(), 0);
        EXPECT_EQ(winamp.position(), 0);
        player.previousTrack(1);
        EXPECT_EQ(winamp.playlistPosition(), 2);
        player.stop();
        player.playlistBeginning();  // stopped: moves, stays stopped
        EXPECT_EQ(winamp.playStatus(), IPC_STOPPED);
        EXPECT_EQ(player.setRepeat(0), 1);
        EXPECT_EQ(player.setShuffle(1), 1);

        ask(300, IPC_SETVOLUME);
        EXPECT_EQ(ask(IPC_QUERY, IPC_SETVOLUME), 44);  // the low byte
        ask(128, IPC_SETPANNING);
        EXPECT_EQ(ask(IPC_QUERY, IPC_SETPANNING), -127);  // a signed char, held to -127
        player.setPreamp(EQDATA_PREAMP_MAX);
        ask(EQDATA_PREAMP, IPC_GETEQDATA);
        ask(0x140, IPC_SETEQDATA);
        EXPECT_EQ(winamp.equaliser(EQDATA_PREAMP), 0x40);  // the low byte
        EXPECT_EQ(ask(0, kUnknownRequest), IPC_UNKNOWN_REPLY);
        EXPECT_EQ(player.clearPlaylist(), 1);  // entries removed
        player.setPcmMode(0);
    }

    // Entries added by copy data, as typed: each with the title Winamp gives
    // it at once; a name ending in a backslash is one dead file; a stream
    // cannot seek.
    const auto append = [&](const std::string& name) {
        COPYDATASTRUCT data{IPC_PLAYFILE, static_cast<DWORD>(name.size() + 1),
                            const_cast<char*>(name.c_str())};
        ::SendMessageA(winamp.handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    };
    scratch.addFolder("album");
    scratch.addFile("album\\Song One.mp3");
    scratch.addFile("list.m3u");
    std::ofstream("list.m3u")
        << "#EXTM3U\r\n#EXTINF:201,Artist - Song\r\nhttp://radio.example/live\r\n"
           "C:\\Music\\other.ogg\r\n";
    player.clearPlaylist();
    for (const char* name : {"album\\", "album", "list.m3u", "https://radio.example/x.mp3"})
        append(name);
    const std::vector<std::string> playlist{"album\\", "album\\Song One.mp3",
                                            "http://radio.example/live", "C:\\Music\\other.ogg",
                                            "https://radio.example/x.mp3"};
    EXPECT_EQ(winamp.playlist(), playlist);
    const char* const titles[] = {"album\\", "Song One", "Artist - Song", "other",
                                  "https://radio.example/x.mp3"};
    for (int i = 0; i < 5; ++i) {
        const LRESULT title = ask(i, IPC_GETPLAYLISTTITLE);
        ASSERT_NE(title, 0) << i;
        EXPECT_STREQ(reinterpret_cast<const char*>(title), titles[i]) << i;
    }
    winamp.setPlaylistPosition(2);
    winamp.setPlayStatus(IPC_PLAYING);
    EXPECT_EQ(ask(5000, IPC_JUMPTOTIME), -1);
    winamp.setPlaylistPosition(1);
    EXPECT_EQ(ask(5000, IPC_JUMPTOTIME), 0);
}

// Every operation, for a player without a usable window.
void expectNeutral(const PlayerControl& player) {
    player.play();
    player.pause();
    player.stop();
    player.stopAfterCurrent();
    player.playCd();
    player.nextTrack(3);
    player.previousTrack(0);
    player.playlistBeginning();
    player.playlistEnd();
    player.setVolume(128);
    player.setShuffle(1);
    player.setRepeat(1);
    player.setPanning(-127);
    player.seekToPercent(50);
    player.fastForward(10);
    player.fastRewind(10);
    player.clearPlaylist();
    player.loadFile("http://radio.example/live");
    player.preampOn();
    player.preampOff();
    player.setPreamp(30);
    EXPECT_EQ(player.getPlayStatus(), 0);
    EXPECT_EQ(player.getPlaylistLength(), 0);
    EXPECT_EQ(player.getPlaylistPosition(), 0);
    EXPECT_EQ(player.getTitle(), "");
    EXPECT_EQ(player.getArtist(), "");
    EXPECT_EQ(player.getSongTitle(), "");
    EXPECT_EQ(player.getPositionText(), "0:00");
    EXPECT_EQ(player.getLengthText(), "0:00");
    EXPECT_EQ(player.getBitrate(), 0);
    EXPECT_EQ(player.getSampleRate(), 0);
    EXPECT_EQ(player.getChannels(), 0);
    EXPECT_EQ(player.getVersionText(), "0.00");
}

TEST(PlayerControlWindowTest, WithoutAWindowEveryQueryIsNeutral) {
    PlayerControl player;
    EXPECT_EQ(player.window(), nullptr);
    EXPECT_EQ(player.getPcmMode(), 0);
    expectNeutral(player);

    player.setWindow(reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x1234)));
    EXPECT_EQ(player.window(), nullptr);
    expectNeutral(player);
}

TEST(PlayerControlWindowTest, AfterWinampsWindowIsGoneEveryQueryIsNeutral) {
    FakeWinamp winamp;
    winamp.setVersion(0x3000);
    winamp.setTitle("Artist - Song");
    winamp.setPlayStatus(IPC_PLAYING);
    winamp.setPosition(61500);
    PlayerControl player;
    player.setWindow(winamp.handle());
    ASSERT_EQ(player.window(), winamp.handle());
    EXPECT_EQ(player.getPositionText(), "1:01");

    winamp.destroy();
    winamp.clear();
    expectNeutral(player);
    EXPECT_TRUE(winamp.log().empty());
}

}  // namespace
}  // namespace vireo::test
