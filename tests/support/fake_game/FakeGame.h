#pragma once
// fake_game.exe: a stand-in for the game process. It opens a top-level window
// of class "Half-Life", keeps the game's memory landmarks at their fixed
// addresses, and plants copies of the unknown-command message in every kind
// of region the scan has to search or skip. One source file per concern:
//   Options.cpp        the command line (FakeGameControl.h names the options)
//   Landmarks.cpp      pages at the landmark addresses, build marker, mod name
//   PlantedCopies.cpp  the copies, the control block, report and replant
//   Footprint.cpp      many megabytes of writable data for the benchmark
//   Holding.cpp        a file held open and a program run (installer tests)
//   Watching.cpp       a file's size polled (the script writer's test)
//   TodayConsole.cpp   a game of today: console, cfg files, qconsole.log
//   Main.cpp           the window and its message loop
// To add a concern (the engine table, say), add a file and call it from main.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "fake_game/Engine.h"
#include "support/FakeGameControl.h"

namespace vireo::test::fake_game {

struct TodayOptions {
    bool conDebug = false;
    std::string gameName;         // -game; empty: valve
    DWORD titleAfterMs = 0;       // 0: the title is there from the start
    std::string execWhenPresent;  // a cfg of the mod folder, run once it exists
};

struct Options {
    std::optional<std::uint16_t> buildMarker = std::uint16_t{0};  // none: unreadable
    std::string modName = "valve";
    std::string windowClass = "Half-Life";
    std::string windowTitle = "Half-Life";
    bool plantCopies = true;
    bool windowOnSecondThread = false;
    unsigned footprintMb = 0;
    unsigned footprintCopies = 40;
    bool churnRegions = false;
    std::string holdFile;      // Holding.cpp
    std::string runCommand;    // Holding.cpp
    std::string watchFile;     // Watching.cpp
    DWORD releaseAfterMs = 0;  // Holding.cpp; 0: held until the process ends
    EngineOptions engine;      // Engine.cpp
    TodayOptions today;        // TodayConsole.cpp
};

// False on an unknown option or a missing value.
bool parseOptions(int argc, char** argv, Options& options);

// Commits the pages at every landmark address and writes the build marker and
// the mod name. False when an address is not free.
bool setUpLandmarks(const Options& options);

// Commits the control block at kControlBlockAddress; null when taken.
ControlBlock* setUpControlBlock();

// Everything else the fake allocates goes to the top of the address space,
// away from the landmarks.
inline constexpr DWORD kAllocationFlags = MEM_RESERVE | MEM_COMMIT | MEM_TOP_DOWN;

// Plants the copies of the test regions and records them in the block.
bool plantTestCopies(ControlBlock& block);
// Fills the benchmark footprint and plants its copies.
bool plantFootprint(const Options& options, ControlBlock& block);
// Churn.cpp: a thread that keeps changing the process's regions.
bool startRegionChurn();

// Adds one copy to the block (false when the block is full).
bool recordCopy(ControlBlock& block, void* address, CopyPlace place, bool mustBePatched);
// Writes the message at the address, whatever the page's protection.
void writeCopy(std::uintptr_t address);
void reportCopies(ControlBlock& block);
void replantCopies(ControlBlock& block);

// Holding.cpp: opens the file sharing nothing until the process ends or
// runToEnd lets it go.
bool holdFile(const std::string& path);
// Runs the command line to its end, pumping this thread's messages meanwhile
// and closing the held file releaseAfterMs after the start (if not 0);
// prints and returns its exit code, or kExitRunFailed when it cannot start.
int runToEnd(const std::string& commandLine, DWORD releaseAfterMs);
// Watching.cpp: starts the thread that polls the file's size into the block.
bool watchFile(const std::string& path, ControlBlock& block);

// TodayConsole.cpp: the console of a game of today. setUpToday notes the
// game's folder; startToday arms the window's timer that shows a late title
// and runs --exec-when-present; onTodayTimer answers false for other timers;
// pressKey runs the block's pressName.
bool setUpToday(const Options& options, ControlBlock& block);
bool titleShownAtStart(const Options& options);
void startToday(HWND window);
bool onTodayTimer(HWND window, UINT_PTR id);
void pressKey();

}  // namespace vireo::test::fake_game
