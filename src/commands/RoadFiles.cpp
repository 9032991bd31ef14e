#include "commands/RoadFiles.h"

#include "commands/CommandSet.h"
#include "commands/GameFiles.h"
#include "commands/StatusReport.h"
#include "common/ProcessWide.h"
#include "common/Timers.h"
#include "common/UniqueResource.h"
#include "game/GameLink.h"
#include "game/TodaysGame.h"
#include "script/ScriptFile.h"
#include "script/ScriptWriter.h"
#include "settings/Setting.h"

namespace vireo {
namespace {

// A marker of kMarkerRandomLength characters needs that many bytes; a few
// more cost nothing.
constexpr DWORD kMarkerRandomBytes = 16;
constexpr DWORD kMarkerValueLimit = 64;

RoadReport report;
std::string marker;  // learnt once per game
DWORD servedProcess = 0;
std::uint64_t servedCreatedAt = 0;
std::uint32_t lastRewriteAt = 0;
bool rewrittenOnce = false;

// One placement per file, so that each is left alone while unchanged.
ScriptPlacement commandsPlacement;
ScriptPlacement helpPlacement;
ScriptPlacement statusPlacement;

HKEY settingsRoot() noexcept {
    switch (settingsKeyRoot()) {
        case SettingsKeyRoot::User:
            return kSettingUserRoot;
        case SettingsKeyRoot::Machine:
            return kSettingMachineRoot;
        case SettingsKeyRoot::None:
            break;
    }
    return nullptr;
}

std::string storedMarker(HKEY key) {
    char value[kMarkerValueLimit] = {};
    DWORD type = 0;
    DWORD size = sizeof value - 1;
    if (::RegQueryValueExA(key, kCommandMarkerValue, nullptr, &type, reinterpret_cast<BYTE*>(value),
                           &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return std::string();
    return std::string(value);
}

std::string randomBytes() noexcept {
    HCRYPTPROV handle = 0;
    if (!::CryptAcquireContextA(&handle, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT))
        return std::string();
    const UniqueCryptProvider provider{handle};
    BYTE bytes[kMarkerRandomBytes] = {};
    if (!::CryptGenRandom(provider.get(), sizeof bytes, bytes)) return std::string();
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

void noteFailure(const std::string& path, DWORD error) {
    if (error == ERROR_SUCCESS) {
        if (report.failedPath == path) {
            report.failedPath.clear();
            report.error = 0;
        }
        return;
    }
    report.failedPath = path;
    report.error = error;
}

void putFile(ScriptPlacement& placement, const std::string& path, const std::string& text) {
    noteFailure(path, putInPlace(placement, path, toTextModeBytes(text)));
}

void rewriteFiles(const TodaysGame& game) {
    if (game.modFolder.empty() || marker.empty()) return;
    putFile(commandsPlacement, game.modFolder + std::string(kCommandsCfgName),
            commandsCfgText(marker));
    putFile(helpPlacement, game.modFolder + std::string(kHelpCfgName), helpCfgText());
    putFile(statusPlacement, game.modFolder + std::string(kStatusCfgName),
            statusCfgText(statusReport(StatusForm::File)));
}

void takeLines() {
    for (const std::string& line : readTodaysLog()) {
        if (isLoadedLine(line, marker)) {
            report.loadedAt = ::GetTickCount();
            ::GetLocalTime(&report.loadedClock);
            continue;
        }
        const auto row = logLineCommand(line, marker);
        if (!row) continue;
        // One dispatcher for both roads: the classic road's command table.
        const CommandEntry* entry = gameLink.commands.find(kCommandWord);
        if (!entry) continue;
        report.lineTakenAt = ::GetTickCount();
        report.lastRow.assign(*row);
        entry->handler(kCommandWord, std::string(*row));
    }
}

void serveTodaysGame() {
    updateTodaysGame();
    const TodaysGame* game = todaysGame();
    if (!game) {
        servedProcess = 0;
        return;
    }
    if (game->processId != servedProcess || game->createdAt != servedCreatedAt) {
        servedProcess = game->processId;
        servedCreatedAt = game->createdAt;
        report = RoadReport{};
        marker.clear();
        rewrittenOnce = false;
    }
    // A settings key that could not be opened or written this time may be
    // at the next poll; without a marker no key of the game's can act.
    if (marker.empty()) marker = commandMarker();
    takeLines();
    const std::uint32_t now = ::GetTickCount();
    if (!rewrittenOnce || now - lastRewriteAt >= kFilesRoadRewritePeriodMs) {
        rewriteFiles(*game);
        lastRewriteAt = now;
        rewrittenOnce = !game->modFolder.empty();
    }
}

}  // namespace

const RoadReport& roadReport() noexcept { return report; }

std::string commandMarker() {
    HKEY root = settingsRoot();
    if (!root) return std::string();
    HKEY opened = nullptr;
    if (::RegOpenKeyExA(root, settingsKeyPath.c_str(), 0, kSettingKeyAccess, &opened) !=
        ERROR_SUCCESS)
        return std::string();
    const UniqueRegKey key{opened};
    std::string value = storedMarker(key.get());
    if (isCommandMarker(value)) return value;
    const std::string random = randomBytes();
    if (random.size() < kMarkerRandomLength) return std::string();
    value = commandMarkerFrom(random);
    if (::RegSetValueExA(key.get(), kCommandMarkerValue, 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
        return std::string();
    return value;
}

void CALLBACK filesRoadTick(HWND, UINT, UINT_PTR, DWORD) noexcept {
    try {
        serveTodaysGame();
    } catch (...) {
        // Out of memory: skip this poll.
    }
}

}  // namespace vireo
