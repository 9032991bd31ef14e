#include "game/ModDirectory.h"

#include <optional>
#include <string_view>

#include "common/WholeFile.h"
#include "game/GameLocator.h"
#include "game/Landmarks.h"
#include "game/Liblist.h"
#include "game/MemoryText.h"
#include "game/ProcessMemory.h"

namespace vireo {
namespace {

constexpr std::size_t kLiblistFileLimit = 64 * 1024;
constexpr std::string_view kVersionKey = "version";
constexpr std::string_view kUrlInfoKey = "url_info";
constexpr std::string_view kTypeKey = "type";
constexpr std::string_view kGameDllKey = "gamedll";
constexpr std::string_view kGameDllLinuxKey = "gamedll_linux";

}  // namespace

// Joined as the parts come: an empty mod name leaves two backslashes.
std::string modDirectoryOf(const std::string& gameDir, const std::string& mod) {
    return gameDir + mod + '\\';
}

std::string modName() {
    ModNameBuffer buffer{};
    refreshLandmarks();
    if (!readGameMemory(currentLandmarks().modName, buffer.data(), buffer.size(), true)) return {};
    return modNameText(buffer);
}

std::string modDirectory() { return modDirectoryOf(gameDirectory(), modName()); }

// Without a game there is no directory to look in: the bare "\liblist.gam"
// would name a file at the root of the current drive, which is not the mod's.
std::string liblistValue(const std::string& key) {
    const std::string gameDir = gameDirectory();
    if (gameDir.empty()) return {};
    return liblistValueAt(modDirectoryOf(gameDir, modName()), key);
}

std::string liblistValueAt(const std::string& modDir, const std::string& key) {
    if (modDir.empty()) return {};
    const std::string path = modDir + std::string(landmarks::kLiblistFileName);
    // Read as it is, so the line limit counts what is in the file; the parser
    // drops the carriage returns itself. A mod's liblist.gam is a few hundred
    // bytes; anything past the limit is not looked at.
    const std::optional<std::string> file = readWholeFile(path, kLiblistFileLimit);
    if (!file) return {};
    return liblistValueIn(*file, key);
}

std::string liblistGame() { return liblistValue(std::string(landmarks::kLiblistGameKey)); }
std::string liblistVersion() { return liblistValue(std::string(kVersionKey)); }
std::string liblistUrlInfo() { return liblistValue(std::string(kUrlInfoKey)); }
std::string liblistType() { return liblistValue(std::string(kTypeKey)); }
std::string liblistGameDll() { return liblistValue(std::string(kGameDllKey)); }
std::string liblistGameDllLinux() { return liblistValue(std::string(kGameDllLinuxKey)); }

}  // namespace vireo
