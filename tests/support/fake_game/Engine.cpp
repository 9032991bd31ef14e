#include "fake_game/Engine.h"

#include <windows.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "game/Landmarks.h"

namespace vireo::test::fake_game {
namespace {

constexpr char kVireoModule[] = "gen_vireo.dll";
constexpr std::uintptr_t kAllocationGranularity = 0x10000;
constexpr std::uintptr_t kPageSize = 0x1000;
constexpr std::size_t kTableEntries = 128;  // room past entry 70
constexpr UINT kHousekeepingPeriodMs = 50;
// Inside the table's reserved block, but never committed.
constexpr std::uintptr_t kNothingOffset = 0x8000;
// In the first page of the address space, which is never mapped.
constexpr std::uint32_t kNullPageTarget = 0x10;

// The engine's notify record as the game lays it out, written down here on
// its own so that a layout mistake in the plug-in shows in the log.
struct GameNotifyRecord {
    std::int32_t row;
    float timeToLive;
    float colour[3];
};

EngineLog* gLog = nullptr;
UINT_PTR gHousekeepingTimer = 0;

// Where the "data" table's entries point: ordinary writable data of the
// fake's image. Calling it faults (no execute right), or at worst traps.
unsigned char gNotCode[64] = {0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC,
                              0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC,
                              0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC};

// Entry 43: formats like the engine (the text is a format, followed by its
// arguments) and appends the record and the text to the ring.
void enginePrint(GameNotifyRecord* record, const char* format, ...) {
    EngineLog& log = *gLog;
    const std::uint32_t sequence = log.printCount + 1;
    EnginePrint& entry = log.prints[(sequence - 1) % kEngineLogCapacity];
    entry.row = record->row;
    entry.timeToLive = record->timeToLive;
    entry.red = record->colour[0];
    entry.green = record->colour[1];
    entry.blue = record->colour[2];
    entry.sequence = sequence;
    entry.threadId = ::GetCurrentThreadId();
    entry.visibilityQueries = log.visibilityQueries;
    entry.timerMessage = log.vireoTimerMessages;
    va_list args;
    va_start(args, format);
    std::vsnprintf(entry.text, sizeof entry.text, format, args);
    va_end(args);
    // A reader in another process trusts the count: the entry comes first.
    std::atomic_thread_fence(std::memory_order_seq_cst);
    log.printCount = sequence;
}

// Entry 70: what the tests set.
int engineConsoleVisible() {
    ++gLog->visibilityQueries;
    return static_cast<int>(gLog->consoleVisible);
}

std::uint32_t address32(const void* p) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p));
}

void fillTable(EngineTableKind kind);

bool setUpTable(EngineTableKind kind) {
    const std::uintptr_t table = landmarks::kEngineTableAddress;
    const std::uintptr_t block = table & ~(kAllocationGranularity - 1);
    MEMORY_BASIC_INFORMATION info{};
    ::VirtualQuery(reinterpret_cast<void*>(table), &info, sizeof info);
    // "none": the address must really hold nothing.
    if (kind == EngineTableKind::None) return info.State == MEM_FREE;
    if (!::VirtualAlloc(reinterpret_cast<void*>(block), kAllocationGranularity, MEM_RESERVE,
                        PAGE_NOACCESS))
        return false;
    const std::uintptr_t page = table & ~(kPageSize - 1);
    const std::uintptr_t end = (table + kTableEntries * 4 + kPageSize - 1) & ~(kPageSize - 1);
    if (!::VirtualAlloc(reinterpret_cast<void*>(page), end - page, MEM_COMMIT, PAGE_READWRITE))
        return false;
    fillTable(kind);
    return true;
}

// The table's committed pages; None takes them away again.
bool switchTable(EngineTableKind kind) {
    const std::uintptr_t table = landmarks::kEngineTableAddress;
    const std::uintptr_t page = table & ~(kPageSize - 1);
    const std::uintptr_t end = (table + kTableEntries * 4 + kPageSize - 1) & ~(kPageSize - 1);
    if (kind == EngineTableKind::None)
        return ::VirtualFree(reinterpret_cast<void*>(page), end - page, MEM_DECOMMIT) != 0;
    // A game started without a table has not even reserved the block.
    const std::uintptr_t block = table & ~(kAllocationGranularity - 1);
    ::VirtualAlloc(reinterpret_cast<void*>(block), kAllocationGranularity, MEM_RESERVE,
                   PAGE_NOACCESS);
    if (!::VirtualAlloc(reinterpret_cast<void*>(page), end - page, MEM_COMMIT, PAGE_READWRITE))
        return false;
    fillTable(kind);
    return true;
}

