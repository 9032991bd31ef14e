#pragma once
// What the fake game (fake_game.exe) and the tests that drive it agree on:
// its command-line options, the control block it keeps at a fixed address,
// and the private messages its window answers. Plain fixed-width fields, so
// the layout is the same on both sides; no windows.h.
//
// The control block lists every copy of "Unknown command: %s" the fake game
// planted, where it lies, and whether a scan of the game's memory has to
// patch it (mustBePatched) or leave it alone. Send kReportMessage to the
// fake's window and read the block again to learn each copy's state.

#include <cstddef>
#include <cstdint>

namespace vireo::test::fake_game {

// Command-line options, parsed in one place (fake_game/Options.cpp).
inline constexpr char kOptionBuildMarker[] = "--build-marker";  // N: 16-bit value at the marker
// The marker's page is not allocated. On Windows reading it then fails;
// under Wine another process reads the whole low address space, allocated or
// not, as zeros (or whatever the system mapped there later).
inline constexpr char kOptionNoBuildMarker[] = "--no-build-marker";
inline constexpr char kOptionMod[] = "--mod";                   // NAME at the mod-name landmark
inline constexpr char kOptionWindowClass[] = "--window-class";  // default "Half-Life"
inline constexpr char kOptionWindowTitle[] = "--window-title";  // default "Half-Life"
inline constexpr char kOptionNoCopies[] = "--no-copies";        // plant no scan targets
// The window is made and pumped by a second thread, the first one only waits:
// the first thread the system lists is then not the window's.
inline constexpr char kOptionWindowOnSecondThread[] = "--window-on-second-thread";
inline constexpr char kOptionFootprintMb[] = "--footprint-mb";          // N MB of writable data
inline constexpr char kOptionFootprintCopies[] = "--footprint-copies";  // copies in it
// A thread keeps committing, re-protecting and freeing private regions that
// hold copies of the unknown-command message (fake_game/Churn.cpp).
inline constexpr char kOptionChurnRegions[] = "--churn-regions";
// The installer tests' doubles (fake_game/Holding.cpp). --hold-file keeps the
// file open, sharing nothing, while the fake runs: like a DLL mapped in the
// game on Windows, it can be neither replaced nor deleted. --run starts the
// command line once the window exists, ends with it and prints
// kRunExitLine and its exit code. --release-after lets the file go that long
// after the command started, as a program that is closing lets a DLL go, and
// prints kReleasedLine if the command was still running then.
inline constexpr char kOptionHoldFile[] = "--hold-file";          // PATH
inline constexpr char kOptionRun[] = "--run";                     // COMMAND LINE
inline constexpr char kOptionReleaseAfter[] = "--release-after";  // MS
inline constexpr char kRunExitLine[] = "exit code";
inline constexpr char kReleasedLine[] = "released while running";
// A reader of the script (fake_game/Watching.cpp): a thread polls the file's
// size as fast as it can and keeps in the control block how often it looked,
// how often the file was missing, and each size it saw.
inline constexpr char kOptionWatchFile[] = "--watch-file";  // PATH

// A game of today (fake_game/TodayConsole.cpp). -condebug makes the engine
// append every console print to qconsole.log beside the executable, one
// open-append-close each; -game NAME names the mod folder, as the real game's
// command line does. --title-after shows the window's title that long after
// the start (blank until then). --exec-when-present execs the cfg file from
// the mod folder once it exists (a player typing exec). Keys are pressed
// through kPressMessage: the alias named in pressName is run.
inline constexpr char kOptionConDebug[] = "-condebug";
inline constexpr char kOptionGame[] = "-game";                           // NAME
inline constexpr char kOptionTitleAfter[] = "--title-after";             // MS
inline constexpr char kOptionExecWhenPresent[] = "--exec-when-present";  // FILE in the mod folder
inline constexpr char kTodayWindowClass[] = "SDL_app";

// Exit codes that tell the controller why the fake did not come up.
inline constexpr int kExitBadOptions = 2;
inline constexpr int kExitLandmarksTaken = 3;  // a landmark address was not free
inline constexpr int kExitControlBlockTaken = 4;
inline constexpr int kExitPlantFailed = 5;
inline constexpr int kExitFootprintFailed = 6;
inline constexpr int kExitNoWindow = 7;
inline constexpr int kExitChurnFailed = 9;
inline constexpr int kExitHoldFailed = 10;
inline constexpr int kExitRunFailed = 11;
inline constexpr int kExitWatchFailed = 12;

inline constexpr std::uintptr_t kControlBlockAddress = 0x03100000;
inline constexpr std::uint32_t kControlMagic = 0x4B414647;  // "GFAK"
inline constexpr std::size_t kMaxPlantedCopies = 128;
inline constexpr std::size_t kMaxWatchedSizes = 15;

// Private messages of the fake game's window (WM_APP is 0x8000). Send them
// with SendMessage: the answer is 1 once the work is done.
inline constexpr unsigned kReportMessage = 0x8000 + 1;   // fill firstByte and restIntact
inline constexpr unsigned kReplantMessage = 0x8000 + 2;  // write every copy again
// Runs the console command in the block's pressName as a bound key does.
inline constexpr unsigned kPressMessage = 0x8000 + 3;
inline constexpr std::size_t kPressNameSize = 64;

enum class CopyPlace : std::uint32_t {
    PrivateData = 1,   // committed PAGE_READWRITE private page: patched
    Heap,              // a block of the process heap: patched
    ImageData,         // the program's own .data: patched only where the system
                       // reports it PAGE_READWRITE (Windows), not where it
                       // reports PAGE_WRITECOPY (Wine)
    AcrossChunk,       // runs across a 1024-byte boundary: patched
    AtChunkEnd,        // ends exactly at a 1024-byte boundary: patched
    BackToBack,        // two copies with nothing between them: both patched
    AtRegionEnd,       // the last bytes of a region: patched
    LimitSizeRegion,   // in a region of exactly 0x450000 bytes: patched
    OverLimitRegion,   // in a region one page larger: untouched
    ExecuteReadWrite,  // PAGE_EXECUTE_READWRITE: untouched
    Guarded,           // PAGE_READWRITE | PAGE_GUARD: untouched
    ReadOnly,          // PAGE_READONLY: untouched
    MappedView,        // a view of a paging-file mapping: untouched
    Footprint,         // the benchmark's writable data: patched
};

struct PlantedCopy {
    std::uint64_t address;
    std::uint32_t place;          // CopyPlace
    std::uint32_t mustBePatched;  // 1: a scan has to patch it; 0: it must stay whole
    std::uint32_t firstByte;      // as of the last report
    std::uint32_t restIntact;     // 1 when the bytes after the first still match
    std::uint32_t regionProtect;  // the region as the fake game itself sees it
    std::uint32_t regionType;
    std::uint64_t regionSize;
};
static_assert(sizeof(PlantedCopy) == 40);

struct ControlBlock {
    std::uint32_t magic;
    std::uint32_t copyCount;
    std::uint32_t reportCount;  // goes up by one with every report
    std::uint32_t regionCount;  // footprint regions
    std::uint64_t footprintBytes;
    PlantedCopy copies[kMaxPlantedCopies];
    // --watch-file: written by the watching thread only, the count last.
    std::uint32_t watchPolls;
    std::uint32_t watchMissing;
    std::uint32_t watchSizeCount;  // distinct sizes seen (at most kMaxWatchedSizes kept)
    std::uint32_t watchSizes[kMaxWatchedSizes];
    // A game of today: every append to qconsole.log, every one the system
    // refused (the reader's sharing locked the engine out: the real game's
    // tracker crashes then), the last refusal's error, and the cfg files run.
    std::uint32_t logAppends;
    std::uint32_t logRefusals;
    std::uint32_t logLastError;
    std::uint32_t execCount;
    char pressName[kPressNameSize];  // written by the test, NUL-terminated
};
static_assert(sizeof(ControlBlock) ==
              24 + 40 * kMaxPlantedCopies + 12 + 4 * kMaxWatchedSizes + 16 + kPressNameSize);

}  // namespace vireo::test::fake_game
