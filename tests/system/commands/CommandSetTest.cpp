// The command-set handler against the Winamp double: what each typed rest of
// a line sends, writes or replies. Settings and port 27005 are machine-wide.

#include <gtest/gtest.h>

#include <fstream>

#include "autopause/AutoPause.h"
#include "commands/CommandSet.h"
#include "commands/HelpText.h"
#include "player/PlayerControl.h"
#include "player/WinampIpc.h"
#include "common/ProcessWide.h"
#include "settings/Settings.h"
#include "support/FakeWinamp.h"
#include "support/TestSupport.h"
#include "support/UdpListener.h"

namespace vireo::test {
namespace {

class CommandSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        playerControl.setWindow(winamp.handle());
        playerControl.setPcmMode(0);
    }
    void TearDown() override { playerControl.setWindow(nullptr); }

    std::vector<WinampMessage> run(const std::string& rest) {
        winamp.clear();
        commandSetHandler("Vireo", rest);
        return winamp.messages();
    }

    FakeWinamp winamp;
};

TEST_F(CommandSetTest, EachLineSendsExactlyItsMessages) {
    const std::vector<std::string> threeEntries{"one", "two", "three"};
    struct Row {
        const char* rest;
        std::vector<WinampMessage> expected;
        // Winamp before the line: stopped, with three entries, unless the row says.
        int status = IPC_STOPPED;
        bool emptyPlaylist = false;
        int volume = 255;
    };
    const WinampMessage length = request(IPC_GETLISTLENGTH);
    const WinampMessage status = request(IPC_ISPLAYING);
    const WinampMessage next = command(WINAMP_BUTTON5);
    const WinampMessage previous = command(WINAMP_BUTTON1);
    const Row rows[] = {
        {"", {}},
        {"Play", {length, command(WINAMP_BUTTON2)}},
        {"PLAY", {length, command(WINAMP_BUTTON2)}},
        {"Play", {length}, IPC_STOPPED, true},  // Winamp would open its Open dialog
        {"Playlist", {}},
        {"Play now please", {length, command(WINAMP_BUTTON2)}},
        {"pause", {command(WINAMP_BUTTON3)}},
        {"PlayCD", {command(WINAMP_PLAY_AUDIOCD)}},
        {"stop", {command(WINAMP_BUTTON4)}},
        {"StopAfter", {command(WINAMP_BUTTON4_CTRL)}},
        // The status only asks Winamp its version, once.
        {"sTaTuS", {request(IPC_GETVERSION)}},
        {"NextTrack 2", {length, command(WINAMP_BUTTON5), command(WINAMP_BUTTON5)}},
        {"NextTrack", {command(WINAMP_BUTTON5)}},
        {"NextTrack 2 3", {length, command(WINAMP_BUTTON5), command(WINAMP_BUTTON5)}},
        {"NextTrack -1", {}},
        {"PreviousTrack 1", {command(WINAMP_BUTTON1)}},
        // A count of at least the three entries: 3 + count mod 3 steps.
        {"NextTrack 20000", {length, next, next, next, next, next}},
        {"PreviousTrack 7", {length, previous, previous, previous, previous}},
        {"NextTrack 9", {length, command(WINAMP_BUTTON5)}, IPC_PLAYING, true},
        {"Load https://radio.example/live",
         {request(IPC_GETVERSION), request(IPC_DELETE), command(WINAMP_BUTTON4),
          copyData(IPC_PLAYFILE, "https://radio.example/live"), length,
          command(WINAMP_BUTTON1_CTRL), command(WINAMP_BUTTON2)}},
        {"Load HTTP://radio.example/live",
         {request(IPC_GETVERSION), request(IPC_DELETE), command(WINAMP_BUTTON4),
          copyData(IPC_PLAYFILE, "HTTP://radio.example/live"), length, command(WINAMP_BUTTON1_CTRL),
          command(WINAMP_BUTTON2)}},
        // The jumps begin playback as the help says; Winamp's only while playing.
        {"PlaylistBeginning",
         {status, command(WINAMP_BUTTON1_CTRL), length, command(WINAMP_BUTTON2)}},
        {"PlaylistBeginning", {status, command(WINAMP_BUTTON1_CTRL)}, IPC_PLAYING},
        {"PlaylistBeginning", {status, command(WINAMP_BUTTON1_CTRL)}, IPC_PAUSED},
        {"PlaylistBeginning", {status, command(WINAMP_BUTTON1_CTRL), length}, IPC_STOPPED, true},
        {"PlaylistEnd", {status, command(WINAMP_BUTTON5_CTRL), length, command(WINAMP_BUTTON2)}},
        {"PlaylistEnd", {status, command(WINAMP_BUTTON5_CTRL)}, IPC_PLAYING},
        {"PlaylistEnd", {status, command(WINAMP_BUTTON5_CTRL)}, IPC_PAUSED},
        {"PlaylistEnd", {status, command(WINAMP_BUTTON5_CTRL), length}, IPC_STOPPED, true},
        {"SetVolume 300", {request(IPC_SETVOLUME, 255)}},
        {"SetVolume 256", {request(IPC_SETVOLUME, 255)}},
        {"SetVolume -5", {request(IPC_SETVOLUME, 0)}},
        {"SetVolume -666", {request(IPC_SETVOLUME, 0)}},
        {"SetVolume loud", {request(IPC_SETVOLUME, 0)}},
        // The question goes out as -666, and the step is held to 0..255.
        {"VolumeUp",
         {request(IPC_SETVOLUME, IPC_QUERY), request(IPC_SETVOLUME, 255)},
         IPC_STOPPED,
         false,
         250},
        {"volumedown",
         {request(IPC_SETVOLUME, IPC_QUERY), request(IPC_SETVOLUME, 0)},
         IPC_STOPPED,
         false,
         10},
        {"VOLUMEUP 3",
         {request(IPC_SETVOLUME, IPC_QUERY), request(IPC_SETVOLUME, 116)},
         IPC_STOPPED,
         false,
         100},
        {"Pan -127", {request(IPC_GETVERSION), request(IPC_SETPANNING, -127)}},
        {"Pan 200", {request(IPC_GETVERSION), request(IPC_SETPANNING, 127)}},
        {"Pan 128", {request(IPC_GETVERSION), request(IPC_SETPANNING, 127)}},
        {"Pan -300", {request(IPC_GETVERSION), request(IPC_SETPANNING, -127)}},
        {"ToggleShuffle 1", {request(IPC_SET_SHUFFLE, 1)}},
        {"ToggleRepeat", {request(IPC_SET_REPEAT, 0)}},
        {"Preamp 10",
         {request(IPC_GETEQDATA, 11), request(IPC_SETEQDATA, 1), request(IPC_GETEQDATA, 10),
          request(IPC_SETEQDATA, 10)}},
        {"Preamp 70", {request(IPC_GETEQDATA, 11), request(IPC_SETEQDATA, 1)}},
        {"PreampOff", {request(IPC_GETEQDATA, 11), request(IPC_SETEQDATA, 0)}},
        {"FastForward 10",
         {request(IPC_GETOUTPUTTIME, 0), request(IPC_JUMPTOTIME, 10000)},
         IPC_PLAYING},
        {"Load", {}},
        {"Load no such file.mp3", {}},
        {"nexttrack\t2", {}},  // a tab is part of the word
    };
    for (const Row& row : rows) {
        winamp.setPlaylist(row.emptyPlaylist ? std::vector<std::string>{} : threeEntries);
        winamp.setPlayStatus(row.status);
        winamp.setPosition(0);
        winamp.setVolume(row.volume);
        EXPECT_TRUE(sameMessages(run(row.rest), row.expected)) << '[' << row.rest << ']';
        EXPECT_TRUE(winamp.effects().empty()) << '[' << row.rest << ']';
    }
}

