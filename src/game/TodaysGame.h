#pragma once
// The game of today's builds (window class SDL_app or Valve001, hl.exe or
// cstrike.exe), served through its own files only: its folders, found once per
// game process without ever opening it with rights to its memory, and the
// whole lines its console log gained since the last poll.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vireo {

// Declared from Vista on; the build's headers target XP.
inline constexpr DWORD kProcessQueryLimitedInformation = 0x1000;
// NtQueryInformationProcess's ProcessCommandLineInformation (Windows 8.1).
inline constexpr ULONG kProcessCommandLineInformation = 60;
// Without -game and without a titled liblist.gam after this long, the game
// runs its own folder.
inline constexpr std::uint32_t kModFolderFallbackMs = 10000;
inline constexpr std::string_view kFallbackModFolder = "valve";

enum class ModFolderSource { NotYet, CommandLine, Title, Fallback };

struct TodaysGame {
    HWND window = nullptr;
    DWORD processId = 0;
    std::uint64_t createdAt = 0;  // the process's creation time (FILETIME)
    std::uint32_t foundAt = 0;    // GetTickCount when the road started for it
    std::string exeName;          // "hl.exe", as the executable's path spells it
    std::string windowClass;
    std::string gameFolder;  // the executable's folder, with its trailing '\'
    std::string modFolder;   // gameFolder + mod + '\'; empty until known
    std::string modName;
    ModFolderSource modFrom = ModFolderSource::NotYet;
    std::optional<bool> consoleDebug;  // -condebug; none: the command line was not readable
    bool logGrew = false;              // qconsole.log grew since the road started
};

// The game the files road serves now; null when a window of class Half-Life
// exists (the classic road's), or no game of today runs.
[[nodiscard]] const TodaysGame* todaysGame() noexcept;

// Finds, keeps or ends the served game; the mod folder is looked up until
// known. Called at every poll of the road.
void updateTodaysGame();

// The whole lines qconsole.log gained since the last call, at most one
// read's worth of them.
[[nodiscard]] std::vector<std::string> readTodaysLog();

// Reads the game process's command line (limited query rights only);
// nothing where the system cannot answer. Tests replace it, since Wine 8
// lacks the information class; null puts the system's reader back.
using CommandLineReader = std::optional<std::string> (*)(HANDLE process) noexcept;
void setCommandLineReader(CommandLineReader reader) noexcept;

}  // namespace vireo
