#pragma once
// Whether the plug-in is running in Winamp, as the game side sees it: a named
// event that the Winamp side holds from pluginInit to pluginQuit (or unload).
// The game side draws only while the event exists. A crashed Winamp takes its
// handle with it, so the event goes away on every path.

#include <windows.h>

#include "VireoVersion.h"
#include "display/PresenceName.h"

namespace vireo {

// No backslash: the name must also be valid where there are no namespaces.
inline constexpr char kHostPresenceNamePrefix[] = "Vireo " VIREO_VERSION_TEXT " host running ";

// The event of this DLL file: the prefix and a hash of the module's full
// path, the same in Winamp and in the game, different for another copy.
[[nodiscard]] const PresenceName& hostPresenceEventName() noexcept;

// Winamp side. Holding twice keeps one handle; releasing without holding is
// harmless.
void holdHostPresence() noexcept;
void releaseHostPresence() noexcept;

// Game side: true while the Winamp that runs this DLL file holds the event.
[[nodiscard]] bool hostIsPresent() noexcept;

}  // namespace vireo
