#include "display/PresenceName.h"

#include <cstdint>
#include <cstring>

namespace vireo {
namespace {

constexpr std::uint64_t kFnvOffsetBasis = 14695981039346656037ULL;
constexpr std::uint64_t kFnvPrime = 1099511628211ULL;
constexpr char kHexDigits[] = "0123456789abcdef";

std::uint64_t foldedPathHash(std::string_view path) noexcept {
    std::uint64_t hash = kFnvOffsetBasis;
    for (const char c : path) {
        const unsigned char byte = c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a')
                                                        : static_cast<unsigned char>(c);
        hash = (hash ^ byte) * kFnvPrime;
    }
    return hash;
}

}  // namespace

PresenceName presenceName(std::string_view prefix, std::string_view modulePath) noexcept {
    PresenceName name{};
    const std::size_t length =
        prefix.size() < kPresencePrefixMaxLength ? prefix.size() : kPresencePrefixMaxLength;
    if (length != 0) std::memcpy(name.text, prefix.data(), length);
    std::uint64_t hash = foldedPathHash(modulePath);
    for (std::size_t i = kPresenceHashDigits; i-- > 0; hash >>= 4)
        name.text[length + i] = kHexDigits[hash & 0xF];
    name.text[length + kPresenceHashDigits] = '\0';
    return name;
}

}  // namespace vireo
