#include "support/ResourceCounts.h"

#include <psapi.h>

#include <vector>

#include "support/TestSupport.h"

namespace vireo::test {
namespace {

// The system's handle table as NtQuerySystemInformation answers it
// (information class 16, one row per open handle of every process).
constexpr ULONG kSystemHandleInformation = 16;
constexpr LONG kStatusInfoLengthMismatch = static_cast<LONG>(0xC0000004);
constexpr std::size_t kFirstTableBytes = 1 << 20;
constexpr std::size_t kLargestTableBytes = 64 << 20;

struct HandleRow {
    ULONG processId;
    UCHAR objectType;
    UCHAR flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
};
struct HandleTable {
    ULONG count;
    HandleRow rows[1];
};
using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

long handlesInSystemTable(DWORD processId) {
    const auto query = reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return -1;
    std::vector<char> buffer(kFirstTableBytes);
    for (;;) {
        ULONG needed = 0;
        const LONG status = query(kSystemHandleInformation, buffer.data(),
                                  static_cast<ULONG>(buffer.size()), &needed);
        if (status == kStatusInfoLengthMismatch && buffer.size() < kLargestTableBytes) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (status != 0) return -1;
        break;
    }
    const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
    long count = 0;
    for (ULONG i = 0; i < table->count; ++i)
        if (table->rows[i].processId == processId) ++count;
    return count;
}

struct WindowCount {
    DWORD processId;
    long count;
};

BOOL CALLBACK countChild(HWND window, LPARAM param) noexcept {
    auto& tally = *reinterpret_cast<WindowCount*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == tally.processId) ++tally.count;
    return TRUE;
}

BOOL CALLBACK countTopLevel(HWND window, LPARAM param) noexcept {
    countChild(window, param);
    ::EnumChildWindows(window, countChild, param);
    return TRUE;
}

long windowsOf(DWORD processId) {
    WindowCount tally{processId, 0};
    ::EnumWindows(countTopLevel, reinterpret_cast<LPARAM>(&tally));
    return tally.count;
}

}  // namespace

ProcessResources processResources(HANDLE process, DWORD processId) {
    ProcessResources counts;
    DWORD handles = 0;
    if (::GetProcessHandleCount(process, &handles) && handles != 0)
        counts.handles = static_cast<long>(handles);
    else
        counts.handles = handlesInSystemTable(processId);
    const DWORD users = ::GetGuiResources(process, GR_USEROBJECTS);
    counts.userObjects =
        users != 0 || !runningUnderWine() ? static_cast<long>(users) : windowsOf(processId);
    counts.gdiObjects = static_cast<long>(::GetGuiResources(process, GR_GDIOBJECTS));
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (::GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                               sizeof memory))
        // Wine leaves PrivateUsage at 0; its PagefileUsage is the same
        // figure (committed private memory).
        counts.privateBytes = memory.PrivateUsage != 0 ? memory.PrivateUsage : memory.PagefileUsage;
    return counts;
}

ProcessResources currentProcessResources() {
    return processResources(::GetCurrentProcess(), ::GetCurrentProcessId());
}

}  // namespace vireo::test
