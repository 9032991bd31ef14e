#include "game/GameLocator.h"

#include <tlhelp32.h>

#include <cctype>
#include <string_view>

#include "common/UniqueResource.h"
#include "game/Landmarks.h"

namespace vireo {
namespace {

#if !defined(_WIN64)
// The 32-bit layouts the toolhelp walk relies on.
static_assert(sizeof(PROCESSENTRY32) == 296, "process entry record");
static_assert(sizeof(HMODULE) == 4, "module handle");
#endif

constexpr DWORD kQueryAndReadAccess = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;
static_assert(kQueryAndReadAccess == 0x410);
constexpr std::size_t kPathBufferSize = MAX_PATH;  // 260 with the NUL
constexpr DWORD kWindows9xFlag = 0x80000000u;      // top bit of GetVersion
constexpr char kPathSeparator = '\\';

using EnumProcessModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, LPDWORD);
using GetModuleFileNameExAFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);

// The executable text of the first process entry with this id, cut to 259
// characters; empty when the snapshot cannot be taken or read. A full path on
// the 9x family, a bare file name on the NT family.
std::string snapshotExePath(DWORD pid) {
    UniqueSnapshot snapshot{::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0)};
    if (!snapshot) return {};
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot.get(), &entry); more;
         more = ::Process32Next(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == pid) {
            entry.szExeFile[kPathBufferSize - 1] = '\0';
            return entry.szExeFile;
        }
    }
    return {};
}

// psapi is looked up at run time: it is not on every system the game runs on.
std::string psapiExePath(DWORD pid) {
    UniqueLibrary psapi{::LoadLibraryA("psapi.dll")};
    if (!psapi) return {};
    auto enumModules = reinterpret_cast<EnumProcessModulesFn>(
        reinterpret_cast<void*>(::GetProcAddress(psapi.get(), "EnumProcessModules")));
    auto moduleFileName = reinterpret_cast<GetModuleFileNameExAFn>(
        reinterpret_cast<void*>(::GetProcAddress(psapi.get(), "GetModuleFileNameExA")));
    if (!enumModules || !moduleFileName) return {};
    UniqueHandle process{::OpenProcess(kQueryAndReadAccess, FALSE, pid)};
    if (!process) return {};
    HMODULE first = nullptr;  // the first module is the executable
    DWORD needed = 0;
    if (!enumModules(process.get(), &first, sizeof first, &needed)) return {};
    char path[kPathBufferSize] = {};
    if (moduleFileName(process.get(), first, path, kPathBufferSize) == 0) return {};
    // Windows XP leaves a path cut at the buffer's size without a terminator.
    path[kPathBufferSize - 1] = '\0';
    return path;
}

bool isNtFamily() noexcept { return (::GetVersion() & kWindows9xFlag) == 0; }

// The same length, and every character equal once both are lower case.
bool equalsIgnoringCase(const std::string& a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

HWND findGameWindow() noexcept { return ::FindWindowA(landmarks::kGameWindowClass, nullptr); }

bool isGameRunning() noexcept { return findGameWindow() != nullptr; }

DWORD gameProcessId() noexcept {
    HWND window = findGameWindow();
    if (!window) return 0;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    return pid;
}

// The thread that created the game's window: the one whose messages the
// hook sees, and the one DllMain recognises inside the game. The game may
// list other threads before it (a loader or a sound thread); a hook on one of
// those would map the DLL where no window's messages are ever pumped.
DWORD gameThreadId() noexcept {
    HWND window = findGameWindow();
    if (!window) return 0;
    return ::GetWindowThreadProcessId(window, nullptr);
}

std::string gameDirectory() {
    const DWORD pid = gameProcessId();
    if (pid == 0) return {};
    const std::string path = isNtFamily() ? psapiExePath(pid) : snapshotExePath(pid);
    const std::size_t slash = path.find_last_of(kPathSeparator);
    // The system gives absolute paths; one without a backslash names no
    // directory, and is answered like no game.
    if (slash == std::string::npos) return {};
    return path.substr(0, slash + 1);
}

std::string gameExeName() {
    const DWORD pid = gameProcessId();
    if (pid == 0) return {};
    std::string name = snapshotExePath(pid);
    const std::size_t slash = name.find_last_of(kPathSeparator);
    if (slash != std::string::npos) name.erase(0, slash + 1);
    return name;
}

GameKind gameKind() {
    const std::string name = gameExeName();
    if (equalsIgnoringCase(name, landmarks::kHalfLifeExe)) return GameKind::HalfLife;
    if (equalsIgnoringCase(name, landmarks::kCounterStrikeExe)) return GameKind::CounterStrike;
    return GameKind::OtherGame;
}

}  // namespace vireo
