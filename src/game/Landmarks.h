#pragma once
// Fixed facts about the game process that the plug-in relies on.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vireo::landmarks {

inline constexpr char kGameWindowClass[] = "Half-Life";
// Today's Steam builds (since 2013), and the Steam builds before them; Steam's
// own windows are of class SDL_app too.
inline constexpr char kTodaysWindowClass[] = "SDL_app";
inline constexpr char kOlderSteamWindowClass[] = "Valve001";
inline constexpr std::string_view kHalfLifeExe = "hl.exe";
inline constexpr std::string_view kCounterStrikeExe = "cstrike.exe";
inline constexpr std::string_view kLiblistFileName = "liblist.gam";
inline constexpr std::string_view kLiblistGameKey = "game";
inline constexpr std::string_view kCounterStrikeGameName = "Counter-Strike";
// The game's own message for a first word it does not know; 19 bytes.
inline constexpr std::string_view kUnknownCommandText = "Unknown command: %s";

// A 16-bit little-endian value; 2343 selects the second landmark set.
inline constexpr std::uintptr_t kBuildMarkerAddress = 0x01E0D760;
inline constexpr std::uint16_t kBuildMarker2343 = 2343;

struct LandmarkSet {
    std::uintptr_t capturedLine;
    std::uintptr_t modName;
};
inline constexpr LandmarkSet kLandmarks2343{0x02FCCDF9, 0x02F7BDE0};
inline constexpr LandmarkSet kLandmarksDefault{0x02FCCD39, 0x02F7BD20};

inline constexpr std::size_t kCapturedLineSize = 256;
inline constexpr std::size_t kModNameSize = 20;

// One byte; nonzero while the player is alive.
inline constexpr std::uintptr_t kPlayerStateAddress = 0x019A4A3C;

// The engine's table of 32-bit client function pointers, inside the game.
inline constexpr std::uintptr_t kEngineTableAddress = 0x01DE5158;
inline constexpr std::size_t kPrintNotifyRowEntry = 43;    // byte offset 0xAC
inline constexpr std::size_t kIsConsoleVisibleEntry = 70;  // byte offset 0x118
static_assert(kPrintNotifyRowEntry * 4 == 0xAC && kIsConsoleVisibleEntry * 4 == 0x118);

}  // namespace vireo::landmarks