TEST_F(CommandSetTest, LoadHandsOverANameWithBlanksAndSetPcmSwitchesTheMode) {
    const std::string name = binDirectory() + "track one with blanks.mp3";
    std::ofstream(name) << "x";
    const std::vector<WinampMessage> replacing{
        request(IPC_GETVERSION),      request(IPC_DELETE),        command(WINAMP_BUTTON4),
        copyData(IPC_PLAYFILE, name), request(IPC_GETLISTLENGTH), command(WINAMP_BUTTON1_CTRL),
        command(WINAMP_BUTTON2)};
    EXPECT_TRUE(sameMessages(run("Load " + name), replacing));

    run("SetPCM 1");
    EXPECT_EQ(playerControl.getPcmMode(), 1);
    EXPECT_TRUE(
        sameMessages(run("load " + name), {request(IPC_GETVERSION), copyData(IPC_PLAYFILE, name)}));
    run("SetPCM 2");
    EXPECT_EQ(playerControl.getPcmMode(), 0);
    EXPECT_TRUE(sameMessages(run("LOAD " + name), replacing));
    ::DeleteFileA(name.c_str());

    // Winamp adds nothing for a folder without playable files: nothing is
    // played, or Winamp would open its Open dialog behind the game.
    const std::string folder = binDirectory() + "folder without music";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    EXPECT_TRUE(sameMessages(run("Load " + folder),
                             {request(IPC_GETVERSION), request(IPC_DELETE), command(WINAMP_BUTTON4),
                              copyData(IPC_PLAYFILE, folder), request(IPC_GETLISTLENGTH)}));
    EXPECT_TRUE(winamp.playlist().empty());
    EXPECT_TRUE(winamp.effects().empty());
    ::RemoveDirectoryA(folder.c_str());
}