void fillTable(EngineTableKind kind) {
    const std::uintptr_t table = landmarks::kEngineTableAddress;
    const std::uintptr_t block = table & ~(kAllocationGranularity - 1);
    auto* entries = reinterpret_cast<std::uint32_t*>(table);
    std::uint32_t& print = entries[landmarks::kPrintNotifyRowEntry];
    std::uint32_t& consoleVisible = entries[landmarks::kIsConsoleVisibleEntry];
    switch (kind) {
        case EngineTableKind::Real:
            print = address32(reinterpret_cast<const void*>(&enginePrint));
            consoleVisible = address32(reinterpret_cast<const void*>(&engineConsoleVisible));
            break;
        case EngineTableKind::Data:
            print = address32(gNotCode);
            consoleVisible = address32(gNotCode + 16);
            break;
        default:
            print = static_cast<std::uint32_t>(block + kNothingOffset);
            consoleVisible = kNullPageTarget;
            break;
    }
}

EngineLog* setUpLog() {
    void* reserved = ::VirtualAlloc(reinterpret_cast<void*>(kEngineLogAddress),
                                    kAllocationGranularity, MEM_RESERVE, PAGE_NOACCESS);
    if (!reserved) return nullptr;
    return static_cast<EngineLog*>(::VirtualAlloc(reinterpret_cast<void*>(kEngineLogAddress),
                                                  sizeof(EngineLog), MEM_COMMIT, PAGE_READWRITE));
}

LONG CALLBACK countFaults(EXCEPTION_POINTERS* pointers) {
    switch (pointers->ExceptionRecord->ExceptionCode) {
        case EXCEPTION_ACCESS_VIOLATION:
        case EXCEPTION_ILLEGAL_INSTRUCTION:
        case EXCEPTION_PRIV_INSTRUCTION:
        case EXCEPTION_IN_PAGE_ERROR:
        case EXCEPTION_BREAKPOINT:
            if (gLog->faults++ == 0)
                gLog->firstFaultAddress =
                    reinterpret_cast<std::uintptr_t>(pointers->ExceptionRecord->ExceptionAddress);
            break;
        default:
            break;
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

// Sees every message the game thread takes from its queue, after the
// plug-in's own hook (which is installed later and so called first).
LRESULT CALLBACK watchMessages(int code, WPARAM wParam, LPARAM lParam) noexcept {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        MSG* msg = reinterpret_cast<MSG*>(lParam);
        if (!msg->hwnd && msg->message == WM_NULL) ++gLog->wakeMessages;
        // The fake's only other thread timer is its own housekeeping, so
        // every other one belongs to the DLL. (Wine hands a handle, not the
        // procedure's address, in lParam, so the id is what tells them apart.)
        if (!msg->hwnd && msg->message == WM_TIMER && msg->wParam != gHousekeepingTimer) {
            if (::GetModuleHandleA(kVireoModule)) {
                ++gLog->vireoTimerMessages;
            } else {
                // A timer whose procedure went away with its module: counted,
                // and dropped instead of dispatched into nothing.
                ++gLog->staleTimerMessages;
                msg->message = WM_NULL;
                msg->lParam = 0;
            }
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// Serves unload requests on the game thread, outside every hook call, and
// keeps vireoLoaded current.
void CALLBACK housekeeping(HWND, UINT, UINT_PTR, DWORD) noexcept {
    HMODULE vireo = ::GetModuleHandleA(kVireoModule);
    if (gLog->unloadRequest && vireo) {
        gLog->unloadRequest = 0;
        ::FreeLibrary(vireo);
        ++gLog->unloads;
        vireo = ::GetModuleHandleA(kVireoModule);
    }
    gLog->vireoLoaded = vireo != nullptr;
    if (const std::uint32_t wanted = gLog->tableRequest) {
        gLog->tableRequest = 0;
        const auto kind = static_cast<EngineTableKind>(wanted);
        if (switchTable(kind)) gLog->tableKind = wanted;
    }
}

}  // namespace

bool parseEngineOption(int argc, char** argv, int& i, EngineOptions& options, bool& bad) {
    if (std::strcmp(argv[i], kOptionEngineTable) != 0) return false;
    if (i + 1 >= argc) {
        bad = true;
        return true;
    }
    const char* value = argv[++i];
    if (std::strcmp(value, kEngineTableReal) == 0)
        options.table = EngineTableKind::Real;
    else if (std::strcmp(value, kEngineTableNone) == 0)
        options.table = EngineTableKind::None;
    else if (std::strcmp(value, kEngineTableData) == 0)
        options.table = EngineTableKind::Data;
    else if (std::strcmp(value, kEngineTableNothing) == 0)
        options.table = EngineTableKind::Nothing;
    else
        bad = true;
    return true;
}

bool setUpEngine(const EngineOptions& options) {
    gLog = setUpLog();
    if (!gLog) return false;
    gLog->magic = kEngineLogMagic;
    gLog->tableKind = static_cast<std::uint32_t>(options.table);
    if (!setUpTable(options.table)) return false;
    ::AddVectoredExceptionHandler(1, countFaults);
    return true;
}

bool watchGameThread() {
    gLog->gameThreadId = ::GetCurrentThreadId();
    if (!::SetWindowsHookExA(WH_GETMESSAGE, watchMessages, nullptr, ::GetCurrentThreadId()))
        return false;
    gHousekeepingTimer = ::SetTimer(nullptr, 0, kHousekeepingPeriodMs, housekeeping);
    return gHousekeepingTimer != 0;
}

}  // namespace vireo::test::fake_game
