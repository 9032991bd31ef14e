// expandMacros against a scripted value source: the row order and what it
// implies, exact matching, values that hold macro names, and the console-safe
// form used for the script file.

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "macros/Macros.h"

namespace vireo::test {
namespace {

// Answers fixed values and logs which row asked for what, in order.
class ScriptedValues final : public MacroValues {
public:
    std::string displayTitle = "Artist - Song";
    std::string position = "1:01";
    std::string length = "4:05";
    int bitrateValue = 128;
    int sampleRateValue = 44;
    int channelCount = 2;
    std::string time = "03:07:09 PM";
    std::string shortDate = "03/05/03";
    std::string date = "March 05, 2003";
    std::string version = "2.091";
    std::string artistName = "Artist";
    std::string song = "Song";
    mutable std::vector<std::string> asked;

    std::string title() const override { return log("title", displayTitle); }
    std::string positionText() const override { return log("position", position); }
    std::string lengthText() const override { return log("length", length); }
    int bitrate() const override { return log("bitrate", bitrateValue); }
    int sampleRate() const override { return log("sampleRate", sampleRateValue); }
    int channels() const override { return log("channels", channelCount); }
    std::string timeText() const override { return log("time", time); }
    std::string shortDateText() const override { return log("shortDate", shortDate); }
    std::string dateText() const override { return log("date", date); }
    std::string versionText() const override { return log("version", version); }
    std::string artist() const override { return log("artist", artistName); }
    std::string songTitle() const override { return log("songTitle", song); }

private:
    template <typename T>
    T log(const char* row, T value) const {
        asked.emplace_back(row);
        return value;
    }
};

std::string expanded(std::string text, const MacroValues& values,
                     MacroValueForm form = MacroValueForm::AsIs) {
    expandMacros(text, values, form);
    return text;
}

struct Row {
    const char* text;
    const char* expected;
};

TEST(MacroExpansionTest, EveryMacroGivesItsValueAndNothingElseIsSpecial) {
    const ScriptedValues values;
    const Row rows[] = {
        {"", ""},
        {"no macros at all", "no macros at all"},
        {"%DISPLAYNAME%", "Artist - Song"},
        {"%POS% / %LENGTH%", "1:01 / 4:05"},
        {"%BITRATE%kbps - %FREQ%khz - %CHANNELS%", "128kbps - 44khz - Stereo"},
        {"%TIME% - %SHORTDATE%", "03:07:09 PM - 03/05/03"},
        {"%DATE% (%SHORTDATE%)", "March 05, 2003 (03/05/03)"},
        {"%WAV%", "2.091"},
        {"%ARTIST% / %TITLE%", "Artist / Song"},
        // Exact, upper-case names only.
        {"%title% %Title% %FOO% %TITLE", "%title% %Title% %FOO% %TITLE"},
        {"100% %", "100% %"},
        // Repeated and adjacent occurrences.
        {"%TITLE%%TITLE% and %TITLE%", "SongSong and Song"},
        {"%%TITLE%%", "%Song%"},
        {"%POS%%LENGTH%%POS%", "1:014:051:01"},
    };
    for (const Row& row : rows) EXPECT_EQ(expanded(row.text, values), row.expected) << row.text;
}

TEST(MacroExpansionTest, NumbersAndChannelWords) {
    ScriptedValues values;
    values.bitrateValue = -1;
    values.sampleRateValue = INT_MIN;
    EXPECT_EQ(expanded("%BITRATE% %FREQ%", values), "-1 -2147483648");

    const struct {
        int count;
        const char* word;
    } channelRows[] = {{1, "Mono"}, {2, "Stereo"}, {0, "Stereo"}, {6, "Stereo"}, {-1, "Stereo"}};
    for (const auto& row : channelRows) {
        values.channelCount = row.count;
        EXPECT_EQ(expanded("%CHANNELS%", values), row.word) << row.count;
    }
}

TEST(MacroExpansionTest, EveryCallAsksAllTwelveRowsInTheirOrder) {
    const ScriptedValues values;
    const std::vector<std::string> order = {"title",      "position", "length", "bitrate",
                                            "sampleRate", "channels", "time",   "shortDate",
                                            "date",       "version",  "artist", "songTitle"};
    for (const char* text : {"", "%TITLE%", "plain"}) {
        values.asked.clear();
        expanded(text, values);
        EXPECT_EQ(values.asked, order) << text;
    }
}

TEST(MacroExpansionTest, InsertedTextIsScannedOnlyByLaterRows) {
    ScriptedValues values;
    // The display title (row 1) is scanned by every later row.
    values.displayTitle = "Song %TIME% by %ARTIST%";
    EXPECT_EQ(expanded("%DISPLAYNAME%", values), "Song 03:07:09 PM by Artist");
    values.displayTitle = "at %POS%";
    EXPECT_EQ(expanded("%DISPLAYNAME%", values), "at 1:01");
    // The song title (row 12) is never scanned by an earlier row.
    values.song = "at %POS% on %DATE%";
    EXPECT_EQ(expanded("%TITLE%", values), "at %POS% on %DATE%");
    // "%SHORTDATE%" does not hold "%DATE%".
    values.shortDate = "01/09/04";
    values.date = "January 09, 2004";
    EXPECT_EQ(expanded("%SHORTDATE%|%DATE%", values), "01/09/04|January 09, 2004");
}

TEST(MacroExpansionTest, ValuesHoldingTheirOwnNameAreInsertedOnce) {
    ScriptedValues values;
    values.song = "%TITLE%";
    EXPECT_EQ(expanded("%TITLE% - %TITLE%", values), "%TITLE% - %TITLE%");
    values.song = "x%TITLE%%TITLE%y";
    EXPECT_EQ(expanded("[%TITLE%]", values), "[x%TITLE%%TITLE%y]");
    values.displayTitle = "%DISPLAYNAME%%DISPLAYNAME%";
    EXPECT_EQ(expanded("%DISPLAYNAME%", values), "%DISPLAYNAME%%DISPLAYNAME%");
    // An empty value deletes the name.
    values.artistName.clear();
    EXPECT_EQ(expanded("<%ARTIST%><%ARTIST%>", values), "<><>");
}

TEST(MacroExpansionTest, ReplaceAllEdgeCases) {
    std::string text = "aXbXXc";
    replaceAll(text, "X", "XX");
    EXPECT_EQ(text, "aXXbXXXXc");
    text = "aaaa";
    replaceAll(text, "aa", "b");
    EXPECT_EQ(text, "bb");
    text = "abc";
    replaceAll(text, "", "z");
    EXPECT_EQ(text, "abc");
    text = "%N%";
    replaceAll(text, "%N%", 0);
    EXPECT_EQ(text, "0");
}

// A hostile title whose artist and song hold more macro names: each row
// multiplies the text, which stops at kMaxExpandedTextSize; an ordinary long
// title is untouched by the bound.
TEST(MacroExpansionTest, GrowthStopsAtTheBound) {
    ScriptedValues values;
    std::string hostile;
    while (hostile.size() < 4096) hostile += "%ARTIST%%TITLE%";
    values.displayTitle = hostile;
    values.artistName = hostile;
    values.song = hostile;
    const std::string line = expanded("%DISPLAYNAME%", values);
    EXPECT_LE(line.size(), kMaxExpandedTextSize);
    EXPECT_GT(line.size(), kMaxExpandedTextSize - hostile.size());
    EXPECT_EQ(line.compare(0, hostile.size(), hostile), 0) << "replaced from the left";

    values = ScriptedValues{};
    values.displayTitle = std::string(8000, 'T');
    EXPECT_EQ(expanded("%DISPLAYNAME% / %DISPLAYNAME%", values),
              values.displayTitle + " / " + values.displayTitle);

    // Within one row: the occurrences that fit are replaced, the rest stay.
    std::string text;
    for (int i = 0; i < 100; ++i) text += "%N%";
    replaceAll(text, "%N%", std::string_view(std::string(1024, 'v')));
    EXPECT_EQ(text.size(), 63 * 1024 + 37 * 3u);
    EXPECT_EQ(text.substr(text.size() - 3), "%N%");
    // Shrinking and same-size values are never held back, even in a text
    // already over the bound.
    text = std::string(kMaxExpandedTextSize, 'a') + "%N%%N%";
    replaceAll(text, "%N%", "b");
    EXPECT_EQ(text, std::string(kMaxExpandedTextSize, 'a') + "bb");
}

TEST(MacroExpansionTest, ConsoleFilterTable) {
    const struct {
        std::string value;
        std::string expected;
    } rows[] = {
        {"plain title", "plain title"},
        {"say \"hi\"", "say 'hi'"},
        {"a;b;;c", "a b  c"},
        {std::string("cr\rlf\ntab\tnul\0x", 15), "cr lf tab nul x"},
        {"\x01\x1f\x7f", "   "},
        // Everything printable stays, code-page letters included.
        {"it's // $x {a} (b) \\ / %TITLE%", "it's // $x {a} (b) \\ / %TITLE%"},
        {"\x80\xe9\xff", "\x80\xe9\xff"},
    };
    for (const auto& row : rows) EXPECT_EQ(consoleSafeValue(row.value), row.expected) << row.value;
}

TEST(MacroExpansionTest, ConsoleFormFiltersValuesButNotTheTemplate) {
    ScriptedValues values;
    values.displayTitle = "x\"; quit; \"%TIME%";
    values.song = "a\r\nconnect 1.2.3.4";
    values.artistName = "b;c";
    const std::string templateText =
        "alias A \"echo %DISPLAYNAME%; say %ARTIST% - %TITLE%\"\r\nalias B \"x\"";
    EXPECT_EQ(
        expanded(templateText, values, MacroValueForm::ConsoleSafe),
        "alias A \"echo x'  quit  '03:07:09 PM; say b c - a  connect 1.2.3.4\"\r\nalias B \"x\"");
    // The display lines keep the values as they come.
    EXPECT_EQ(expanded("%ARTIST%|%TITLE%", values), "b;c|a\r\nconnect 1.2.3.4");
    // A value inserted by an earlier row and then matched by a later one is
    // filtered by the later row as well.
    values.displayTitle = "%ARTIST%";
    EXPECT_EQ(expanded("%DISPLAYNAME%", values, MacroValueForm::ConsoleSafe), "b c");
}

}  // namespace
}  // namespace vireo::test
