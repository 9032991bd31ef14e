#include "game/GameLink.h"

#include "game/GameLocator.h"
#include "game/Landmarks.h"
#include "game/ModDirectory.h"
#include "game/ProcessMemory.h"
#include "common/Timers.h"
#include "game/ConsoleLine.h"

namespace vireo {
namespace {

// The game is left alone for a while after its mod appears, so that it has
// finished loading before its memory is searched.
constexpr DWORD kScanDelayMs = 6000;

// Deadlines are tick counts; the difference keeps the comparison right across
// the counter's wrap after 49.7 days.
bool tickReached(DWORD now, DWORD deadline) {
    return static_cast<std::int32_t>(now - deadline) >= 0;
}

}  // namespace

GameLink::~GameLink() { stopTimers(); }

bool GameLink::attach(HWND handle) noexcept {
    stopTimers();
    if (!::IsWindow(handle)) return false;
    window = handle;
    return startTimers();
}

bool GameLink::startTimers() noexcept {
    pollTimerId = ::SetTimer(window, pollTimerIdentifier(), kConsolePollPeriodMs, pollConsoleLine);
    watchTimerId = ::SetTimer(window, watchTimerIdentifier(), kModWatchPeriodMs, watchModDirectory);
    return pollTimerId != 0 && watchTimerId != 0;
}

void GameLink::stopTimers() noexcept {
    if (pollTimerId) ::KillTimer(window, pollTimerId);
    if (watchTimerId) ::KillTimer(window, watchTimerId);
    pollTimerId = 0;
    watchTimerId = 0;
}

std::string GameLink::gameDirectory() const { return vireo::gameDirectory(); }
std::string GameLink::modDirectory() const { return vireo::modDirectory(); }
std::string GameLink::liblistGame() const {
    return vireo::liblistValue(std::string(landmarks::kLiblistGameKey));
}
bool GameLink::truncateAllCopies(const std::string& pattern) const {
    return vireo::truncateAllCopies(pattern);
}

// The game leaves the line the player entered in its captured-line buffer.
// A line whose first word is ours is taken once: the buffer is cleared before
// the handler runs. Any other line is left to the game.
void CALLBACK pollConsoleLine(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    try {
        GameLink& link = *reinterpret_cast<GameLink*>(id);
        if (!isGameRunning()) return;
        const std::string line = readCapturedLine();
        if (line.empty()) return;
        SplitLine split = splitConsoleLine(line);
        const CommandEntry* entry = link.commands.find(split.word);
        if (!entry) return;
        const CommandHandler handler = entry->handler;
        clearCapturedLine();
        link.report.lineTakenAt = ::GetTickCount();
        link.report.lastLine = line;
        handler(std::move(split.word), std::move(split.rest));
    } catch (...) {
    }
}

// Once the game has loaded a mod, every copy of its unknown-command message
// is truncated, so the game prints nothing for our command words.
void CALLBACK watchModDirectory(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    try {
        GameLink& link = *reinterpret_cast<GameLink*>(id - 1);
        if (!isGameRunning()) {
            link.lastScannedMod.clear();
            link.scanDeadline = 0;
            link.report.scannedAt = 0;  // the next game's scan is still to come
            return;
        }
        const std::string current = modName();
        if (current.empty() || current == link.lastScannedMod) return;
        const DWORD now = ::GetTickCount();
        if (link.scanDeadline == 0) {
            link.scanDeadline = now + kScanDelayMs;
            if (link.scanDeadline == 0) link.scanDeadline = 1;  // 0 means "none pending"
            return;
        }
        if (!tickReached(now, link.scanDeadline)) return;
        link.scanDeadline = 0;
        link.truncateAllCopies(std::string(landmarks::kUnknownCommandText));
        link.lastScannedMod = modName();
    } catch (...) {
    }
}

}  // namespace vireo
