#pragma once
// One registry value each, read at every use and written at once: the
// registry is how a change made on the Winamp side reaches the copy of this
// DLL inside the game.

#include <windows.h>

#include <cstdint>
#include <string>

#include "common/UniqueResource.h"

namespace vireo {

// Access asked for when the key is opened (KEY_READ | KEY_WRITE).
inline constexpr REGSAM kSettingKeyAccess = KEY_READ | KEY_WRITE;
// A setting of HKEY_LOCAL_MACHINE may live under the same path in
// HKEY_CURRENT_USER instead. Winamp and the game make the same choice, in
// this order, so both use one key:
//   1. the user's key, when it exists;
//   2. the machine's key, when this process may really write it: it opens
//      for writing and the process is not virtualized (Windows would send
//      its writes to the user's VirtualStore, where no other process reads);
//   3. otherwise the user's key, created and seeded value by value from the
//      machine's.
// An administrator on XP, and every run under Wine, use the machine's key.
inline const HKEY kSettingMachineRoot = HKEY_LOCAL_MACHINE;
inline const HKEY kSettingUserRoot = HKEY_CURRENT_USER;

// Opens (creating as needed) root\subKey for reading and writing; answers a
// registry error code. Tests replace it to play a user without the right to
// write HKEY_LOCAL_MACHINE, which Wine does not enforce.
using SettingKeyCreator = LONG (*)(HKEY root, const char* subKey, HKEY* key);
// Null puts back the system's RegCreateKeyExA.
void setSettingKeyCreator(SettingKeyCreator creator) noexcept;

// Whether Windows virtualizes this process's registry writes: a program
// without a manifest (the game's executables) run by a standard user on
// Vista and later. Windows before Vista know no such question: not
// virtualized. Tests replace it, since Wine virtualizes nothing.
[[nodiscard]] bool processIsVirtualized() noexcept;
using VirtualizationCheck = bool (*)() noexcept;
// Null puts back processIsVirtualized.
void setVirtualizationCheck(VirtualizationCheck check) noexcept;

// The root of the key the settings opened last (they all choose alike);
// none when no key could be opened at all.
enum class SettingsKeyRoot { None, User, Machine };
[[nodiscard]] SettingsKeyRoot settingsKeyRoot() noexcept;

class IntSetting {
public:
    IntSetting(HKEY root, const std::string& subKey, std::string valueName,
               std::int32_t defaultValue) noexcept;
    IntSetting(const IntSetting&) = delete;
    IntSetting& operator=(const IntSetting&) = delete;

    // 0 when the registry cannot answer (key not opened, value deleted).
    [[nodiscard]] std::int32_t read() const noexcept;
    void write(std::int32_t value) const noexcept;
    // "On" means exactly 1; every other stored value counts as off.
    [[nodiscard]] bool isOn() const noexcept { return read() == 1; }
    [[nodiscard]] const std::string& name() const noexcept { return name_; }

private:
    std::string name_;
    UniqueRegKey key_;
};

class StringSetting {
public:
    StringSetting(HKEY root, const std::string& subKey, std::string valueName,
                  const std::string& defaultValue) noexcept;
    StringSetting(const StringSetting&) = delete;
    StringSetting& operator=(const StringSetting&) = delete;

    // The stored text up to its first NUL, whether or not a terminator was
    // stored; the empty text when the registry cannot answer.
    [[nodiscard]] std::string read() const;
    // Stores the bytes of the text without a terminator.
    void write(const std::string& value) const noexcept;
    [[nodiscard]] const std::string& name() const noexcept { return name_; }

private:
    std::string name_;
    UniqueRegKey key_;
};

}  // namespace vireo
