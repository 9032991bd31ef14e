// The two setting classes against real registry values, on a key of their own,
// for a player who can write HKEY_LOCAL_MACHINE and for one who cannot.

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/Defaults.h"
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

// A standard user on Vista and later: the machine-wide key opens for reading
// only. Wine enforces no registry permissions, so the key creator says no.
LONG refuseMachineKey(HKEY root, const char* subKey, HKEY* key) {
    if (root == HKEY_LOCAL_MACHINE) return ERROR_ACCESS_DENIED;
    return ::RegCreateKeyExA(root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, kSettingKeyAccess,
                             nullptr, key, nullptr);
}

class StandardUserSettingsTest : public SettingStoreTest {
protected:
    void SetUp() override {
        SettingStoreTest::SetUp();
        deleteSettingsKey(kTestKey, HKEY_CURRENT_USER);
        setSettingKeyCreator(refuseMachineKey);
    }
    void TearDown() override {
        setSettingKeyCreator(nullptr);
        deleteSettingsKey(kTestKey, HKEY_CURRENT_USER);
        SettingStoreTest::TearDown();
    }
    RawValue userRaw(const char* name) { return readSettingRaw(name, kTestKey, HKEY_CURRENT_USER); }
};

// The nineteen settings as the plug-in builds them, with their defaults.
struct Nineteen {
    std::vector<std::unique_ptr<IntSetting>> numbers;
    std::vector<std::unique_ptr<StringSetting>> texts;
    IntSetting& number(const std::string& name) {
        for (auto& n : numbers)
            if (n->name() == name) return *n;
        throw std::runtime_error(name);
    }
    explicit Nineteen(const char* subKey) {
        using namespace defaults;
        const std::pair<const char*, std::string_view> textDefaults[] = {
            {"DisplayLine1", kDisplayLine1},
            {"DisplayLine2", kDisplayLine2},
            {"DisplayLine3", kDisplayLine3},
            {"DisplayLine4", kDisplayLine4},
            {"DisplayLine5", kDisplayLine5},
            {"DisplayLine6", kDisplayLine6},
            {"Script", kScript}};
        const std::pair<const char*, std::int32_t> numberDefaults[] = {
            {"DisplayColor", kDisplayColor},
            {"EnableScripting", kEnableScripting},
            {"EnableIngameDisplay", kEnableIngameDisplay},
            {"EnableAutoPause", kEnableAutoPause},
            {"FadeoutTarget", kFadeoutTarget},
            {"FadeinTarget", kFadeinTarget},
            {"DelayAutoPause", kDelayAutoPause},
            {"HighUpdateFrequency", kHighUpdateFrequency},
            {"PlaceScriptInRoot", kPlaceScriptInRoot},
            {"BuilderMode", kBuilderMode},
            {"ShowGUI", kShowGUI},
            {"StartLine", kStartLine}};
        for (const auto& [name, value] : textDefaults)
            texts.push_back(std::make_unique<StringSetting>(HKEY_LOCAL_MACHINE, subKey, name,
                                                            std::string(value)));
        for (const auto& [name, value] : numberDefaults)
            numbers.push_back(
                std::make_unique<IntSetting>(HKEY_LOCAL_MACHINE, subKey, name, value));
    }
};

