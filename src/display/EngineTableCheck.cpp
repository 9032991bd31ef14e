#include "display/EngineTableCheck.h"

#include "game/Landmarks.h"

namespace vireo {
namespace {

// The protection without its modifiers (guard, no-cache, write-combine).
constexpr std::uint32_t kBaseProtectMask = 0xFF;

bool isCommitted(const MemoryRegion& region) noexcept {
    return region.size != 0 && region.state == memory::kCommit &&
           (region.protect & memory::kGuard) == 0;
}

bool contains(const MemoryRegion& region, std::uintptr_t address, std::size_t count) noexcept {
    if (address < region.base) return false;
    const std::uintptr_t offset = address - region.base;
    return offset < region.size && count <= region.size - offset;
}

std::optional<std::uintptr_t> readEntry(std::uintptr_t table, std::size_t index,
                                        const MemoryView& memory) noexcept {
    const std::uintptr_t address = table + index * kEngineEntrySize;
    if (!isReadable(memory.regionOf(address), address, kEngineEntrySize)) return std::nullopt;
    const std::uintptr_t target = memory.read32(address);
    if (!isLoadedCode(memory.regionOf(target), target)) return std::nullopt;
    return target;
}

}  // namespace

bool isReadable(const MemoryRegion& region, std::uintptr_t address, std::size_t count) noexcept {
    if (!isCommitted(region) || !contains(region, address, count)) return false;
    switch (region.protect & kBaseProtectMask) {
        case memory::kReadOnly:
        case memory::kReadWrite:
        case memory::kWriteCopy:
        case memory::kExecuteRead:
        case memory::kExecuteReadWrite:
        case memory::kExecuteWriteCopy:
            return true;
        default:
            return false;
    }
}

bool isLoadedCode(const MemoryRegion& region, std::uintptr_t address) noexcept {
    if (!isCommitted(region) || region.type != memory::kImage || !contains(region, address, 1))
        return false;
    switch (region.protect & kBaseProtectMask) {
        case memory::kExecute:
        case memory::kExecuteRead:
        case memory::kExecuteReadWrite:
        case memory::kExecuteWriteCopy:
            return true;
        default:
            return false;
    }
}

std::optional<EngineEntries> checkEngineTable(std::uintptr_t table,
                                              const MemoryView& memory) noexcept {
    if (table == 0) return std::nullopt;
    const auto print = readEntry(table, landmarks::kPrintNotifyRowEntry, memory);
    const auto consoleVisible = readEntry(table, landmarks::kIsConsoleVisibleEntry, memory);
    if (!print || !consoleVisible) return std::nullopt;
    return EngineEntries{*print, *consoleVisible};
}

}  // namespace vireo
