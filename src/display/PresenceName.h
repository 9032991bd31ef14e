#pragma once
// The name of the event through which one copy of the plug-in tells its own
// game side that its Winamp runs. Each DLL file has a shared block of its
// own, so two copies mapped in one game (a second Winamp install, or the
// file replaced while the game ran) must not answer for each other: the name
// carries a hash of the DLL's full path, which Winamp and the game see alike.
// Plain code, no windows.h.

#include <cstddef>
#include <string_view>

namespace vireo {

inline constexpr std::size_t kPresencePrefixMaxLength = 47;
inline constexpr std::size_t kPresenceHashDigits = 16;
inline constexpr std::size_t kPresenceNameSize = kPresencePrefixMaxLength + kPresenceHashDigits + 1;

struct PresenceName {
    char text[kPresenceNameSize];
};

// The prefix (cut after kPresencePrefixMaxLength characters), then the
// 64-bit FNV-1a hash of the path in hexadecimal, zero-terminated. Letters
// A to Z count as lower case, as Windows paths do. Kernel object names may
// hold no backslash; the hash adds none.
[[nodiscard]] PresenceName presenceName(std::string_view prefix,
                                        std::string_view modulePath) noexcept;

}  // namespace vireo