TEST_F(StandardUserSettingsTest, TheUsersKeyIsSeededFromTheMachinesWhereItCan) {
    // What an administrator stored once: two usable values, one of the wrong kind.
    const DWORD forty = 40;
    storeRaw("FadeoutTarget", REG_DWORD, &forty, sizeof forty);
    storeRaw("DisplayLine1", REG_SZ, "mine", 4);
    storeRaw("StartLine", REG_SZ, "12", 2);

    Nineteen settings(kTestKey);
    ASSERT_EQ(settings.numbers.size() + settings.texts.size(), 19u);
    for (const auto& n : settings.numbers)
        EXPECT_EQ(userRaw(n->name().c_str()).type, static_cast<DWORD>(REG_DWORD)) << n->name();
    for (const auto& t : settings.texts)
        EXPECT_EQ(userRaw(t->name().c_str()).type, static_cast<DWORD>(REG_SZ)) << t->name();

    EXPECT_EQ(userRaw("FadeoutTarget").integer(), 40);
    EXPECT_EQ(settings.number("FadeoutTarget").read(), 40);
    EXPECT_EQ(settings.texts[0]->read(), "mine");
    EXPECT_EQ(settings.number("StartLine").read(), defaults::kStartLine) << "wrong kind: default";
    EXPECT_EQ(settings.number("EnableIngameDisplay").read(), 1) << "missing: default";
    EXPECT_EQ(settings.texts[6]->read(), defaults::kScript);
    // The machine's key is only read.
    EXPECT_EQ(raw("StartLine").type, static_cast<DWORD>(REG_SZ));
    EXPECT_FALSE(raw("ShowGUI").present);

    // Reads and writes go to the user's key.
    settings.number("FadeoutTarget").write(55);
    settings.texts[0]->write("changed");
    EXPECT_EQ(userRaw("FadeoutTarget").integer(), 55);
    EXPECT_EQ(raw("FadeoutTarget").integer(), 40);
    EXPECT_EQ(settings.texts[0]->read(), "changed");

    // An object built afterwards (the game's copy) takes the user's values,
    // even once the machine's key holds something else.
    const DWORD seventy = 70;
    storeRaw("FadeoutTarget", REG_DWORD, &seventy, sizeof seventy);
    IntSetting gameSide(HKEY_LOCAL_MACHINE, kTestKey, "FadeoutTarget", 25);
    StringSetting gameLine(HKEY_LOCAL_MACHINE, kTestKey, "DisplayLine1", "");
    EXPECT_EQ(gameSide.read(), 55);
    EXPECT_EQ(gameLine.read(), "changed");
    settings.number("FadeoutTarget").write(60);
    EXPECT_EQ(gameSide.read(), 60);
}

TEST_F(StandardUserSettingsTest, WithoutAMachineKeyTheDefaultsAreUsed) {
    deleteSettingsKey(kTestKey);
    IntSetting number(HKEY_LOCAL_MACHINE, kTestKey, "FadeinTarget", 100);
    StringSetting text(HKEY_LOCAL_MACHINE, kTestKey, "DisplayLine2", "%POS% / %LENGTH%");
    EXPECT_EQ(number.read(), 100);
    EXPECT_EQ(text.read(), "%POS% / %LENGTH%");
    EXPECT_TRUE(userRaw("FadeinTarget").present);
    EXPECT_FALSE(raw("FadeinTarget").present) << "nothing is created under the machine's key";
}

// Winamp's copy of the plug-in and the game's, side by side. Each side meets
// the machine's key as it would: writable (an administrator on XP, an
// elevated Winamp, Wine), refused (a standard user's Winamp, which declares
// itself asInvoker, on Vista and later) or virtualized (the game's programs
// have no manifest: the key opens, and Windows sends the writes to the
// user's VirtualStore, where no other process reads). Winamp loads first.
enum MachineKey { Writable, Refused, Virtualized };
MachineKey machineKey = Writable;
constexpr char kVirtualStoreKey[] = "Software\\Oskel\\VireoStoreTestVirtualStore";

LONG createAsThisSide(HKEY root, const char* subKey, HKEY* key) {
    if (root == HKEY_LOCAL_MACHINE && machineKey == Refused) return ERROR_ACCESS_DENIED;
    const bool diverted = root == HKEY_LOCAL_MACHINE && machineKey == Virtualized;
    return ::RegCreateKeyExA(diverted ? HKEY_CURRENT_USER : root,
                             diverted ? kVirtualStoreKey : subKey, 0, nullptr,
                             REG_OPTION_NON_VOLATILE, kSettingKeyAccess, nullptr, key, nullptr);
}
bool thisSideIsVirtualized() noexcept { return machineKey == Virtualized; }

