// The plain logic of the display: colours, rows, slot cutting and the
// decision whether the engine's table may be called.

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "display/EngineTableCheck.h"
#include "display/NotifyRows.h"
#include "display/SharedDisplayBlock.h"
#include "game/Landmarks.h"

namespace vireo::test {
namespace {

TEST(NotifyRowsTest, ColourTableAndOutOfRangeValues) {
    struct Row {
        std::int32_t displayColor;
        NotifyColour expected;
    };
    const Row rows[] = {
        {0, {1.0f, 1.0f, 1.0f}},  {1, {0.4f, 0.4f, 0.4f}},       {2, {0.8f, 0.8f, 0.8f}},
        {3, {1.0f, 1.0f, 0.0f}},  {4, {1.0f, 1.0f, 1.0f}},       {7, {1.0f, 1.0f, 1.0f}},
        {-1, {1.0f, 1.0f, 1.0f}}, {INT_MIN, {1.0f, 1.0f, 1.0f}}, {INT_MAX, {1.0f, 1.0f, 1.0f}},
    };
    for (const Row& row : rows) {
        const NotifyRecord record = notifyRecord(11, row.displayColor, 0);
        EXPECT_EQ(record.red, row.expected.red) << "DisplayColor " << row.displayColor;
        EXPECT_EQ(record.green, row.expected.green) << "DisplayColor " << row.displayColor;
        EXPECT_EQ(record.blue, row.expected.blue) << "DisplayColor " << row.displayColor;
        EXPECT_EQ(record.timeToLive, 1.5f);
    }
}

TEST(NotifyRowsTest, RowsStepByTwoFromAnyStartLine) {
    struct Row {
        std::int32_t startLine;
        std::vector<std::int32_t> expected;
    };
    const Row rows[] = {
        {11, {11, 13, 15, 17, 19, 21}},
        {0, {0, 2, 4, 6, 8, 10}},
        {-3, {-3, -1, 1, 3, 5, 7}},
        // Not checked: a row near the top of the range wraps like the
        // engine's 32-bit field instead of overflowing.
        {INT_MAX - 3, {INT_MAX - 3, INT_MAX - 1, INT_MIN, INT_MIN + 2, INT_MIN + 4, INT_MIN + 6}},
    };
    for (const Row& row : rows)
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(notifyRecord(row.startLine, 0, i).row, row.expected[i])
                << "StartLine " << row.startLine << " line " << i + 1;
}

TEST(SharedDisplayBlockTest, LongLinesAreCutInsideTheirSlot) {
    SharedDisplayBlock block;
    std::memset(&block, 'x', sizeof block);
    for (std::size_t length : {0u, 1u, 254u, 255u, 256u, 300u, 5000u}) {
        const std::string text(length, 'a');
        storeDisplayLine(block.lines[2], text);
        const std::size_t stored = std::min<std::size_t>(length, 255);
        EXPECT_EQ(std::string(block.lines[2]), text.substr(0, stored)) << length;
        // The neighbours are untouched, whatever the length.
        EXPECT_EQ(block.lines[1][255], 'x') << length;
        EXPECT_EQ(block.lines[3][0], 'x') << length;
    }
    // A shorter line after a longer one: the old tail stays behind its
    // terminator, and the last byte of the slot stays zero.
    storeDisplayLine(block.lines[2], std::string(300, 'b'));
    storeDisplayLine(block.lines[2], "short");
    EXPECT_STREQ(block.lines[2], "short");
    EXPECT_EQ(block.lines[2][255], '\0');
}

// A made-up address space: regions by base address, and 32-bit words.
class FakeMemory final : public MemoryView {
public:
    void add(MemoryRegion region) { regions_[region.base] = region; }
    void word(std::uintptr_t address, std::uint32_t value) { words_[address] = value; }

