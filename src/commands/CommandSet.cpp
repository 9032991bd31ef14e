#include "commands/CommandSet.h"

#include <windows.h>

#include "autopause/AutoPause.h"
#include "commands/CommandText.h"
#include "commands/ConsoleReply.h"
#include "player/PlayerControl.h"
#include "player/WinampIpc.h"
#include "common/ProcessWide.h"
#include "settings/Settings.h"

namespace vireo {
namespace {

// Winamp's Play opens its modal Open dialog, behind the game, when the
// playlist is empty: then nothing is sent.
void playIfListed() {
    if (playerControl.getPlaylistLength() > 0) playerControl.play();
}

// Winamp's first- and last-entry commands start playback only when it is
// already playing: a stopped Winamp is also told to play, as the help says.
void jumpAndPlay(LRESULT (PlayerControl::*jump)() const noexcept) {
    const bool stopped = playerControl.getPlayStatus() == IPC_STOPPED;
    (playerControl.*jump)();
    if (stopped) playIfListed();
}

struct SubCommand {
    const char* word;  // lower case
    void (*run)(std::int32_t n, const std::string& argument);
};

// Tested in this order; the first equal word runs.
const SubCommand kSubCommands[] = {
    {"play", [](std::int32_t, const std::string&) { playIfListed(); }},
    {"pause", [](std::int32_t, const std::string&) { playerControl.pause(); }},
    {"playcd", [](std::int32_t, const std::string&) { playerControl.playCd(); }},
    {"stop", [](std::int32_t, const std::string&) { playerControl.stop(); }},
    {"stopafter", [](std::int32_t, const std::string&) { playerControl.stopAfterCurrent(); }},
    {"fastforward", [](std::int32_t n, const std::string&) { playerControl.fastForward(n); }},
    {"fastrewind", [](std::int32_t n, const std::string&) { playerControl.fastRewind(n); }},
    {"pan", [](std::int32_t n, const std::string&) { playerControl.setPanning(n); }},
    {"seektopercent", [](std::int32_t n, const std::string&) { playerControl.seekToPercent(n); }},
    {"nexttrack", [](std::int32_t n, const std::string&) { playerControl.nextTrack(n); }},
    {"previoustrack", [](std::int32_t n, const std::string&) { playerControl.previousTrack(n); }},
    {"playlistbeginning",
     [](std::int32_t, const std::string&) { jumpAndPlay(&PlayerControl::playlistBeginning); }},
    {"playlistend",
     [](std::int32_t, const std::string&) { jumpAndPlay(&PlayerControl::playlistEnd); }},
    {"toggleshuffle", [](std::int32_t n, const std::string&) { playerControl.setShuffle(n); }},
    {"togglerepeat", [](std::int32_t n, const std::string&) { playerControl.setRepeat(n); }},
    {"setvolume", [](std::int32_t n, const std::string&) { playerControl.setVolume(n); }},
    {"volumeup", [](std::int32_t, const std::string&) { playerControl.changeVolume(kVolumeStep); }},
    {"volumedown",
     [](std::int32_t, const std::string&) { playerControl.changeVolume(-kVolumeStep); }},
    {"load", [](std::int32_t, const std::string& argument) { playerControl.loadFile(argument); }},
    {"setpcm", [](std::int32_t n, const std::string&) { playerControl.setPcmMode(n); }},
    // The preamp is switched on even when the level is out of range.
    {"preamp",
     [](std::int32_t n, const std::string&) {
         playerControl.preampOn();
         playerControl.setPreamp(n);
     }},
    {"preampoff", [](std::int32_t, const std::string&) { playerControl.preampOff(); }},
    {"showgui", [](std::int32_t, const std::string&) { ShowGUI.write(1); }},
    {"hidegui", [](std::int32_t, const std::string&) { ShowGUI.write(0); }},
    // Any number is stored as typed; only AutoPauseMode's values act.
    {"autopause",
     [](std::int32_t n, const std::string&) { setAutoPause(static_cast<AutoPauseMode>(n)); }},
    {"displaycolor", [](std::int32_t n, const std::string&) { DisplayColor.write(n); }},
    {"help", [](std::int32_t, const std::string&) { sendHelp(); }},
    {"status", [](std::int32_t, const std::string&) { sendStatus(); }},
};
static_assert(sizeof kSubCommands / sizeof kSubCommands[0] == 28, "28 sub-commands");

}  // namespace

void commandSetHandler(std::string, std::string rest) {
    const SplitLine split = splitSubCommand(rest);
    const std::string word = lowerAscii(split.word);
    for (const SubCommand& command : kSubCommands) {
        if (word == command.word) {
            command.run(readNumber(split.rest), split.rest);
            return;
        }
    }
}

}  // namespace vireo
