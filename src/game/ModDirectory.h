#pragma once
// The running mod: its name read from the game's memory, its directory beside
// the game's executable, and the values of its liblist.gam.

#include <string>

namespace vireo {

[[nodiscard]] std::string modName();
// gameDirectory() + modName() + "\\".
[[nodiscard]] std::string modDirectory();
// The quoted value of the first liblist.gam line for the key, or empty.
[[nodiscard]] std::string liblistValue(const std::string& key);
// The same in the liblist.gam of a mod directory already learnt (empty: none).
[[nodiscard]] std::string liblistValueAt(const std::string& modDir, const std::string& key);
// The mod directory of a game directory already learnt and a mod name.
[[nodiscard]] std::string modDirectoryOf(const std::string& gameDir, const std::string& mod);

[[nodiscard]] std::string liblistGame();
[[nodiscard]] std::string liblistVersion();
[[nodiscard]] std::string liblistUrlInfo();
[[nodiscard]] std::string liblistType();
[[nodiscard]] std::string liblistGameDll();
[[nodiscard]] std::string liblistGameDllLinux();

}  // namespace vireo
