#include "game/GameLink.h"

#include "game/GameLocator.h"
#include "plugin/Timers.h"

namespace vireo {

GameLink::~GameLink() { stopTimers(); }

bool GameLink::attach(HWND handle) noexcept {
    if (!::IsWindow(handle)) {
        stopTimers();
        return false;
    }
    stopTimers();
    window = handle;
    return startTimers();
}

bool GameLink::startTimers() noexcept {
    pollTimerId = ::SetTimer(window, pollTimerIdentifier(), kConsolePollPeriodMs, pollConsoleLine);
    watchTimerId = ::SetTimer(window, watchTimerIdentifier(), kModWatchPeriodMs, watchModDirectory);
    return pollTimerId != 0 && watchTimerId != 0;
}

bool GameLink::stopTimers() noexcept {
    if (pollTimerId) ::KillTimer(window, pollTimerId);
    if (watchTimerId) ::KillTimer(window, watchTimerId);
    pollTimerId = 0;
    watchTimerId = 0;
    return true;
}

std::string GameLink::gameDirectory() const { return vireo::gameDirectory(); }
std::string GameLink::modDirectory() const { return {}; }
std::string GameLink::gameName() const { return {}; }
bool GameLink::truncateAllCopies(const std::string&) const { return false; }
bool GameLink::sendConsoleText(const std::string&, const std::string&, std::uint16_t) const {
    return false;
}

void CALLBACK pollConsoleLine(HWND, UINT, UINT_PTR, DWORD) noexcept {}
void CALLBACK watchModDirectory(HWND, UINT, UINT_PTR, DWORD) noexcept {}

}  // namespace vireo