class SharedKeyTest : public StandardUserSettingsTest {
protected:
    void SetUp() override {
        StandardUserSettingsTest::SetUp();
        setSettingKeyCreator(createAsThisSide);
        setVirtualizationCheck(thisSideIsVirtualized);
    }
    void TearDown() override {
        setVirtualizationCheck(nullptr);
        deleteSettingsKey(kVirtualStoreKey, HKEY_CURRENT_USER);
        StandardUserSettingsTest::TearDown();
    }
};

TEST_F(SharedKeyTest, WinampAndTheGameUseOneKey) {
    struct Row {
        const char* machine;
        MachineKey winamp, game;
        bool userKeyExists;
        HKEY expected;
    };
    // Not a row: an elevated Winamp beside a virtualized game before any
    // user's key exists keeps the machine's key for that run; the game makes
    // the user's key, which Winamp finds at its next start.
    const Row rows[] = {
        {"administrator on XP, or Wine", Writable, Writable, false, HKEY_LOCAL_MACHINE},
        {"administrator, a user's key made earlier", Writable, Writable, true, HKEY_CURRENT_USER},
        {"standard user on Vista and later", Refused, Virtualized, false, HKEY_CURRENT_USER},
        {"standard user, a later start", Refused, Virtualized, true, HKEY_CURRENT_USER},
        {"elevated Winamp, unelevated game", Writable, Virtualized, true, HKEY_CURRENT_USER},
        {"standard user on XP", Refused, Refused, false, HKEY_CURRENT_USER},
        {"a Winamp without a manifest", Virtualized, Virtualized, false, HKEY_CURRENT_USER},
        {"a Winamp without a manifest, later", Virtualized, Virtualized, true, HKEY_CURRENT_USER},
    };
    const DWORD adminStartLine = 7;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.machine);
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) deleteSettingsKey(kTestKey, root);
        deleteSettingsKey(kVirtualStoreKey, HKEY_CURRENT_USER);
        storeRaw("StartLine", REG_DWORD, &adminStartLine, sizeof adminStartLine);
        HKEY made = nullptr;
        if (row.userKeyExists) {
            ASSERT_EQ(::RegCreateKeyA(HKEY_CURRENT_USER, kTestKey, &made), ERROR_SUCCESS);
        }
        if (made) ::RegCloseKey(made);
        machineKey = row.winamp;
        const IntSetting winampShowGui(HKEY_LOCAL_MACHINE, kTestKey, "ShowGUI", 0);
        machineKey = row.game;
        const IntSetting gameShowGui(HKEY_LOCAL_MACHINE, kTestKey, "ShowGUI", 0);
        const IntSetting gameStartLine(HKEY_LOCAL_MACHINE, kTestKey, "StartLine", 11);

        winampShowGui.write(1);  // the console's "Vireo ShowGUI"
        EXPECT_EQ(gameShowGui.read(), 1);
        EXPECT_EQ(gameStartLine.read(), 7) << "the administrator's value carries over";
        EXPECT_EQ(readSettingRaw("ShowGUI", kTestKey, row.expected).integer(), 1);
        EXPECT_FALSE(readSettingRaw("ShowGUI", kVirtualStoreKey, HKEY_CURRENT_USER).present);
    }
    if (runningUnderWine()) {
        EXPECT_FALSE(processIsVirtualized()) << "Wine virtualizes nothing";
    }
}

TEST_F(SettingStoreTest, AnAdministratorKeepsUsingTheMachineKey) {
    deleteSettingsKey(kTestKey, HKEY_CURRENT_USER);
    IntSetting number(HKEY_LOCAL_MACHINE, kTestKey, "Number", 42);
    number.write(43);
    EXPECT_EQ(raw("Number").integer(), 43);
    EXPECT_FALSE(readSettingRaw("Number", kTestKey, HKEY_CURRENT_USER).present);
}

}  // namespace
}  // namespace vireo::test
