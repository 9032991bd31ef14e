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
#include "support/TitleValues.h"

namespace vireo::test {
namespace {

std::string defaultScriptFile(const std::string& title) {
    std::string text(defaults::kScript);
    expandMacros(text, TitleValues(title), MacroValueForm::ConsoleSafe);
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
