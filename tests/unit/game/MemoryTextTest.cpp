// Texts taken out of the game's buffers.

#include <gtest/gtest.h>

#include <string>

#include "game/MemoryText.h"

namespace vireo::test {
namespace {

CapturedLineBuffer bufferOf(const std::string& bytes) {
    CapturedLineBuffer buffer{};
    bytes.copy(buffer.data(), buffer.size());
    return buffer;
}

TEST(MemoryTextTest, CapturedLineIsTrimmedOfLineFeedsThenBlanks) {
    const struct {
        std::string bytes;
        std::string text;
    } cases[] = {
        {"Vireo Play", "Vireo Play"},
        {"Vireo Play   \n", "Vireo Play"},
        {"Vireo Play\n\n", "Vireo Play"},
        {"Vireo Play   \n\n", "Vireo Play"},
        // Line feeds go first, so one before the blanks stays.
        {"Vireo Play\n  ", "Vireo Play\n"},
        {"  Vireo Play", "  Vireo Play"},
        {"Vireo\tPlay\t", "Vireo\tPlay\t"},
        {"Vireo Play\r\n", "Vireo Play\r"},
        {std::string("Vireo\0Play", 10), "Vireo"},
        {"", ""},
        {" \n \n", " \n"},
    };
    for (const auto& c : cases) EXPECT_EQ(capturedLineText(bufferOf(c.bytes)), c.text) << c.bytes;
}

TEST(MemoryTextTest, CapturedLineWithoutTerminatorIsCutAt255) {
    EXPECT_EQ(capturedLineText(bufferOf(std::string(256, 'a'))), std::string(255, 'a'));
    // The 256th byte is dropped before trimming: the blanks before it go.
    EXPECT_EQ(capturedLineText(bufferOf(std::string(250, 'a') + "     x")), std::string(250, 'a'));
}

TEST(MemoryTextTest, ModNameEndsAtTheFirstNulOrAfterTwentyBytes) {
    ModNameBuffer name{};
    EXPECT_EQ(modNameText(name), "");
    std::string("cstrike").copy(name.data(), name.size());
    EXPECT_EQ(modNameText(name), "cstrike");
    name.fill('m');
    EXPECT_EQ(modNameText(name), std::string(20, 'm'));
}

// The mod directory is where Vireo.cfg goes: a name that would lead out of
// the game's folder counts as no mod.
TEST(MemoryTextTest, ModNameThatIsNotOneFolderIsNoMod) {
    for (const char* text : {"..", ".", "..\\..\\x", "a/b", "C:x", "\\x", "cs\\"}) {
        ModNameBuffer name{};
        std::string(text).copy(name.data(), name.size());
        EXPECT_EQ(modNameText(name), "") << text;
    }
    for (const char* text : {"cstrike", "my.mod", "...", "valve_hd"}) {
        ModNameBuffer name{};
        std::string(text).copy(name.data(), name.size());
        EXPECT_EQ(modNameText(name), text);
    }
}

}  // namespace
}  // namespace vireo::test
