#include "common/WholeFile.h"

#include <algorithm>

#include "common/UniqueResource.h"

namespace vireo {
namespace {
constexpr DWORD kChunkBytes = 0x10000;
}

std::optional<std::string> readWholeFile(const std::string& path, std::size_t limit) {
    UniqueFileHandle file{::CreateFileA(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (!file) return std::nullopt;
    std::string bytes;
    char chunk[kChunkBytes];
    while (bytes.size() < limit) {
        DWORD read = 0;
        const std::size_t want = std::min<std::size_t>(kChunkBytes, limit - bytes.size());
        if (!::ReadFile(file.get(), chunk, static_cast<DWORD>(want), &read, nullptr))
            return std::nullopt;
        if (read == 0) break;
        bytes.append(chunk, read);
    }
    return bytes;
}

bool writeWholeFile(const std::string& path, const std::string& bytes) noexcept {
    UniqueFileHandle file{::CreateFileA(path.c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (!file) return false;
    const char* next = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        DWORD written = 0;
        const DWORD chunk = left > kChunkBytes ? kChunkBytes : static_cast<DWORD>(left);
        if (!::WriteFile(file.get(), next, chunk, &written, nullptr) || written == 0) return false;
        next += written;
        left -= written;
    }
    return true;
}

std::optional<std::uint64_t> fileSize(const std::string& path) noexcept {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

}  // namespace vireo
