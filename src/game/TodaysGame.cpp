#include "game/TodaysGame.h"

#include <cstring>

#include "common/UniqueResource.h"
#include "common/WholeFile.h"
#include "game/ConsoleLog.h"
#include "game/Landmarks.h"
#include "game/Liblist.h"
#include "game/ModFolder.h"

namespace vireo {
namespace {

using QueryImageName = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);
using QueryInformationProcess = LONG(WINAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);

// NtQueryInformationProcess answers this when the buffer is too small.
constexpr LONG kStatusInfoLengthMismatch = static_cast<LONG>(0xC0000004);
constexpr LONG kStatusBufferTooSmall = static_cast<LONG>(0xC0000023);
constexpr LONG kStatusBufferOverflow = static_cast<LONG>(0x80000005);
// More than any command line Windows allows (32767 UTF-16 units and the
// string's header).
constexpr ULONG kCommandLineAnswerLimit = 70000;
constexpr std::size_t kLiblistReadLimit = 64 * 1024;
constexpr std::string_view kTodaysExecutables[] = {landmarks::kHalfLifeExe,
                                                   landmarks::kCounterStrikeExe};

struct UnicodeStringHeader {
    USHORT length;  // bytes, no NUL
    USHORT maximumLength;
    PWSTR buffer;
};

template <typename F>
F systemFunction(const char* module, const char* name) noexcept {
    HMODULE handle = ::GetModuleHandleA(module);
    return handle ? reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(handle, name)))
                  : nullptr;
}

std::optional<std::string> systemCommandLine(HANDLE process) noexcept {
    try {
        const auto query =
            systemFunction<QueryInformationProcess>("ntdll.dll", "NtQueryInformationProcess");
        if (!query) return std::nullopt;
        ULONG size = 0;
        LONG status = query(process, kProcessCommandLineInformation, nullptr, 0, &size);
        // The size comes with any of the three "too small" answers.
        if ((status != kStatusInfoLengthMismatch && status != kStatusBufferTooSmall &&
             status != kStatusBufferOverflow) ||
            size < sizeof(UnicodeStringHeader) || size > kCommandLineAnswerLimit)
            return std::nullopt;
        std::vector<unsigned char> answer(size);
        if (query(process, kProcessCommandLineInformation, answer.data(), size, &size) < 0)
            return std::nullopt;
        UnicodeStringHeader header{};
        std::memcpy(&header, answer.data(), sizeof header);
        // The text lies inside our own buffer; anything else is not trusted.
        const auto* begin = reinterpret_cast<const unsigned char*>(header.buffer);
        if (header.length == 0) return std::string();
        if (begin < answer.data() + sizeof header ||
            begin + header.length > answer.data() + answer.size())
            return std::nullopt;
        const int units = header.length / 2;
        const auto* text = reinterpret_cast<const wchar_t*>(begin);
        // In the ANSI code page, as the folder look-ups that take the name
        // spell paths; a character it lacks becomes '?', which names no
        // folder, rather than a look-alike that may.
        const int bytes = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, units, nullptr,
                                                0, nullptr, nullptr);
        if (bytes <= 0) return std::nullopt;
        std::string line(static_cast<std::size_t>(bytes), '\0');
        ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text, units, line.data(), bytes,
                              nullptr, nullptr);
        return line;
    } catch (...) {
        return std::nullopt;
    }
}

CommandLineReader readCommandLine = systemCommandLine;

std::optional<TodaysGame> served;
ConsoleLogCursor cursor;
std::string logPath;       // where the log was looked for last
std::string logModFolder;  // the mod folder known when reading started
std::uint64_t logSize = 0;
std::uint64_t logIndex = 0;
bool logExisted = false;

