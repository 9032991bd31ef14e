#pragma once
// What the fake game's engine table (fake_game/Engine.cpp) and the display
// tests agree on: the option that chooses the table, and the log the fake
// keeps at a fixed address of the game, which the tests read and steer with
// ReadProcessMemory and WriteProcessMemory. Plain fixed-width fields, no
// windows.h.
//
// With the real table, entries 43 and 70 of the table at the engine-table
// landmark are functions of the fake: the print entry formats its arguments
// as the game's engine does (the text is a format, followed by arguments) and
// appends the record and the formatted text to the log ring; the visibility
// entry answers consoleVisible, which the tests set.

#include <cstddef>
#include <cstdint>

namespace vireo::test::fake_game {

inline constexpr char kOptionEngineTable[] = "--engine-table";
// Values of the option.
inline constexpr char kEngineTableReal[] = "real";        // the default
inline constexpr char kEngineTableNone[] = "none";        // nothing committed at the address
inline constexpr char kEngineTableData[] = "data";        // entries point at the fake's data
inline constexpr char kEngineTableNothing[] = "nothing";  // entries point at unmapped addresses

enum class EngineTableKind : std::uint32_t { Real = 1, None, Data, Nothing };

inline constexpr int kExitEngineTableTaken = 8;  // the table's or the log's address was not free

inline constexpr std::uintptr_t kEngineLogAddress = 0x03180000;
inline constexpr std::uint32_t kEngineLogMagic = 0x474E4546;  // "FENG"
inline constexpr std::size_t kEngineLogCapacity = 96;         // prints kept in the ring
inline constexpr std::size_t kEnginePrintTextSize = 512;      // room past any slot

// One call of the print entry: the record as it arrived, and the text the
// engine's formatting made of the format and its arguments.
struct EnginePrint {
    std::int32_t row;
    float timeToLive;
    float red;
    float green;
    float blue;
    std::uint32_t sequence;           // 1 for the first print
    std::uint32_t threadId;           // the thread that called
    std::uint32_t visibilityQueries;  // queries answered before this print
    // The DLL's timer messages the game thread had taken (vireoTimerMessages)
    // when it printed this: the six prints of one draw share the value of
    // the message that started it.
    std::uint32_t timerMessage;
    char text[kEnginePrintTextSize];
};
static_assert(sizeof(EnginePrint) == 36 + kEnginePrintTextSize);

struct EngineLog {
    std::uint32_t magic;
    std::uint32_t tableKind;       // EngineTableKind
    std::uint32_t gameThreadId;    // the thread that runs the window
    std::uint32_t consoleVisible;  // set by the tests: what entry 70 answers
    std::uint32_t printCount;      // raised after each print is complete
    std::uint32_t visibilityQueries;
    // Messages the game thread retrieved (seen by a message hook of the fake):
    // WM_TIMER of a thread timer other than the fake's own: while
    // gen_vireo.dll is mapped it is the DLL's; once it is gone, a stale one
    // (dropped instead of dispatched).
    std::uint32_t vireoTimerMessages;
    std::uint32_t staleTimerMessages;
    std::uint32_t wakeMessages;  // WM_NULL posted to the thread
    // Access violations and bad instructions seen by a vectored handler: a
    // fault in a timer procedure is swallowed by the message dispatch, so
    // this is where it shows.
    std::uint32_t faults;
    std::uint64_t firstFaultAddress;
    std::uint32_t vireoLoaded;  // 1 while gen_vireo.dll is mapped
    // Set by the tests: the fake frees gen_vireo.dll on the game thread, as
    // the system does after the hook is removed, and counts it in unloads.
    std::uint32_t unloadRequest;
    std::uint32_t unloads;
    // Set by the tests to an EngineTableKind: the fake rewrites (or, for
    // None, decommits) its engine table on the game thread, between two
    // draws, as a game that reloads its client would; 0 once served.
    // tableKind then says which table is in place.
    std::uint32_t tableRequest;
    EnginePrint prints[kEngineLogCapacity];
};
static_assert(sizeof(EngineLog) == 64 + sizeof(EnginePrint) * kEngineLogCapacity);

}  // namespace vireo::test::fake_game
