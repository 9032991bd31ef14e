#include "display/HostPresence.h"

#include "common/UniqueResource.h"

namespace vireo {
namespace {

// Winamp side only; the game's copy of the DLL never sets it.
UniqueHandle hostPresence;

}  // namespace

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
