// The two setting classes against real registry values, on a key of their own.

#include <gtest/gtest.h>

#include "settings/Setting.h"
#include "support/TestSupport.h"

namespace vireo::test {
namespace {

constexpr char kTestKey[] = "Software\\Oskel\\VireoStoreTest";

class SettingStoreTest : public ::testing::Test {
protected:
    void SetUp() override { deleteSettingsKey(kTestKey); }
    void TearDown() override { deleteSettingsKey(kTestKey); }
    void storeRaw(const char* name, DWORD type, const void* data, DWORD size) {
        writeSettingRaw(name, type, data, size, kTestKey);
    }
    RawValue raw(const char* name) { return readSettingRaw(name, kTestKey); }
};

TEST_F(SettingStoreTest, MissingValuesGetTheirDefaultWithTheirKind) {
    IntSetting number(HKEY_LOCAL_MACHINE, kTestKey, "Number", -7);
    StringSetting text(HKEY_LOCAL_MACHINE, kTestKey, "Text", "abc");
    StringSetting empty(HKEY_LOCAL_MACHINE, kTestKey, "Empty", "");

    EXPECT_EQ(raw("Number").type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(number.read(), -7);
    EXPECT_EQ(raw("Text").type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(text.read(), "abc");
    // Three bytes and no terminator; Wine's RegSetValueExA adds one itself.
    const RawValue stored = raw("Text");
    if (runningUnderWine() && stored.data.size() == 4) {
        EXPECT_EQ(stored.data.back(), 0);
    } else {
        EXPECT_EQ(stored.data.size(), 3u);
    }
    EXPECT_TRUE(raw("Empty").present);
    EXPECT_EQ(empty.read(), "");
}

TEST_F(SettingStoreTest, WrongTypeIsReplacedRightTypeSurvivesWhateverItHolds) {
    storeRaw("WasText", REG_SZ, "12", 2);
    const DWORD seven = 7;
    storeRaw("WasNumber", REG_DWORD, &seven, sizeof seven);
    const DWORD outOfRange = 250;
    storeRaw("KeptNumber", REG_DWORD, &outOfRange, sizeof outOfRange);
    storeRaw("KeptText", REG_SZ, "mine", 4);

    IntSetting wasText(HKEY_LOCAL_MACHINE, kTestKey, "WasText", 25);
    StringSetting wasNumber(HKEY_LOCAL_MACHINE, kTestKey, "WasNumber", "%DISPLAYNAME%");
    IntSetting keptNumber(HKEY_LOCAL_MACHINE, kTestKey, "KeptNumber", 25);
    StringSetting keptText(HKEY_LOCAL_MACHINE, kTestKey, "KeptText", "default");

    EXPECT_EQ(wasText.read(), 25);
    EXPECT_EQ(raw("WasText").type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(wasNumber.read(), "%DISPLAYNAME%");
    EXPECT_EQ(keptNumber.read(), 250);
    EXPECT_EQ(keptText.read(), "mine");
}

TEST_F(SettingStoreTest, TextReadRules) {
    StringSetting text(HKEY_LOCAL_MACHINE, kTestKey, "Text", "");
    struct Row {
        const char* what;
        std::string bytes;
        std::string expected;
    };
    const Row rows[] = {
        {"no terminator", std::string("abc"), "abc"},
        {"stored terminator", std::string("abc\0", 4), "abc"},
        {"embedded NUL", std::string("ab\0cd", 5), "ab"},
        {"empty", std::string(), ""},
        {"high bytes", std::string("\xe9t\xe9"), "\xe9t\xe9"},
    };
    for (const Row& row : rows) {
        storeRaw("Text", REG_SZ, row.bytes.data(), static_cast<DWORD>(row.bytes.size()));
        EXPECT_EQ(text.read(), row.expected) << row.what;
    }
}

TEST_F(SettingStoreTest, IntegersRoundTripSignedAndAcrossObjects) {
    IntSetting writer(HKEY_LOCAL_MACHINE, kTestKey, "Number", 0);
    IntSetting reader(HKEY_LOCAL_MACHINE, kTestKey, "Number", 99);
    for (std::int32_t v : {-5, 0, 1, 2147483647, -2147483647 - 1}) {
        writer.write(v);
        EXPECT_EQ(reader.read(), v);
    }
    StringSetting textWriter(HKEY_LOCAL_MACHINE, kTestKey, "Text", "");
    StringSetting textReader(HKEY_LOCAL_MACHINE, kTestKey, "Text", "x");
    textWriter.write("new text");
    EXPECT_EQ(textReader.read(), "new text");
}

TEST_F(SettingStoreTest, ADeletedValueReadsAsZeroOrEmpty) {
    IntSetting number(HKEY_LOCAL_MACHINE, kTestKey, "Number", 42);
    StringSetting text(HKEY_LOCAL_MACHINE, kTestKey, "Text", "abc");
    deleteSettingsKey(kTestKey);
    EXPECT_EQ(number.read(), 0);
    EXPECT_EQ(text.read(), "");
}

}  // namespace
}  // namespace vireo::test
