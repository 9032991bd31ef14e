#include "display/HostPresence.h"

#include "common/ProcessWide.h"

namespace vireo {
namespace {

// Longer than MAX_PATH: a path the system cuts is cut alike in both
// processes, but there is no need to cut one.
constexpr DWORD kModulePathCapacity = 1024;

}  // namespace

// The module's file does not change while it is mapped: the name is made at
// the first call (after DllMain has set moduleInstance), not at every tick
// of the game side. Made on the stack; nothing is allocated.
const PresenceName& hostPresenceEventName() noexcept {
    static const PresenceName name = [] {
        char path[kModulePathCapacity] = {};
        DWORD length = ::GetModuleFileNameA(moduleInstance, path, kModulePathCapacity);
        if (length > kModulePathCapacity) length = kModulePathCapacity;
        return presenceName(kHostPresenceNamePrefix, std::string_view(path, length));
    }();
    return name;
}

void holdHostPresence() noexcept {
    if (hostPresence) return;
    // Manual reset, set: its state does not matter, only that it exists.
    hostPresence.reset(::CreateEventA(nullptr, TRUE, TRUE, hostPresenceEventName().text));
}

void releaseHostPresence() noexcept { hostPresence.reset(); }

// Opening and closing a named object is all it costs, once per draw. An
// event made by a Winamp run as administrator refuses a game run without
// elevation; it exists all the same.
bool hostIsPresent() noexcept {
    UniqueHandle event{::OpenEventA(SYNCHRONIZE, FALSE, hostPresenceEventName().text)};
    return event || ::GetLastError() == ERROR_ACCESS_DENIED;
}

}  // namespace vireo
