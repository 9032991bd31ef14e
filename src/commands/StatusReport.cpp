#include "commands/StatusReport.h"

#include <windows.h>
#include <tlhelp32.h>

#include "autopause/AutoPause.h"
#include "commands/CommandText.h"
#include "commands/RoadFiles.h"
#include "commands/StatusText.h"
#include "common/ProcessWide.h"
#include "common/UniqueResource.h"
#include "display/Injection.h"
#include "display/SharedDisplayBlock.h"
#include "game/GameLink.h"
#include "game/GameLocator.h"
#include "game/Landmarks.h"
#include "game/ModDirectory.h"
#include "game/TodaysGame.h"
#include "player/PlayerControl.h"
#include "player/TrackText.h"
#include "script/ScriptFile.h"
#include "script/ScriptWriter.h"
#include "settings/Settings.h"

namespace vireo {
namespace {

// What opening the game for its executable's path asks for: the same rights
// the game link's own reads need.
constexpr DWORD kProbeAccess = PROCESS_QUERY_INFORMATION | PROCESS_VM_READ;
constexpr std::size_t kClassNameSize = 256;
constexpr std::size_t kSystemMessageSize = 512;
constexpr char kUserRootName[] = "HKEY_CURRENT_USER\\";
constexpr char kMachineRootName[] = "HKEY_LOCAL_MACHINE\\";

// Windows' own text for an error code, in the user's language.
std::string systemMessage(DWORD error) {
    char text[kSystemMessageSize] = {};
    const DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                         0, text, sizeof text, nullptr);
    if (length == 0) return "error " + std::to_string(error);
    return withoutTrailingBreak(std::string_view(text, length));
}

// One snapshot of the processes: the executable of the game's process, or,
// without a game window, the first process named like the game's.
struct ProcessFacts {
    std::string gameExe;
    DWORD otherProcess = 0;
    std::string otherExe;
};

ProcessFacts snapshotProcesses(DWORD gameProcess) {
    ProcessFacts facts;
    UniqueSnapshot snapshot{::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0)};
    if (!snapshot) return facts;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot.get(), &entry); more;
         more = ::Process32Next(snapshot.get(), &entry)) {
        entry.szExeFile[MAX_PATH - 1] = '\0';
        std::string exe = entry.szExeFile;
        const std::size_t slash = exe.find_last_of('\\');  // the 9x family gives full paths
        if (slash != std::string::npos) exe.erase(0, slash + 1);
        if (gameProcess != 0) {
            if (entry.th32ProcessID == gameProcess) {
                facts.gameExe = exe;
                break;
            }
        } else if (facts.otherProcess == 0) {
            const std::string lower = lowerAscii(exe);
            if (lower == landmarks::kHalfLifeExe || lower == landmarks::kCounterStrikeExe) {
                facts.otherProcess = entry.th32ProcessID;
                facts.otherExe = exe;
                break;
            }
        }
    }
    return facts;
}

// The class of a process's main window: its first visible unowned top-level
// window; empty while it has none. Every GUI thread also has hidden IME
// windows, so a game that starts or closes shows only those.
struct MainWindowSearch {
    DWORD process;
    HWND visible = nullptr;
};

BOOL CALLBACK considerWindow(HWND window, LPARAM context) noexcept {
    auto& search = *reinterpret_cast<MainWindowSearch*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != search.process) return TRUE;
    if (::IsWindowVisible(window) && !::GetWindow(window, GW_OWNER)) {
        search.visible = window;
        return FALSE;
    }
    return TRUE;
}

