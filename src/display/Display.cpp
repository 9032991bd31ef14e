#include "display/Display.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <string>

#include "display/EngineTableCheck.h"
#include "display/HostPresence.h"
#include "display/NotifyRows.h"
#include "display/SharedDisplayBlock.h"
#include "game/GameLocator.h"
#include "macros/Macros.h"
#include "common/ProcessWide.h"
#include "common/Timers.h"
#include "settings/Settings.h"

namespace vireo {
namespace {

static_assert(memory::kCommit == MEM_COMMIT && memory::kImage == MEM_IMAGE);
static_assert(memory::kNoAccess == PAGE_NOACCESS && memory::kReadOnly == PAGE_READONLY &&
              memory::kReadWrite == PAGE_READWRITE && memory::kWriteCopy == PAGE_WRITECOPY);
static_assert(memory::kExecute == PAGE_EXECUTE && memory::kExecuteRead == PAGE_EXECUTE_READ &&
              memory::kExecuteReadWrite == PAGE_EXECUTE_READWRITE &&
              memory::kExecuteWriteCopy == PAGE_EXECUTE_WRITECOPY && memory::kGuard == PAGE_GUARD);

// The engine's entries, called with the C calling convention. The print entry
// takes its text as a format followed by arguments.
using PrintNotifyRowFn = void (*)(NotifyRecord*, const char* format, ...);
using IsConsoleVisibleFn = int (*)();

// What the format entry receives, so that a line with a percent sign is
// printed as it is and the engine never reads an argument that is not there.
constexpr char kLiteralFormat[] = "%s";
constexpr char kEmptyLine[] = "";

// Looked up rather than imported: the DLL must still load on Windows 2000,
// 98 and ME, which lack it.
using GetModuleHandleExFn = BOOL(WINAPI*)(DWORD flags, LPCSTR name, HMODULE* module);
constexpr char kKernelModule[] = "kernel32.dll";
constexpr char kPinFunctionName[] = "GetModuleHandleExA";

GetModuleHandleExFn pinFunction() noexcept {
    const HMODULE kernel = ::GetModuleHandleA(kKernelModule);
    if (!kernel) return nullptr;
    return reinterpret_cast<GetModuleHandleExFn>(
        reinterpret_cast<void*>(::GetProcAddress(kernel, kPinFunctionName)));
}

// The game's own memory, as seen from inside the game.
class OwnProcessMemory final : public MemoryView {
public:
    MemoryRegion regionOf(std::uintptr_t address) const noexcept override {
        MEMORY_BASIC_INFORMATION info{};
        if (::VirtualQuery(reinterpret_cast<const void*>(address), &info, sizeof info) !=
            sizeof info)
            return {};
        return MemoryRegion{reinterpret_cast<std::uintptr_t>(info.BaseAddress), info.RegionSize,
                            info.State, info.Protect, info.Type};
    }
    std::uint32_t read32(std::uintptr_t address) const noexcept override {
        std::uint32_t value = 0;
        std::memcpy(&value, reinterpret_cast<const void*>(address), sizeof value);
        return value;
    }
};

}  // namespace

void CALLBACK displayComposerTick(HWND, UINT, UINT_PTR, DWORD) noexcept {
    try {
        if (!findGameWindow()) return;
        if (!EnableIngameDisplay.isOn()) return;
        for (int k = 0; k < kDisplayLineCount; ++k) {
            // Not the console-safe form: the line is printed, never executed.
            std::string line = displayLineSetting(k).read();
            expandMacros(line);
            storeDisplayLine(sharedDisplayBlock.lines[k], line);
        }
    } catch (...) {
        // Out of memory: the slots not yet rewritten keep their text until
        // the next tick.
    }
}

// Runs on the game's thread, from the game's own message dispatching. It
// allocates nothing: settings are integers, and the lines are printed
// straight from the shared slots. What it finds goes into the shared report
// for the status, with the tick count the timer message brings.
void CALLBACK gameDisplayTick(HWND, UINT, UINT_PTR, DWORD tickCount) noexcept {
    if (gameDisplayLeaving.load()) return;
    // Winamp quit, unloaded the plug-in or crashed: the slots hold the last
    // lines composed, which would otherwise stay on screen for good.
    if (!hostIsPresent()) return;
    if (!findGameWindow()) return;
    GameSideReport& report = sharedDisplayBlock.gameSide;
    report.lastTick = tickCount != 0 ? tickCount : 1;  // 0 means "no tick yet"
    report.tableChecked = 1;
    const std::optional<EngineEntries> entries = checkEngineTable(engineTable, OwnProcessMemory{});
    report.tableAccepted = entries.has_value() ? 1 : 0;
    if (!entries) {
        report.rowsPrinted = 0;
        return;
    }
    const auto printNotifyRow = reinterpret_cast<PrintNotifyRowFn>(entries->printNotifyRow);
    const auto isConsoleVisible = reinterpret_cast<IsConsoleVisibleFn>(entries->isConsoleVisible);

    const std::int32_t startLine = StartLine.read();
    const std::int32_t displayColor = DisplayColor.read();
    std::uint8_t rowsWithText = 0;
    bool consoleOpen = false;
    for (int i = 0; i < kDisplayLineCount; ++i) {
        // A fresh record for every line: the engine gets the same fields
        // whatever it did with the previous one.
        NotifyRecord record = notifyRecord(startLine, displayColor, i);
        // An empty text blanks the row.
        const bool shown = ShowGUI.isOn();
        consoleOpen = shown && isConsoleVisible() != 0;
        const bool show = shown && !consoleOpen;
        const char* const text = show ? sharedDisplayBlock.lines[i] : kEmptyLine;
        if (text[0] != '\0') ++rowsWithText;
        printNotifyRow(&record, kLiteralFormat, text);
    }
    report.rowsPrinted = rowsWithText;
    report.consoleOpen = consoleOpen ? 1 : 0;
}

void startGameDisplay() noexcept {
    // The system frees a hook DLL lazily, on whichever thread of the game
    // next enters the message functions. On any thread but this one the
    // detach cannot kill this thread's timer, which would then fire into
    // unmapped code. Pinned, the module stays for the life of the game.
    // Windows before XP cannot pin: there the timer is stopped at detach
    // when the detach comes on this thread, as without the pin.
    if (const auto pin = pinFunction()) {
        HMODULE self = nullptr;
        pin(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
            reinterpret_cast<LPCSTR>(&gameDisplayTick), &self);
    }
    gameDisplayLeaving.store(false);
    gameDisplayThread = ::GetCurrentThreadId();
    // A new game's report starts empty: nothing of an earlier game's stays.
    sharedDisplayBlock.gameSide = GameSideReport{::GetCurrentProcessId(), 0, 0, 0, 0, 0};
    gameDisplayTimer =
        ::SetTimer(nullptr, kGameDisplayTimerId, kGameDisplayPeriodMs, gameDisplayTick);
}

// Called when the DLL leaves the game process: with the module pinned, only
// when the game itself ends (or the pin could not be had). On the thread that
// owns the timer it is killed; from any other thread the timer cannot be
// reached, and the flag at least keeps a tick from drawing while the module
// is going.
void stopGameDisplay() noexcept {
    gameDisplayLeaving.store(true);
    if (gameDisplayTimer != 0 && ::GetCurrentThreadId() == gameDisplayThread)
        ::KillTimer(nullptr, gameDisplayTimer);
    gameDisplayTimer = 0;
}

}  // namespace vireo