    MemoryRegion regionOf(std::uintptr_t address) const noexcept override {
        auto it = regions_.upper_bound(address);
        if (it == regions_.begin()) return {};
        --it;
        if (address - it->second.base >= it->second.size) return {};
        return it->second;
    }
    std::uint32_t read32(std::uintptr_t address) const noexcept override {
        ++reads;
        auto it = words_.find(address);
        return it == words_.end() ? 0 : it->second;
    }
    mutable int reads = 0;

private:
    std::map<std::uintptr_t, MemoryRegion> regions_;
    std::map<std::uintptr_t, std::uint32_t> words_;
};

constexpr std::uintptr_t kTable = landmarks::kEngineTableAddress;
constexpr std::uintptr_t kPrintAt = kTable + 0xAC;
constexpr std::uintptr_t kVisibleAt = kTable + 0x118;
constexpr std::uint32_t kCode = 0x00401000;
constexpr std::uint32_t kData = 0x00405000;
constexpr std::uint32_t kHeap = 0x00600000;

MemoryRegion region(std::uintptr_t base, std::uintptr_t size, std::uint32_t protect,
                    std::uint32_t type = 0x20000 /* MEM_PRIVATE */,
                    std::uint32_t state = memory::kCommit) {
    return MemoryRegion{base, size, state, protect, type};
}

// A game's address space: the table page, the executable's code and data,
// and a heap block; each case then spoils one thing.
FakeMemory gameMemory() {
    FakeMemory memory;
    memory.add(region(kTable & ~0xFFFu, 0x1000, memory::kReadWrite));
    memory.add(region(kCode, 0x4000, memory::kExecuteRead, memory::kImage));
    memory.add(region(kData, 0x1000, memory::kWriteCopy, memory::kImage));
    memory.add(region(kHeap, 0x10000, memory::kExecuteReadWrite));
    memory.word(kPrintAt, kCode + 0x10);
    memory.word(kVisibleAt, kCode + 0x20);
    return memory;
}

TEST(EngineTableCheckTest, OnlyReadableTablesPointingIntoLoadedCodeAreUsed) {
    {
        const FakeMemory memory = gameMemory();
        const auto entries = checkEngineTable(kTable, memory);
        ASSERT_TRUE(entries);
        EXPECT_EQ(entries->printNotifyRow, kCode + 0x10u);
        EXPECT_EQ(entries->isConsoleVisible, kCode + 0x20u);
    }
    struct Case {
        const char* what;
        void (*spoil)(FakeMemory&);
    };
    const Case cases[] = {
        {"no table at the address",
         [](FakeMemory& m) {
             m.add(region(kTable & ~0xFFFu, 0x1000, 0, 0, 0x10000 /* MEM_FREE */));
         }},
        {"table reserved, not committed",
         [](FakeMemory& m) { m.add(region(kTable & ~0xFFFu, 0x1000, 0, 0x20000, 0x2000)); }},
        {"table not readable",
         [](FakeMemory& m) { m.add(region(kTable & ~0xFFFu, 0x1000, memory::kNoAccess)); }},
        {"table behind a guard page",
         [](FakeMemory& m) {
             m.add(region(kTable & ~0xFFFu, 0x1000, memory::kReadWrite | memory::kGuard));
         }},
        {"table execute-only",
         [](FakeMemory& m) { m.add(region(kTable & ~0xFFFu, 0x1000, memory::kExecute)); }},
        {"entry 70 outside the readable region",
         [](FakeMemory& m) {
             m.add(
                 region(kTable & ~0xFFFu, kVisibleAt + 2 - (kTable & ~0xFFFu), memory::kReadOnly));
         }},
        {"entry 70 null", [](FakeMemory& m) { m.word(kVisibleAt, 0); }},
        {"entry 43 null", [](FakeMemory& m) { m.word(kPrintAt, 0); }},
        {"entry 43 into the image's data", [](FakeMemory& m) { m.word(kPrintAt, kData + 8); }},
        {"entry 70 into executable heap", [](FakeMemory& m) { m.word(kVisibleAt, kHeap + 8); }},
        {"entry 70 at nothing", [](FakeMemory& m) { m.word(kVisibleAt, 0x0DEAD000); }},
        {"entry 43 just past the code", [](FakeMemory& m) { m.word(kPrintAt, kCode + 0x4000); }},
        {"code behind a guard page",
         [](FakeMemory& m) {
             m.add(region(kCode, 0x4000, memory::kExecuteRead | memory::kGuard, memory::kImage));
         }},
    };
    for (const Case& c : cases) {
        FakeMemory memory = gameMemory();
        c.spoil(memory);
        EXPECT_FALSE(checkEngineTable(kTable, memory)) << c.what;
    }
    // A null table is never read.
    FakeMemory memory = gameMemory();
    EXPECT_FALSE(checkEngineTable(0, memory));
    EXPECT_EQ(memory.reads, 0);
}

TEST(EngineTableCheckTest, EveryExecutableImageProtectionIsCode) {
    for (std::uint32_t protect : {memory::kExecute, memory::kExecuteRead, memory::kExecuteReadWrite,
                                  memory::kExecuteWriteCopy}) {
        EXPECT_TRUE(isLoadedCode(region(kCode, 0x1000, protect, memory::kImage), kCode)) << protect;
        EXPECT_FALSE(isLoadedCode(region(kCode, 0x1000, protect), kCode)) << protect;
    }
    for (std::uint32_t protect :
         {memory::kNoAccess, memory::kReadOnly, memory::kReadWrite, memory::kWriteCopy})
        EXPECT_FALSE(isLoadedCode(region(kCode, 0x1000, protect, memory::kImage), kCode))
            << protect;
    // A range that runs past its region is not readable as a whole.
    const MemoryRegion page = region(0x10000, 0x1000, memory::kReadOnly);
    EXPECT_TRUE(isReadable(page, 0x10FFC, 4));
    EXPECT_FALSE(isReadable(page, 0x10FFD, 4));
    EXPECT_FALSE(isReadable(page, 0xFFFF, 4));
}

}  // namespace
}  // namespace vireo::test