std::string mainWindowClass(DWORD process) {
    MainWindowSearch search{process};
    ::EnumWindows(considerWindow, reinterpret_cast<LPARAM>(&search));
    const HWND window = search.visible;
    if (!window) return {};
    char name[kClassNameSize] = {};
    const int length = ::GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

// Refused: the game runs with rights this process lacks.
bool openingRefused(DWORD process) noexcept {
    UniqueHandle handle{::OpenProcess(kProbeAccess, FALSE, process)};
    return !handle && ::GetLastError() == ERROR_ACCESS_DENIED;
}

StatusGameKind gameKindOf(const std::string& exe) {
    const std::string lower = lowerAscii(exe);
    if (lower == landmarks::kHalfLifeExe) return StatusGameKind::HalfLife;
    if (lower == landmarks::kCounterStrikeExe) return StatusGameKind::CounterStrike;
    return StatusGameKind::Other;
}

std::string_view markerText(ConsoleReport::Marker marker) {
    switch (marker) {
        case ConsoleReport::Marker::Build2343:
            return "2343";
        case ConsoleReport::Marker::OtherBuild:
            return "of another build";
        case ConsoleReport::Marker::Unreadable:
            return "unreadable";
        case ConsoleReport::Marker::NotRead:
            break;
    }
    return {};
}

std::string_view modFoundBy(ModFolderSource source) {
    switch (source) {
        case ModFolderSource::CommandLine:
            return "from -game on its command line";
        case ModFolderSource::Title:
            return "from its window title and the folder's liblist.gam";
        case ModFolderSource::Fallback:
            return "none named in 10 s, so the game's own";
        case ModFolderSource::NotYet:
            break;
    }
    return {};
}

// Only what the files road noted: such a game is never opened here, where
// the classic look-ups would ask for the right to read its memory.
void gatherTodaysGame(StatusFacts& f, const TodaysGame& game) {
    f.todaysGame = true;
    f.gameWindowFound = true;
    f.exeName = game.exeName;
    f.processId = game.processId;
    f.todaysClass = game.windowClass;
    f.gameDirectory = game.gameFolder;
    f.modName = game.modName;
    f.modDirectory = game.modFolder;
    f.modFoundBy = modFoundBy(game.modFrom);
    f.consoleDebug = game.consoleDebug ? (*game.consoleDebug ? 1 : 0) : -1;
    f.logGrew = game.logGrew;
    const RoadReport& road = roadReport();
    f.loadedAt = road.loadedAt;
    if (!road.failedPath.empty()) {
        f.filesPath = road.failedPath;
        f.filesError = systemMessage(road.error);
    }
}

void gatherGame(StatusFacts& f) {
    const HWND window = findGameWindow();
    if (const TodaysGame* today = window ? nullptr : todaysGame())
        return gatherTodaysGame(f, *today);
    f.gameWindowFound = window != nullptr;
    DWORD process = 0;
    if (window) ::GetWindowThreadProcessId(window, &process);
    f.processId = process;
    const ProcessFacts processes = snapshotProcesses(f.processId);
    if (!window) {
        f.otherExe = processes.otherExe;
        if (processes.otherProcess != 0) {
            f.otherClass = mainWindowClass(processes.otherProcess);
            // A Steam build not served yet is not opened with the right to
            // read its memory either; its rights change nothing for it.
            if (f.otherClass != landmarks::kTodaysWindowClass &&
                f.otherClass != landmarks::kOlderSteamWindowClass)
                f.gameRefused = openingRefused(processes.otherProcess);
        }
        return;
    }
    f.exeName = processes.gameExe;
    f.gameKind = gameKindOf(processes.gameExe);
    f.gameRefused = openingRefused(f.processId);
    if (f.gameRefused) return;
    // The game's directory once: finding it is the dearest question here.
    f.gameDirectory = gameDirectory();
    f.modName = modName();
    if (!f.gameDirectory.empty()) {
        f.modDirectory = modDirectoryOf(f.gameDirectory, f.modName);
        f.liblistGame = liblistValueAt(f.modDirectory, std::string(landmarks::kLiblistGameKey));
    }
    f.counterStrike = f.liblistGame == landmarks::kCounterStrikeGameName;

    const ConsoleReport& console = gameLink.report;
    f.buildMarker = markerText(console.marker);
    f.landmarks2343 = gameLink.landmarkSet.capturedLine == landmarks::kLandmarks2343.capturedLine;
    f.scannedAt = console.scannedAt;
    f.scanGotThrough = console.scanGotThrough;
    f.copiesFound = console.copiesFound;
    f.copiesSilenced = console.copiesSilenced;
    f.scannedMod = gameLink.lastScannedMod;
    f.lineTakenAt = console.lineTakenAt;
    f.lastLine = console.lastLine;

    f.hookInstalled = hookHandle && hookedWindow == window;
    if (const DWORD error = hookInstallError(); error != 0 && !f.hookInstalled)
        f.hookError = systemMessage(error);
    // Copied whole first: the game may be writing it as it is read.
    const GameSideReport gameSide = sharedDisplayBlock.gameSide;
    f.gameSideReported = gameSide.processId == f.processId && gameSide.lastTick != 0;
    f.gameSideTickAt = gameSide.lastTick;
    f.engineTableAccepted = gameSide.tableAccepted != 0;
    f.rowsPrinted = gameSide.rowsPrinted;
    f.consoleOpen = gameSide.consoleOpen != 0;

    const AutoPauseReport& autoPause = autoPauseReport();
    f.stateReadAt = autoPause.readAt;
    f.alive = autoPause.alive;
}

void gatherScript(StatusFacts& f) {
    f.scriptingOn = EnableScripting.isOn();
    const ScriptWriteReport& script = scriptWriteReport();
    f.scriptAttempted = !script.path.empty();
    f.scriptWritten = script.written;
    f.scriptWrittenAt = script.writtenAt;
    f.scriptInPlace = script.inPlace;
    if (f.scriptAttempted) {
        f.scriptPath = script.path;
        if (!script.written) {
            f.scriptError = systemMessage(script.error);
            f.scriptFailedAt = script.failedAt;
            f.scriptAccessDenied = script.error == ERROR_ACCESS_DENIED;
        }
    } else if (f.gameWindowFound && !f.gameDirectory.empty() &&
               (!f.todaysGame || !f.modDirectory.empty())) {
        // Where the writer would put it, by the same rule.
        f.scriptPath = (PlaceScriptInRoot.isOn() ? f.gameDirectory : f.modDirectory) +
                       std::string(kScriptFileName);
    }
}

}  // namespace

std::string statusReport(StatusForm form) {
    StatusFacts f;
    f.winampFound = playerControl.window() != nullptr && ::IsWindow(playerControl.window());
    if (f.winampFound) {
        // Asked once: the text and the family follow from the number.
        f.winampVersionNumber = playerControl.getVersion();
        f.winampVersion = versionText(f.winampVersionNumber);
        f.winamp3 = isWinamp3Family(f.winampVersionNumber);
    }
    gatherGame(f);
    f.displayEnabled = EnableIngameDisplay.isOn();
    f.displayShown = ShowGUI.isOn();
    gatherScript(f);
    f.autoPauseMode = EnableAutoPause.read();

    const SettingsKeyRoot root = settingsKeyRoot();
    if (root != SettingsKeyRoot::None) {
        f.userKey = root == SettingsKeyRoot::User;
        f.settingsKey = (f.userKey ? kUserRootName : kMachineRootName) + settingsKeyPath;
    }
    // After gathering: every moment noted meanwhile lies before it.
    f.now = ::GetTickCount();
    SYSTEMTIME clock{};
    ::GetLocalTime(&clock);
    f.nowMsOfDay =
        ((clock.wHour * 60u + clock.wMinute) * 60u + clock.wSecond) * 1000u + clock.wMilliseconds;
    return composeStatus(f, form);
}

}  // namespace vireo
