#include "settings/Setting.h"

#include <vector>

namespace vireo {
namespace {

LONG createWithRegistry(HKEY root, const char* subKey, HKEY* key) noexcept {
    return ::RegCreateKeyExA(root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, kSettingKeyAccess,
                             nullptr, key, nullptr);
}

SettingKeyCreator keyCreator = createWithRegistry;
VirtualizationCheck virtualizationCheck = processIsVirtualized;

UniqueRegKey createKey(HKEY root, const std::string& subKey) noexcept {
    HKEY key = nullptr;
    if (keyCreator(root, subKey.c_str(), &key) != ERROR_SUCCESS) return UniqueRegKey{};
    return UniqueRegKey{key};
}

// A present value of the right type is never touched, whatever it holds.
bool hasValueOfType(HKEY key, const std::string& name, DWORD wanted) noexcept {
    DWORD type = 0;
    if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    return type == wanted;
}

SettingsKeyRoot keyRootInUse = SettingsKeyRoot::None;

// The key a setting uses, and the read-only machine key to seed it from when
// it is the user's (null otherwise).
struct SettingKeys {
    UniqueRegKey key;
    UniqueRegKey seedFrom;
};

UniqueRegKey openExistingKey(HKEY root, const std::string& subKey) noexcept {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, subKey.c_str(), 0, kSettingKeyAccess, &key) != ERROR_SUCCESS)
        return UniqueRegKey{};
    return UniqueRegKey{key};
}

// The choice every process makes alike (Setting.h). A process that would be
// virtualized does not even open the machine's key for writing: Windows
// would create a copy of it in the user's VirtualStore.
SettingKeys openKeys(HKEY root, const std::string& subKey) noexcept {
    SettingKeys keys;
    if (root != kSettingMachineRoot) {
        keys.key = createKey(root, subKey);
        return keys;
    }
    keys.key = openExistingKey(kSettingUserRoot, subKey);
    if (!keys.key) {
        if (!virtualizationCheck()) {
            keys.key = createKey(root, subKey);
            if (keys.key) {
                keyRootInUse = SettingsKeyRoot::Machine;
                return keys;
            }
        }
        keys.key = createKey(kSettingUserRoot, subKey);
    }
    keyRootInUse = keys.key ? SettingsKeyRoot::User : SettingsKeyRoot::None;
    // Values the user's key lacks come from what an administrator stored
    // under the machine's key, where it exists.
    HKEY machine = nullptr;
    if (::RegOpenKeyExA(kSettingMachineRoot, subKey.c_str(), 0, KEY_READ, &machine) ==
        ERROR_SUCCESS)
        keys.seedFrom = UniqueRegKey{machine};
    return keys;
}

bool readInt(HKEY key, const std::string& name, std::int32_t& value) noexcept {
    DWORD type = 0;
    DWORD size = sizeof value;
    return ::RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                              &size) == ERROR_SUCCESS;
}

bool readText(HKEY key, const std::string& name, std::string& value) {
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    // One byte more than stored, and the size passed stays the stored count,
    // so the last byte stays zero whether or not a terminator was stored.
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '\0');
    if (::RegQueryValueExA(key, name.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
        return false;
    value = buffer.data();
    return true;
}

}  // namespace

void setSettingKeyCreator(SettingKeyCreator creator) noexcept {
    keyCreator = creator ? creator : createWithRegistry;
}

bool processIsVirtualized() noexcept {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    const UniqueHandle owned{token};
    // Windows before Vista refuse this information class: not virtualized.
    DWORD enabled = 0;
    DWORD size = 0;
    if (!::GetTokenInformation(token, TokenVirtualizationEnabled, &enabled, sizeof enabled, &size))
        return false;
    return enabled != 0;
}

void setVirtualizationCheck(VirtualizationCheck check) noexcept {
    virtualizationCheck = check ? check : processIsVirtualized;
}

SettingsKeyRoot settingsKeyRoot() noexcept { return keyRootInUse; }

IntSetting::IntSetting(HKEY root, const std::string& subKey, std::string valueName,
                       std::int32_t defaultValue) noexcept
    : name_(std::move(valueName)) {
    SettingKeys keys = openKeys(root, subKey);
    key_ = std::move(keys.key);
    if (!key_ || hasValueOfType(key_.get(), name_, REG_DWORD)) return;
    std::int32_t seed = defaultValue;
    if (keys.seedFrom && hasValueOfType(keys.seedFrom.get(), name_, REG_DWORD) &&
        !readInt(keys.seedFrom.get(), name_, seed))
        seed = defaultValue;
    write(seed);
}

std::int32_t IntSetting::read() const noexcept {
    std::int32_t value = 0;
    return readInt(key_.get(), name_, value) ? value : 0;
}

void IntSetting::write(std::int32_t value) const noexcept {
    ::RegSetValueExA(key_.get(), name_.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                     sizeof value);
}

StringSetting::StringSetting(HKEY root, const std::string& subKey, std::string valueName,
                             const std::string& defaultValue) noexcept
    : name_(std::move(valueName)) {
    SettingKeys keys = openKeys(root, subKey);
    key_ = std::move(keys.key);
    if (!key_ || hasValueOfType(key_.get(), name_, REG_SZ)) return;
    if (keys.seedFrom && hasValueOfType(keys.seedFrom.get(), name_, REG_SZ)) {
        try {
            std::string seed;
            if (readText(keys.seedFrom.get(), name_, seed)) {
                write(seed);
                return;
            }
        } catch (...) {
            // Out of memory: the default below.
        }
    }
    write(defaultValue);
}

std::string StringSetting::read() const {
    std::string value;
    return readText(key_.get(), name_, value) ? value : std::string();
}

void StringSetting::write(const std::string& value) const noexcept {
    ::RegSetValueExA(key_.get(), name_.c_str(), 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(value.data()), static_cast<DWORD>(value.size()));
}

}  // namespace vireo
