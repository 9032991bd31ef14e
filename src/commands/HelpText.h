#pragma once
// The text "Vireo Help" prints in the game console: 33 lines joined by line
// feeds, tabs where the game's console wraps them well, no final line feed.

#include <string_view>

namespace vireo {

// One source line per line of the text.
// clang-format off
inline constexpr std::string_view kHelpText =
    "\n"
    "Use the following commands with Vireo. For \texample, \"Vireo Play\" would play the current track.\n"
    "\n"
    "<  > - \tindicates a required parameter.\n"
    "< 0 | 1 > - indicates you are required \tto use 0 or 1.\n"
    "[  ] - indicates an optional parameter.\n"
    "\n"
    "Play : Starts \tplayback of the current track.\n"
    "Pause : Pauses playback.\n"
    "Stop : Stops \tplayback.\n"
    "StopAfter : Stops playback after the current song is \tover.\n"
    "FastForward <seconds> : Fastforwards <seconds> number of seconds.\t\n"
    "FastRewind <seconds> : Fastrewinds <seconds> number of seconds.\n"
    "Pan <value> \t: Sets panning from left (-127) to right (127).\n"
    "SeekToPercent <percent> : \tSeeks <percent> percent through the current track.\n"
    "NextTrack [count] : Skips \tto the next track, or [count] number of tracks forward.\n"
    "PreviousTrack [count] \t: Skips to the previous track, or [count] number of tracks \tbackward.\n"
    "PlaylistBeginning : Goes to the beginning of the playlist and begins \tplayback.\n"
    "PlaylistEnd : Goes to the end of the playlist and begins \tplayback.\n"
    "ToggleShuffle < 0 | 1 > : Turns shuffle off (0) or on (1).\n"
    "ToggleRepeat \t< 0 | 1 > : Turns repeat off (0) or on (1).\n"
    "SetVolume <volume> : Sets the volume \tto <volume>. The volume ranges from 0 to 255; 0 is the lowest, 255 is the \thighest.\n"
    "Load <filename> : Loads and plays <filename>. If PCM is on, the file \tis loaded but not played.\n"
    "SetPCM < 0 | 1 > : Turns Playlist Creation Mode off (0) \tor on (1).\n"
    "Preamp <level> : Sets the preamp level to <level> and turns on the \tpreamp. This amplifies the sound produced by Winamp. Values range from 0 (+20db) \tto 63 (-20db).\n"
    "\n"
    "PreampOff : Turns off preamp.\n"
    "ShowGUI : Shows the in-game display.\t\n"
    "HideGUI : Hides the in-game display.\n"
    "DisplayColor < 0 | 1 | 2 | 3 > : Changes the \tin-game display to white (0), black (1), gray (2), or red (3).\n"
    "Help : Displays this help information.\n"
    "\n"
    "END OF HELP.";
// clang-format on
static_assert(kHelpText.size() == 1818, "the help text is 1818 bytes");

}  // namespace vireo
