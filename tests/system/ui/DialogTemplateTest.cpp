// The dialog templates, bitmaps and the line list's initialisation block as
// gen_vireo.dll carries them: ids, captions, kinds, positions in dialog units.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "ui/Resource.h"

namespace vireo::test {
namespace {

// One control of an extended dialog template (DLGITEMTEMPLATEEX).
struct Item {
    DWORD style = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;
    std::string className;  // ordinals as their class names
    std::string caption;    // an ordinal caption (a bitmap) as "#106"
};

struct Template {
    DWORD style = 0;
    int cx = 0, cy = 0;
    std::string caption;
    int pointSize = 0;
    std::string font;
    std::vector<Item> items;
};

class Reader {
public:
    Reader(const BYTE* data, std::size_t size) : data_(data), size_(size) {}
    template <typename T>
    T get() {
        T value{};
        if (offset_ + sizeof(T) <= size_) std::memcpy(&value, data_ + offset_, sizeof(T));
        offset_ += sizeof(T);
        return value;
    }
    std::string text() {  // a NUL-terminated UTF-16 string, ASCII expected
        std::string s;
        for (WORD c; (c = get<WORD>()) != 0 && offset_ <= size_;) s += static_cast<char>(c);
        return s;
    }
    std::string textOrOrdinal() {
        const WORD first = get<WORD>();
        if (first == 0) return "";
        if (first == 0xFFFF) return "#" + std::to_string(get<WORD>());
        offset_ -= sizeof(WORD);
        return text();
    }
    void alignDword() { offset_ = (offset_ + 3) & ~std::size_t{3}; }
    void skip(std::size_t n) { offset_ += n; }

private:
    const BYTE* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
};

std::string className(const std::string& raw) {
    static const char* const kOrdinals[] = {"Button",  "Edit",      "Static",
                                            "ListBox", "ScrollBar", "ComboBox"};
    for (int i = 0; i < 6; ++i)
        if (raw == "#" + std::to_string(0x80 + i)) return kOrdinals[i];
    std::string lower;
    for (char c : raw) lower += static_cast<char>(::tolower(static_cast<unsigned char>(c)));
    for (const char* name : kOrdinals) {
        std::string n;
        for (const char* p = name; *p; ++p) n += static_cast<char>(::tolower(*p));
        if (n == lower) return name;
    }
    return raw;
}

std::vector<BYTE> resourceBytes(HMODULE module, int id, LPCSTR type) {
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (!found) return {};
    const BYTE* data = static_cast<const BYTE*>(::LockResource(::LoadResource(module, found)));
    return std::vector<BYTE>(data, data + ::SizeofResource(module, found));
}

Template readTemplate(HMODULE module, int id) {
    const std::vector<BYTE> bytes = resourceBytes(module, id, MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    Template t;
    if (bytes.size() < 26) return t;
    Reader r(bytes.data(), bytes.size());
    if (r.get<WORD>() != 1 || r.get<WORD>() != 0xFFFF) return t;  // DLGTEMPLATEEX only
    r.get<DWORD>();                                               // help id
    r.get<DWORD>();                                               // extended style
    t.style = r.get<DWORD>();
    const WORD count = r.get<WORD>();
    r.get<short>();
    r.get<short>();
    t.cx = r.get<short>();
    t.cy = r.get<short>();
    r.textOrOrdinal();  // menu
    r.textOrOrdinal();  // class
    t.caption = r.text();
    if (t.style & DS_SETFONT) {
        t.pointSize = r.get<WORD>();
        r.get<WORD>();  // weight
        r.get<BYTE>();  // italic
        r.get<BYTE>();  // character set
        t.font = r.text();
    }
    for (WORD i = 0; i < count; ++i) {
        r.alignDword();
        Item item;
        r.get<DWORD>();  // help id
        r.get<DWORD>();  // extended style
        item.style = r.get<DWORD>();
        item.x = r.get<short>();
        item.y = r.get<short>();
        item.cx = r.get<short>();
        item.cy = r.get<short>();
        item.id = static_cast<int>(r.get<DWORD>());
        item.className = className(r.textOrOrdinal());
        item.caption = r.textOrOrdinal();
        r.skip(r.get<WORD>());  // creation data
        t.items.push_back(item);
    }
    return t;
}

// The kind of a control: class and the bits that decide what it is.
struct Kind {
    const char* className;
    DWORD mask;
    DWORD bits;
};
constexpr Kind kPush{"Button", BS_TYPEMASK, BS_PUSHBUTTON};
constexpr Kind kDefaultPush{"Button", BS_TYPEMASK, BS_DEFPUSHBUTTON};
constexpr Kind kCheck{"Button", BS_TYPEMASK, BS_AUTOCHECKBOX};
constexpr Kind kRadio{"Button", BS_TYPEMASK, BS_AUTORADIOBUTTON};
constexpr Kind kGroupBox{"Button", BS_TYPEMASK, BS_GROUPBOX};
constexpr Kind kText{"Static", SS_TYPEMASK, SS_LEFT};
constexpr Kind kRightText{"Static", SS_TYPEMASK, SS_RIGHT};
constexpr Kind kBitmap{"Static", SS_TYPEMASK, SS_BITMAP};
constexpr Kind kLine{"Static", SS_TYPEMASK, SS_ETCHEDHORZ};
constexpr DWORD kEditBits =
    ES_NUMBER | ES_MULTILINE | ES_AUTOHSCROLL | ES_WANTRETURN | WS_HSCROLL | WS_VSCROLL;
constexpr Kind kDigits{"Edit", kEditBits, ES_NUMBER};
// Wraps its lines (no horizontal scrolling) and scrolls down.
constexpr Kind kReadOnlyLines{"Edit", kEditBits | ES_READONLY,
                              ES_MULTILINE | WS_VSCROLL | ES_READONLY};

struct Expected {
    int id;
    Kind kind;
    const char* caption;  // nullptr: not compared (long texts are checked by prefix below)
    int x, y, cx, cy;
};

void expectItems(const Template& t, const std::vector<Expected>& expected, const char* dialog) {
    ASSERT_EQ(t.items.size(), expected.size()) << dialog;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Item& got = t.items[i];
        const Expected& want = expected[i];
        const std::string row = std::string(dialog) + " item " + std::to_string(i);
        EXPECT_EQ(got.id, want.id) << row;
        EXPECT_EQ(got.className, want.kind.className) << row;
        EXPECT_EQ(got.style & want.kind.mask, want.kind.bits) << row;
        if (want.caption) {
            EXPECT_EQ(got.caption, want.caption) << row;
        }
        EXPECT_EQ(got.x, want.x) << row;
        EXPECT_EQ(got.y, want.y) << row;
        EXPECT_EQ(got.cx, want.cx) << row;
        EXPECT_EQ(got.cy, want.cy) << row;
        EXPECT_EQ((got.style & WS_VISIBLE) != 0, got.id != IDC_GREETING) << row;
    }
}

class DialogTemplateTest : public ::testing::Test {
protected:
    LoadedPlugin plugin_;
};

TEST_F(DialogTemplateTest, EveryDialogHasItsCaptionSizeFontAndFrame) {
    struct Row {
        int id;
        const char* caption;
        int cx, cy;
        bool minimizeBox;
    };
    const Row rows[] = {{IDD_OPTIONS, "Vireo Version 1.30", 314, 198, true},
                        {IDD_ABOUT, "About", 198, 151, false},
                        {IDD_SCRIPTING, "Scripting", 314, 167, false},
                        {IDD_DISPLAY, "Display", 232, 158, false},
                        {IDD_GENERAL, "General", 275, 183, false},
                        {IDD_STATUS, "Status", 330, 178, false}};
    ASSERT_TRUE(plugin_.loaded());
    for (const Row& row : rows) {
        const Template t = readTemplate(plugin_.module(), row.id);
        const DWORD frame = DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
        EXPECT_EQ(t.caption, row.caption) << row.id;
        EXPECT_EQ(t.cx, row.cx) << row.id;
        EXPECT_EQ(t.cy, row.cy) << row.id;
        EXPECT_EQ(t.style & frame, frame) << row.id;
        EXPECT_EQ((t.style & WS_MINIMIZEBOX) != 0, row.minimizeBox) << row.id;
        EXPECT_EQ(t.font, "Tahoma") << row.id;
        EXPECT_EQ(t.pointSize, 8) << row.id;
    }
}

TEST_F(DialogTemplateTest, OptionsWindowControls) {
    ASSERT_TRUE(plugin_.loaded());
    const Template t = readTemplate(plugin_.module(), IDD_OPTIONS);
    expectItems(t,
                {{1008, kPush, "&General", 7, 77, 50, 14},
                 {1004, kPush, "&Display", 7, 107, 50, 14},
                 {1005, kPush, "&Scripting", 7, 137, 50, 14},
                 {1002, kPush, "&About", 7, 177, 50, 14},
                 {1003, kPush, "&Help", 62, 177, 50, 14},
                 {1040, kPush, "&Status", 117, 177, 50, 14},
                 {1037, kPush, nullptr, 248, 185, 6, 6},
                 {1, kPush, "&Close", 257, 177, 50, 14},
                 {-1, kBitmap, "#106", 7, 7, 300, 31},
                 {-1, kLine, "", 7, 168, 299, 1},
                 {-1, kText, nullptr, 7, 44, 300, 26},
                 {-1, kText, nullptr, 68, 75, 239, 25},
                 {-1, kText, nullptr, 68, 105, 239, 24},
                 {-1, kText, nullptr, 68, 135, 239, 26}},
                "options");
    ASSERT_EQ(t.items.size(), 14u);
    EXPECT_EQ(t.items[6].style & (BS_MULTILINE | WS_TABSTOP), DWORD{BS_MULTILINE | WS_TABSTOP});
    EXPECT_EQ(t.items[10].caption.rfind("This is the Vireo options window, where you can configure "
                                        "many aspects of Vireo's behav- ior.",
                                        0),
              0u);
    EXPECT_EQ(t.items[13].caption.rfind("Scripting options that control the behavior", 0), 0u);
}

TEST_F(DialogTemplateTest, StatusWindowControls) {
    ASSERT_TRUE(plugin_.loaded());
    expectItems(readTemplate(plugin_.module(), IDD_STATUS),
                {{1041, kReadOnlyLines, "", 7, 7, 316, 143},
                 {1042, kPush, "&Copy", 219, 157, 50, 14},
                 {IDCANCEL, kDefaultPush, "&Close", 273, 157, 50, 14}},
                "status");
}

TEST_F(DialogTemplateTest, GeneralPageControlsAndItsRadioGroup) {
    ASSERT_TRUE(plugin_.loaded());
    const Template t = readTemplate(plugin_.module(), IDD_GENERAL);
    expectItems(
        t,
        {{1, kDefaultPush, "&OK", 218, 7, 50, 14},
         {2, kPush, "&Cancel", 218, 24, 50, 14},
         {1020, kCheck, "Enable the Vireo scripting feature.", 7, 40, 131, 10},
         {1021, kCheck, "Enable the Vireo in-game display.", 7, 55, 127, 10},
         {1034, kRadio, "Pause/unpause when I spawn/die in Counter-Strike.", 14, 83, 183, 10},
         {1035, kRadio, "Change the volume level when I spawn/die in Counter-Strike.", 14, 97, 212,
          10},
         {1032, kDigits, "", 114, 110, 26, 12},
         {1031, kDigits, "", 114, 125, 26, 12},
         {1036, kRadio, "Do not use Auto-Pause.", 14, 140, 93, 10},
         {-1, kText,
          "These are general settings that control basic features of Vireo. For an explanation "
          "of each setting visit the Vireo website.",
          7, 7, 201, 26},
         {-1, kGroupBox, "Auto-Pause", 7, 70, 261, 106},
         {-1, kRightText, "Fadeout Target Volume:", 26, 111, 81, 8},
         {-1, kRightText, "Fadein Target Volume:", 26, 126, 81, 8},
         {-1, kText, "%", 144, 111, 8, 8},
         {-1, kText, "%", 144, 127, 8, 8},
         {1039, kCheck, "Wait until I die or spawn before new Auto-Pause settings take effect.", 14,
          157, 239, 10}},
        "general");
    // The group starts at the first radio button and ends after the last.
    ASSERT_EQ(t.items.size(), 16u);
    EXPECT_NE(t.items[4].style & WS_GROUP, 0u);
    for (std::size_t i = 5; i <= 8; ++i) EXPECT_EQ(t.items[i].style & WS_GROUP, 0u) << i;
    EXPECT_NE(t.items[9].style & WS_GROUP, 0u);
}

TEST_F(DialogTemplateTest, BannersArePalettedOfTheirSizes) {
    ASSERT_TRUE(plugin_.loaded());
    struct Row {
        int id, width, height;
    };
    for (const Row& row : {Row{IDB_OPTIONS_BANNER, 450, 50}, Row{IDB_ABOUT_BANNER, 276, 50}}) {
        const std::vector<BYTE> bytes =
            resourceBytes(plugin_.module(), row.id, MAKEINTRESOURCEA(2) /* RT_BITMAP */);
        ASSERT_GE(bytes.size(), sizeof(BITMAPINFOHEADER)) << row.id;
        BITMAPINFOHEADER header;
        std::memcpy(&header, bytes.data(), sizeof header);
        EXPECT_EQ(header.biWidth, row.width) << row.id;
        EXPECT_EQ(std::abs(header.biHeight), row.height) << row.id;
        EXPECT_EQ(header.biBitCount, 8) << row.id;  // 256 colours: a third of 24-bit
        EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RLE8)) << row.id;  // and in runs
    }
}

TEST_F(DialogTemplateTest, LineListInitialisationBlockListsOneToSix) {
    ASSERT_TRUE(plugin_.loaded());
    const std::vector<BYTE> bytes =
        resourceBytes(plugin_.module(), IDD_DISPLAY, MAKEINTRESOURCEA(RT_DLGINIT_TYPE));
    ASSERT_FALSE(bytes.empty());
    Reader r(bytes.data(), bytes.size());
    std::vector<std::string> entries;
    for (WORD control; (control = r.get<WORD>()) != 0;) {
        EXPECT_EQ(control, IDC_LINE_NUMBER);
        EXPECT_EQ(r.get<WORD>(), 0x403);  // the list's add-string request
        const DWORD length = r.get<DWORD>();
        std::string entry;
        for (DWORD i = 0; i < length; ++i) entry += static_cast<char>(r.get<BYTE>());
        entries.push_back(entry);
        ASSERT_LE(entries.size(), 6u);
    }
    EXPECT_EQ(entries, (std::vector<std::string>{std::string("1", 2), std::string("2", 2),
                                                 std::string("3", 2), std::string("4", 2),
                                                 std::string("5", 2), std::string("6", 2)}));
}

}  // namespace
}  // namespace vireo::test
