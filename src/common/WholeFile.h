#pragma once
// Small whole-file reads and writes through the Win32 file API, which keeps
// the C++ stream library out of a DLL that is also mapped into the game.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace vireo {

// The file's bytes, at most `limit` of them; nothing when it cannot be opened
// or read.
[[nodiscard]] std::optional<std::string> readWholeFile(const std::string& path, std::size_t limit);

// Creates or truncates the file at path and writes the bytes; false when the
// file cannot be opened or not all bytes were written. Other processes (the
// game) may read or write the file meanwhile.
[[nodiscard]] bool writeWholeFile(const std::string& path, const std::string& bytes) noexcept;

// The file's size, learnt without opening it; nothing when it is not there.
[[nodiscard]] std::optional<std::uint64_t> fileSize(const std::string& path) noexcept;

}  // namespace vireo