TEST_F(CommandSetTest, SettingCommandsWriteTheRegistry) {
    run("DisplayColor 9");
    EXPECT_EQ(readSettingInt("DisplayColor"), 9);
    run("displaycolor");
    EXPECT_EQ(readSettingInt("DisplayColor"), 0);
    run("ShowGUI");
    EXPECT_EQ(readSettingInt("ShowGUI"), 1);
    run("HideGUI now");
    EXPECT_EQ(readSettingInt("ShowGUI"), 0);
    EXPECT_TRUE(winamp.messages().empty());
}

// Without a game the player-state flag reads false (dead).
TEST_F(CommandSetTest, AutoPauseChoosesWhenTheNewModeFirstActs) {
    DelayAutoPause.write(0);
    rememberedAlive = false;
    run("AutoPause 2");
    EXPECT_TRUE(rememberedAlive);  // the opposite: the next tick acts at once
    EXPECT_EQ(readSettingInt("EnableAutoPause"), 2);
    DelayAutoPause.write(1);
    run("autopause 1");
    EXPECT_FALSE(rememberedAlive);  // the current state: wait for a change
    EXPECT_EQ(readSettingInt("EnableAutoPause"), 1);
    run("AutoPause");
    EXPECT_EQ(readSettingInt("EnableAutoPause"), 0);
    DelayAutoPause.write(0);
    EnableAutoPause.write(0);
}

TEST_F(CommandSetTest, HelpSendsTheTextAsOneDatagram) {
    UdpListener client(27005);
    ASSERT_TRUE(client.bound());
    for (const char* rest : {"Help", "Help me"}) {
        run(rest);
        const auto datagram = client.receive(kPatience);
        ASSERT_TRUE(datagram) << rest;
        ASSERT_EQ(datagram->size(), 1824u);
        EXPECT_EQ(std::vector<std::uint8_t>(datagram->begin(), datagram->begin() + 5),
                  (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 'l'}));
        EXPECT_EQ(std::string(datagram->begin() + 5, datagram->end() - 1), kHelpText);
        EXPECT_EQ(datagram->back(), 0);
        EXPECT_FALSE(client.receive(100ms)) << "exactly one datagram";
    }
    EXPECT_TRUE(winamp.messages().empty());
}

}  // namespace
}  // namespace vireo::test
