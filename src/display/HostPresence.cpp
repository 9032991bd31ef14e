#include "display/HostPresence.h"

#include "common/ProcessWide.h"

namespace vireo {
void holdHostPresence() noexcept {
    if (hostPresence) return;
    // Manual reset, set: its state does not matter, only that it exists.
    hostPresence.reset(::CreateEventA(nullptr, TRUE, TRUE, kHostPresenceEventName));
}

void releaseHostPresence() noexcept { hostPresence.reset(); }

// Opening and closing a named object is all it costs, once per draw. An
// event made by a Winamp run as administrator refuses a game run without
// elevation; it exists all the same.
bool hostIsPresent() noexcept {
    UniqueHandle event{::OpenEventA(SYNCHRONIZE, FALSE, kHostPresenceEventName)};
    return event || ::GetLastError() == ERROR_ACCESS_DENIED;
}

}  // namespace vireo
