#pragma once
// The status lines made from a plain record of facts: what each subsystem
// noted as it ran, and what the status gathered when it was asked for.
// Plain functions, no windows.h: every fact arrives here as a value, and the
// foreign texts among them (a mod name, a captured line, a path) are shown as
// text, cut to fit, whatever bytes they hold.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "commands/StatusReport.h"

namespace vireo {

// The kind of game found, by its executable; the status names it in the
// player's words.
enum class StatusGameKind { HalfLife, CounterStrike, Other };

// A moment noted as a tick count; 0: never.
using NotedTick = std::uint32_t;

struct StatusFacts {
    std::uint32_t now = 0;         // the tick count the "ago" texts count from, read after the rest
    std::uint32_t nowMsOfDay = 0;  // the local clock at `now`, in ms since midnight

    // Winamp.
    bool winampFound = false;
    std::string winampVersion;              // as %WAV% writes it
    std::uint32_t winampVersionNumber = 0;  // as Winamp answers its version request (0x5092)
    bool winamp3 = false;

    // The game. Without a "Half-Life" window, a process of the game may still
    // run: otherExe names it, otherClass the class of its main window (empty
    // when it has none yet).
    bool gameWindowFound = false;
    std::string otherExe;
    std::string otherClass;
    bool gameRefused = false;  // OpenProcess on the game was refused
    std::string exeName;
    std::uint32_t processId = 0;
    std::string gameDirectory;
    std::string modName;
    std::string modDirectory;  // the game's directory and the mod's name, joined
    std::string liblistGame;
    StatusGameKind gameKind = StatusGameKind::Other;

    // A game of today (no "Half-Life" window), served through its files:
    // exeName, modName and the folders above are its own.
    bool todaysGame = false;
    std::string todaysClass;
    std::string modFoundBy;  // how the mod folder was found; empty: not yet
    int consoleDebug = -1;   // -condebug on its command line: 1, 0; -1: not readable
    bool logGrew = false;
    NotedTick loadedAt = 0;  // VireoCommands.cfg's last "loaded"
    std::string filesPath;   // the last cfg file Windows refused; empty: none
    std::string filesError;

    // Console commands.
    std::string buildMarker;  // "2343", "of another build", "unreadable"; empty: never read
    bool landmarks2343 = false;
    NotedTick scannedAt = 0;
    bool scanGotThrough = false;
    std::uint32_t copiesFound = 0;
    std::uint32_t copiesSilenced = 0;
    std::string scannedMod;
    NotedTick lineTakenAt = 0;
    std::string lastLine;

    // In-game display.
    bool displayEnabled = false;
    bool displayShown = false;
    bool hookInstalled = false;     // on the thread of the game window found
    std::string hookError;          // why SetWindowsHookEx failed; empty: it did not
    bool gameSideReported = false;  // by the game that runs now
    NotedTick gameSideTickAt = 0;   // in the game's tick counts, which are the machine's
    bool engineTableAccepted = false;
    bool consoleOpen = false;
    std::uint32_t rowsPrinted = 0;

    // Script.
    bool scriptingOn = false;
    std::string scriptPath;  // of the last attempt, or where it would be written
    bool scriptAttempted = false;
    bool scriptWritten = false;
    NotedTick scriptWrittenAt = 0;
    std::string scriptError;  // Windows' text of the last failure
    NotedTick scriptFailedAt = 0;
    bool scriptAccessDenied = false;  // the last failure was ERROR_ACCESS_DENIED
    bool scriptInPlace = false;

    // Auto-pause.
    std::int32_t autoPauseMode = 0;
    bool counterStrike = false;  // liblist.gam names the game Counter-Strike
    NotedTick stateReadAt = 0;
    bool alive = false;

    // Settings.
    std::string settingsKey;  // the full key name; empty: none could be opened
    bool userKey = false;
};

// Every line starts with its subject and a colon ("Winamp: ", "Game: ", …)
// and ends with a line feed.
[[nodiscard]] std::string composeStatus(const StatusFacts& facts, StatusForm form);

// The text cut after its last whole line that fits in `limit` bytes; a text
// that fits is kept whole. A first line longer than the limit is cut at the
// limit, so something always reaches the reader.
[[nodiscard]] std::string cutAtLineEnd(std::string_view text, std::size_t limit);

// A foreign text made fit for one line: control bytes shown as '?', cut
// after `limit` bytes with "..." in place of the rest.
[[nodiscard]] std::string shownText(std::string_view text, std::size_t limit);

// A message from the system without its trailing line break and blanks.
[[nodiscard]] std::string withoutTrailingBreak(std::string_view text);

}  // namespace vireo
