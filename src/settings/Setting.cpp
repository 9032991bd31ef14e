#include "settings/Setting.h"

#include <vector>

namespace vireo {
namespace {

UniqueRegKey openKey(HKEY root, const std::string& subKey) noexcept {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          kSettingKeyAccess, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return UniqueRegKey{};
    return UniqueRegKey{key};
}

// A present value of the right type is never touched, whatever it holds.
bool hasValueOfType(HKEY key, const std::string& name, DWORD wanted) noexcept {
    DWORD type = 0;
    if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    return type == wanted;
}

}  // namespace

IntSetting::IntSetting(HKEY root, const std::string& subKey, std::string valueName,
                       std::int32_t defaultValue) noexcept
    : name_(std::move(valueName)), key_(openKey(root, subKey)) {
    if (key_ && !hasValueOfType(key_.get(), name_, REG_DWORD)) write(defaultValue);
}

std::int32_t IntSetting::read() const noexcept {
    DWORD type = 0;
    std::int32_t value = 0;
    DWORD size = sizeof value;
    if (::RegQueryValueExA(key_.get(), name_.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
        return 0;
    return value;
}

void IntSetting::write(std::int32_t value) const noexcept {
    ::RegSetValueExA(key_.get(), name_.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                     sizeof value);
}

StringSetting::StringSetting(HKEY root, const std::string& subKey, std::string valueName,
                             const std::string& defaultValue) noexcept
    : name_(std::move(valueName)), key_(openKey(root, subKey)) {
    if (key_ && !hasValueOfType(key_.get(), name_, REG_SZ)) write(defaultValue);
}

std::string StringSetting::read() const {
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key_.get(), name_.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS)
        return {};
    // One byte more than stored, and the size passed stays the stored count,
    // so the last byte stays zero whether or not a terminator was stored.
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1, '\0');
    if (::RegQueryValueExA(key_.get(), name_.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
        return {};
    return std::string(buffer.data());
}

void StringSetting::write(const std::string& value) const noexcept {
    ::RegSetValueExA(key_.get(), name_.c_str(), 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(value.data()), static_cast<DWORD>(value.size()));
}

}  // namespace vireo
