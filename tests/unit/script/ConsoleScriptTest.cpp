// The whole road of a hostile track title into Vireo.cfg: the default
// template expanded for the console and written as the file's bytes, cut by
// the console's own rule, holds the same commands as with a plain title.

#include <gtest/gtest.h>

#include <string>

#include "macros/Macros.h"
#include "player/TrackText.h"
#include "script/ScriptFile.h"
#include "settings/Defaults.h"
#include "support/ConsoleRule.h"

namespace vireo::test {
namespace {

class TitleOnly : public MacroValues {
public:
    explicit TitleOnly(std::string title) : title_(std::move(title)) {}
    std::string title() const override { return title_; }
    std::string positionText() const override { return "1:01"; }
    std::string lengthText() const override { return "4:05"; }
    int bitrate() const override { return 128; }
    int sampleRate() const override { return 44; }
    int channels() const override { return 2; }
    std::string timeText() const override { return "03:07:09 PM"; }
    std::string shortDateText() const override { return "03/05/03"; }
    std::string dateText() const override { return "March 05, 2003"; }
    std::string versionText() const override { return "2.091"; }
    std::string artist() const override { return artistOf(title_); }
    std::string songTitle() const override { return songTitleOf(title_); }

private:
    std::string title_;
};

std::string defaultScriptFile(const std::string& title) {
    std::string text(defaults::kScript);
    expandMacros(text, TitleOnly(title), MacroValueForm::ConsoleSafe);
    return toTextModeBytes(text);
}

TEST(ConsoleScriptTest, HostileTitlesAddNoCommand) {
    const std::string plain = defaultScriptFile("Artist - Song");
    const auto expected = consoleCommands(plain);
    // Eight aliases, one a line (the empty fifth line holds none); every
    // semicolon of the template sits inside an alias's quotes.
    ASSERT_EQ(expected.size(), 8u) << plain;
    const std::string titles[] = {
        "x\"; quit; \"",
        "\"",
        "a\nquit\nb",
        "a\rquit",
        "; ; ;",
        "\"\"\"\"; disconnect",
        std::string("nul\0inside\"; quit", 17),
        "%DISPLAYNAME%\"; quit - %TITLE%\"; kill",
    };
    for (const std::string& title : titles) {
        const std::string file = defaultScriptFile(title);
        const auto commands = consoleCommands(file);
        EXPECT_EQ(commands.size(), expected.size()) << title << "\n" << file;
        for (const CommandSpan& command : commands)
            EXPECT_EQ(file.substr(command.start, 6), "alias ") << title << "\n" << file;
    }
}

}  // namespace
}  // namespace vireo::test
