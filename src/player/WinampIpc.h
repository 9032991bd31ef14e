#pragma once
// Winamp's window-message interface as the plug-in uses it: the command
// identifiers sent with WM_COMMAND, the request numbers sent in lParam of
// WM_WA_IPC (WM_USER), and their arguments. Constants only, so that any part
// of the plug-in and any test can name a message without pulling in more.

namespace vireo {

// WM_COMMAND identifiers (wParam; lParam is 0).
inline constexpr unsigned WINAMP_BUTTON1 = 40044;       // previous track
inline constexpr unsigned WINAMP_BUTTON2 = 40045;       // play
inline constexpr unsigned WINAMP_BUTTON3 = 40046;       // pause / unpause
inline constexpr unsigned WINAMP_BUTTON4 = 40047;       // stop
inline constexpr unsigned WINAMP_BUTTON5 = 40048;       // next track
inline constexpr unsigned WINAMP_BUTTON1_CTRL = 40154;  // first playlist entry
inline constexpr unsigned WINAMP_BUTTON4_CTRL = 40157;  // stop after the current track
inline constexpr unsigned WINAMP_BUTTON5_CTRL = 40158;  // last playlist entry
inline constexpr unsigned WINAMP_PLAY_AUDIOCD = 40323;  // play the audio CD

// The plug-in request message: the request number goes in lParam, its
// argument in wParam, and the reply is the send's result.
inline constexpr unsigned WM_WA_IPC = 0x0400;  // WM_USER

inline constexpr int IPC_GETVERSION = 0;       // reply: version, low 16 bits
inline constexpr int IPC_DELETE = 101;         // empties the playlist
inline constexpr int IPC_ISPLAYING = 104;      // reply: IPC_PLAYING, IPC_PAUSED, else stopped
inline constexpr int IPC_GETOUTPUTTIME = 105;  // wParam OUTPUTTIME_*
inline constexpr int IPC_JUMPTOTIME = 106;     // wParam: milliseconds
inline constexpr int IPC_SETVOLUME = 122;      // wParam: 0..255, or IPC_QUERY
inline constexpr int IPC_SETPANNING = 123;     // wParam: PANNING_LEFT..PANNING_RIGHT, or IPC_QUERY
inline constexpr int IPC_GETLISTLENGTH = 124;  // reply: number of playlist entries
inline constexpr int IPC_GETLISTPOS = 125;     // reply: current playlist index
inline constexpr int IPC_GETINFO = 126;        // wParam GETINFO_*
inline constexpr int IPC_GETEQDATA = 127;  // wParam EQDATA_*: selects the entry for IPC_SETEQDATA
inline constexpr int IPC_SETEQDATA = 128;  // wParam: value of the selected entry
inline constexpr int IPC_GETPLAYLISTTITLE = 212;  // wParam: index; reply: address of the title or 0
inline constexpr int IPC_SET_SHUFFLE = 252;       // wParam: 0 or 1
inline constexpr int IPC_SET_REPEAT = 253;        // wParam: 0 or 1

// Replies of IPC_ISPLAYING.
inline constexpr int IPC_STOPPED = 0;
inline constexpr int IPC_PLAYING = 1;
inline constexpr int IPC_PAUSED = 3;

// Winamp answers 1 to a request number it does not know.
inline constexpr int IPC_UNKNOWN_REPLY = 1;
// The wParam that makes IPC_SETVOLUME and IPC_SETPANNING answer the current
// value instead of setting one.
inline constexpr int IPC_QUERY = -666;

// Volume and panning as Winamp 5 takes them.
inline constexpr int VOLUME_MIN = 0;
inline constexpr int VOLUME_MAX = 255;
inline constexpr int PANNING_LEFT = -127;
inline constexpr int PANNING_RIGHT = 127;

// A reply below this is no address: Windows never maps the lowest 64 KiB, and
// Winamp's reply to a request it lacks (IPC_UNKNOWN_REPLY) lies there.
inline constexpr unsigned IPC_SMALLEST_ADDRESS = 0x10000;

// Arguments of IPC_GETOUTPUTTIME.
inline constexpr int OUTPUTTIME_POSITION = 0;  // reply: milliseconds
inline constexpr int OUTPUTTIME_LENGTH =
    1;  // reply: seconds (microseconds in Winamp 3), or IPC_UNKNOWN_LENGTH
// The length reply for a stream, an empty playlist or an entry not read yet.
inline constexpr int IPC_UNKNOWN_LENGTH = -1;

// Arguments of IPC_GETINFO.
inline constexpr int GETINFO_SAMPLERATE = 0;  // kHz
inline constexpr int GETINFO_BITRATE = 1;     // kbit/s
inline constexpr int GETINFO_CHANNELS = 2;

// Equaliser entries of IPC_GETEQDATA (0..9 are the bands).
inline constexpr int EQDATA_PREAMP = 10;   // 0 is +20 dB, 63 is -20 dB
inline constexpr int EQDATA_ENABLED = 11;  // 0 off, 1 on
inline constexpr int EQDATA_PREAMP_MAX = 63;

// WM_COPYDATA kind that appends the zero-terminated file name to the playlist.
inline constexpr unsigned long IPC_PLAYFILE = 100;

// Versions 0x3000 to 0x3FFF are the Winamp 3 family. Winamp 5 answers 0x50yx
// (5.666 is 0x5666) and speaks the Winamp 2 interface, like every version
// outside that range.
inline constexpr unsigned WINAMP3_VERSION = 0x3000;
inline constexpr unsigned WINAMP3_LAST_VERSION = 0x3FFF;

// Window classes.
inline constexpr char WINAMP_WINDOW_CLASS[] = "Winamp v1.x";
inline constexpr char WINAMP3_STUDIO_CLASS[] = "STUDIO";

}  // namespace vireo
