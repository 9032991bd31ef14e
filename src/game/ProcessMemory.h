#pragma once
// Reads and writes of the game's memory from the Winamp process. Each call
// opens the game process for just the rights it needs and closes it again.

#include <cstddef>
#include <cstdint>
#include <string>

#include "game/Landmarks.h"

namespace vireo {

bool readGameMemory(std::uintptr_t address, void* buffer, std::size_t count,
                    bool skipRefresh = false);
bool writeGameMemory(std::uintptr_t address, const void* bytes, std::size_t count);
enum class BuildMarker { Build2343, OtherBuild, Unreadable };
[[nodiscard]] BuildMarker readBuildMarker();
// Chooses the landmark set by the build marker (the default one when the
// marker is another or unreadable).
void refreshLandmarks();
// The landmark set chosen by the last refreshLandmarks; zero before the first.
[[nodiscard]] landmarks::LandmarkSet currentLandmarks() noexcept;
[[nodiscard]] std::string readCapturedLine();
bool clearCapturedLine();
[[nodiscard]] bool readPlayerStateFlag();
// Turns every copy of the pattern in the game's ordinary writable memory into
// an empty text.
bool truncateAllCopies(const std::string& pattern);

}  // namespace vireo
