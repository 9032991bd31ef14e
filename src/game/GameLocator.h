#pragma once
// Finds the running game afresh on every call: its window, process, thread,
// directory, executable and kind. Nothing is cached, so a game started, closed
// and started again is found without notice. A missing game, or a failing
// system call, gives the neutral answer (null, 0, empty text, OtherGame).

#include <windows.h>

#include <string>

namespace vireo {

enum class GameKind : int { HalfLife = 0, CounterStrike = 1, OtherGame = 999 };

[[nodiscard]] HWND findGameWindow() noexcept;
[[nodiscard]] bool isGameRunning() noexcept;
[[nodiscard]] DWORD gameProcessId() noexcept;
[[nodiscard]] DWORD gameThreadId() noexcept;
[[nodiscard]] std::string gameDirectory();
[[nodiscard]] std::string gameExeName();
[[nodiscard]] GameKind gameKind();

}  // namespace vireo
