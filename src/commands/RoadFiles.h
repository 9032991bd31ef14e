#pragma once
// The files road's side of the commands: the marker kept in the settings key,
// the cfg files written into a game of today's mod folder, and the lines of
// its console log that carry a key's command to the command table.

#include <windows.h>

#include <cstdint>
#include <string>

namespace vireo {

inline constexpr char kCommandMarkerValue[] = "CommandMarker";

// What the road learnt as it ran, for the status.
struct RoadReport {
    std::uint32_t loadedAt = 0;  // GetTickCount when VireoCommands.cfg last said "loaded"; 0: never
    SYSTEMTIME loadedClock{};    // the same moment as a clock time
    std::uint32_t lineTakenAt = 0;  // GetTickCount of the last command taken from the log; 0: none
    std::string lastRow;
    std::string failedPath;  // the last cfg file Windows refused to write; empty: none
    std::uint32_t error = 0;
};
[[nodiscard]] const RoadReport& roadReport() noexcept;

// The marker in the settings key; made from random bytes, and stored, when
// none of the marker's form is there. Empty when neither works.
[[nodiscard]] std::string commandMarker();

// kFilesRoadTimerId: serves a game of today through its files.
void CALLBACK filesRoadTick(HWND, UINT, UINT_PTR, DWORD) noexcept;

}  // namespace vireo