bool sameText(std::string_view a, std::string_view b) noexcept {
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

bool isFolder(const std::string& path) noexcept {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string windowClassOf(HWND window) {
    char name[64] = {};
    const int length = ::GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::string windowTitleOf(HWND window) {
    char title[256] = {};
    const int length = ::GetWindowTextA(window, title, sizeof title);
    return std::string(title, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::uint64_t creationTime(HANDLE process) noexcept {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// The game of today behind a top-level window, opened with limited query
// rights only; nothing for Steam's own windows and every other program.
std::optional<TodaysGame> gameBehind(HWND window) {
    const std::string windowClass = windowClassOf(window);
    if (windowClass != landmarks::kTodaysWindowClass &&
        windowClass != landmarks::kOlderSteamWindowClass)
        return std::nullopt;
    const auto queryImage =
        systemFunction<QueryImageName>("kernel32.dll", "QueryFullProcessImageNameA");
    if (!queryImage) return std::nullopt;  // before Vista: no road
    TodaysGame game;
    ::GetWindowThreadProcessId(window, &game.processId);
    UniqueHandle process{::OpenProcess(kProcessQueryLimitedInformation, FALSE, game.processId)};
    if (!process) return std::nullopt;
    char path[MAX_PATH] = {};
    DWORD length = MAX_PATH;
    if (!queryImage(process.get(), 0, path, &length) || length == 0 || length >= MAX_PATH)
        return std::nullopt;
    const std::string image(path, length);
    const std::size_t slash = image.find_last_of('\\');
    if (slash == std::string::npos) return std::nullopt;
    game.exeName = image.substr(slash + 1);
    bool known = false;
    for (const std::string_view exe : kTodaysExecutables)
        known = known || sameText(game.exeName, exe);
    if (!known) return std::nullopt;
    game.window = window;
    game.windowClass = windowClass;
    game.gameFolder = image.substr(0, slash + 1);
    game.createdAt = creationTime(process.get());
    game.foundAt = ::GetTickCount();
    if (const auto line = readCommandLine(process.get())) {
        const std::vector<std::string> arguments = splitCommandLine(*line);
        game.consoleDebug = hasConsoleDebug(arguments);
        if (const auto mod = gameArgument(arguments); mod && isFolder(game.gameFolder + *mod)) {
            game.modName = *mod;
            game.modFrom = ModFolderSource::CommandLine;
        }
    }
    return game;
}

BOOL CALLBACK offerWindow(HWND window, LPARAM found) noexcept {
    try {
        auto& game = *reinterpret_cast<std::optional<TodaysGame>*>(found);
        game = gameBehind(window);
        return game ? FALSE : TRUE;
    } catch (...) {
        return TRUE;
    }
}

std::vector<ModCandidate> modCandidates(const std::string& gameFolder) {
    std::vector<ModCandidate> candidates;
    WIN32_FIND_DATAA entry{};
    const UniqueFindHandle search{::FindFirstFileA((gameFolder + "*").c_str(), &entry)};
    if (!search) return candidates;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        const std::string folder = entry.cFileName;
        if (!isPlainFolderName(folder)) continue;
        const auto liblist =
            readWholeFile(gameFolder + folder + "\\" + std::string(landmarks::kLiblistFileName),
                          kLiblistReadLimit);
        if (!liblist) continue;
        candidates.push_back({folder, liblistValueIn(*liblist, landmarks::kLiblistGameKey)});
    } while (::FindNextFileA(search.get(), &entry));
    return candidates;
}

void findModFolder(TodaysGame& game) {
    if (game.modFrom == ModFolderSource::NotYet) {
        if (const auto titled =
                folderTitled(modCandidates(game.gameFolder), windowTitleOf(game.window))) {
            game.modName = *titled;
            game.modFrom = ModFolderSource::Title;
        } else if (::GetTickCount() - game.foundAt >= kModFolderFallbackMs) {
            game.modName = kFallbackModFolder;
            game.modFrom = ModFolderSource::Fallback;
        }
    }
    if (game.modFrom != ModFolderSource::NotYet)
        game.modFolder = game.gameFolder + game.modName + "\\";
}

ConsoleLogLook lookAt(const std::string& path) noexcept {
    ConsoleLogLook look;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return look;
    look.exists = true;
    look.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return look;
}

// The log's file index, from a handle opened the way the engine's own
// appends tolerate.
UniqueFileHandle openLog(const std::string& path, std::uint64_t& index) noexcept {
    UniqueFileHandle file{::CreateFileA(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    BY_HANDLE_FILE_INFORMATION information{};
    if (file && ::GetFileInformationByHandle(file.get(), &information))
        index = (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) |
                information.nFileIndexLow;
    return file;
}

std::string logPathOf(const TodaysGame& game) {
    std::string path = game.gameFolder + std::string(kConsoleLogName);
    if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES && !game.modFolder.empty()) {
        std::string beside = game.modFolder + std::string(kConsoleLogName);
        if (::GetFileAttributesA(beside.c_str()) != INVALID_FILE_ATTRIBUTES) return beside;
    }
    return path;
}

void startLog(const TodaysGame& game) {
    cursor = ConsoleLogCursor{};
    logModFolder = game.modFolder;
    logPath = logPathOf(game);
    ConsoleLogLook look = lookAt(logPath);
    if (look.exists) openLog(logPath, look.fileIndex);
    logExisted = look.exists;
    logSize = look.size;
    logIndex = look.fileIndex;
    cursor.start(look);
}

}  // namespace

const TodaysGame* todaysGame() noexcept { return served ? &*served : nullptr; }

void setCommandLineReader(CommandLineReader reader) noexcept {
    readCommandLine = reader ? reader : systemCommandLine;
}

void updateTodaysGame() {
    if (::FindWindowA(landmarks::kGameWindowClass, nullptr)) {
        served.reset();  // the classic road wins
        return;
    }
    if (served) {
        DWORD owner = 0;
        if (::IsWindow(served->window) && ::GetWindowThreadProcessId(served->window, &owner) &&
            owner == served->processId) {
            if (served->modFrom == ModFolderSource::NotYet) findModFolder(*served);
            return;
        }
        served.reset();  // the window went: the road ends for that process
    }
    std::optional<TodaysGame> found;
    ::EnumWindows(offerWindow, reinterpret_cast<LPARAM>(&found));
    if (!found) return;
    served = std::move(found);
    findModFolder(*served);
    startLog(*served);
}

std::vector<std::string> readTodaysLog() {
    if (!served) return {};
    const std::string path = logPathOf(*served);
    if (served->modFolder != logModFolder) {
        // The mod folder, learnt only now, holds the log: what it held
        // before is as old as a log there at the start, and never acts.
        if (path != logPath) {
            startLog(*served);
            return {};
        }
        logModFolder = served->modFolder;
    }
    ConsoleLogLook look = lookAt(path);
    if (path != logPath) {  // a log appeared beside the mod instead
        logPath = path;
        logSize = 0;
        logIndex = 0;
    }
    if (look.exists && logExisted && look.size == logSize) {
        look.fileIndex = logIndex;
        (void)cursor.plan(look);  // nothing grew: no open
        return {};
    }
    if (look.exists && look.size > logSize && logExisted) served->logGrew = true;
    if (look.exists && !logExisted && look.size > 0) served->logGrew = true;
    UniqueFileHandle file;
    if (look.exists) {
        file = openLog(path, look.fileIndex);
        // Held by someone else for a moment: nothing is learnt, and the
        // next poll reads the same bytes.
        if (!file) return {};
    }
    logExisted = look.exists;
    logSize = look.size;
    logIndex = look.fileIndex;
    const auto read = cursor.plan(look);
    if (!read || !file || read->count == 0) return {};
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(read->offset);
    std::string bytes(read->count, '\0');
    DWORD got = 0;
    ::SetLastError(NO_ERROR);
    if (::SetFilePointer(file.get(), static_cast<LONG>(at.LowPart), &at.HighPart, FILE_BEGIN) ==
            INVALID_SET_FILE_POINTER &&
        ::GetLastError() != NO_ERROR)
        got = 0;
    else if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr))
        got = 0;
    file.reset();  // closed at once: the engine appends with its own open
    bytes.resize(got);
    return cursor.take(*read, bytes);
}

}  // namespace vireo
