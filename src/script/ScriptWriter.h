#pragma once
// Keeps "Vireo.cfg" current in the mod (or game) directory.

#include <windows.h>

#include <cstdint>
#include <string>

#include "script/ScriptFile.h"

namespace vireo {

// What the writer last did, for the status report.
struct ScriptWriteReport {
    std::string path;             // the file of the last attempt; empty before the first
    bool written = false;         // the last attempt left the file current
    std::uint32_t writtenAt = 0;  // GetTickCount of the last attempt that left it current; 0: never
    std::uint32_t error = 0;      // Windows' error code of the last failure; 0: none
    std::uint32_t failedAt = 0;   // GetTickCount of the last failure; 0: none
    bool inPlace = false;        // moves are refused in that folder: the file is rewritten in place
    std::uint32_t refusals = 0;  // moves over the file refused in a row (the game reading it, say)
};

// Noted at each attempt; asks the system nothing.
[[nodiscard]] const ScriptWriteReport& scriptWriteReport() noexcept;

// The one step that puts the new file over "Vireo.cfg": MoveFileExA with
// MOVEFILE_REPLACE_EXISTING. Answers false, with the system's error code left
// for GetLastError, when the move is refused.
using ScriptFileMove = bool (*)(const char* from, const char* to) noexcept;
// For tests of what Wine cannot show (a folder that refuses every move,
// Windows 9x without the call); null puts MoveFileExA back.
void setScriptFileMove(ScriptFileMove move) noexcept;
// The write of the new file beside it (writeWholeFile); false with the
// system's error code left for GetLastError. For a folder that refuses new
// files; null puts writeWholeFile back.
using ScriptTemporaryWrite = bool (*)(const std::string& path, const std::string& bytes) noexcept;
void setScriptTemporaryWrite(ScriptTemporaryWrite write) noexcept;

// Leaves bytes in the file at path, a new file moved over it, placement
// remembering what that file last held: 0 when it holds them afterwards,
// else the system's error code (the file then holds the old bytes after a
// refused move, anything after a failed write in place).
DWORD putInPlace(ScriptPlacement& placement, const std::string& path, const std::string& bytes);

// kScriptWriterTimerId: while a game runs and EnableScripting is 1, rewrites
// the file with the Script setting expanded (console-safe) at this moment.
void CALLBACK scriptWriterTick(HWND, UINT, UINT_PTR, DWORD) noexcept;

}  // namespace vireo
