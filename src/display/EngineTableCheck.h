#pragma once
// Decides whether the engine's function table at its fixed address can be
// used: the table's memory must be readable, and the two entries the display
// calls must point into loaded, executable code. A game build that keeps
// something else at that address then draws nothing instead of faulting.
// Plain code, no windows.h: the memory is seen through a MemoryView, which
// the game side answers with VirtualQuery and the tests with a made-up map.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace vireo {

// The fields of a memory region as VirtualQuery reports them, with the
// system's own values (checked against windows.h where they are answered).
struct MemoryRegion {
    std::uintptr_t base = 0;
    std::uintptr_t size = 0;  // 0: nothing known about the address
    std::uint32_t state = 0;
    std::uint32_t protect = 0;
    std::uint32_t type = 0;
};

namespace memory {
inline constexpr std::uint32_t kCommit = 0x1000;    // MEM_COMMIT
inline constexpr std::uint32_t kImage = 0x1000000;  // MEM_IMAGE
inline constexpr std::uint32_t kNoAccess = 0x01;    // PAGE_NOACCESS
inline constexpr std::uint32_t kReadOnly = 0x02;
inline constexpr std::uint32_t kReadWrite = 0x04;
inline constexpr std::uint32_t kWriteCopy = 0x08;
inline constexpr std::uint32_t kExecute = 0x10;
inline constexpr std::uint32_t kExecuteRead = 0x20;
inline constexpr std::uint32_t kExecuteReadWrite = 0x40;
inline constexpr std::uint32_t kExecuteWriteCopy = 0x80;
inline constexpr std::uint32_t kGuard = 0x100;  // PAGE_GUARD
}  // namespace memory

class MemoryView {
public:
    virtual ~MemoryView() = default;
    // The region that holds the address; size 0 when it cannot be asked.
    [[nodiscard]] virtual MemoryRegion regionOf(std::uintptr_t address) const noexcept = 0;
    // Only called for bytes that regionOf has shown to be readable.
    [[nodiscard]] virtual std::uint32_t read32(std::uintptr_t address) const noexcept = 0;
};

// Whether [address, address + count) lies in one committed, readable region.
[[nodiscard]] bool isReadable(const MemoryRegion& region, std::uintptr_t address,
                              std::size_t count) noexcept;
// Whether the address lies in committed executable memory of a loaded image.
[[nodiscard]] bool isLoadedCode(const MemoryRegion& region, std::uintptr_t address) noexcept;

// The table's entries are 32-bit values in every build.
inline constexpr std::size_t kEngineEntrySize = 4;

struct EngineEntries {
    std::uintptr_t printNotifyRow = 0;
    std::uintptr_t isConsoleVisible = 0;
};

// The two entries of the table at `table`, widened to addresses, or nothing
// when either entry cannot be read or does not point into loaded code.
[[nodiscard]] std::optional<EngineEntries> checkEngineTable(std::uintptr_t table,
                                                            const MemoryView& memory) noexcept;

}  // namespace vireo
