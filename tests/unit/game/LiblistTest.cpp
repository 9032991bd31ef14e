// The rules for reading a value out of a mod's liblist.gam.

#include <gtest/gtest.h>

#include <string>

#include "game/Liblist.h"

namespace vireo::test {
namespace {

struct LiblistCase {
    const char* what;
    std::string text;
    const char* key;
    std::string value;
};

const std::string kCounterStrike =
    "// Valve Game Info file\n"
    "game \"Counter-Strike\"\n"
    "url_info \"www.example.com\"\n"
    "version \"1.6\"\n"
    "gamedll \"dlls\\mp.dll\"\n"
    "gamedll_linux \"dlls/cs.so\"\n"
    "type \"multiplayer_only\"\n";

TEST(LiblistTest, ValueOfTheFirstLineForTheKey) {
    const std::string longLine(300, 'x');
    const LiblistCase cases[] = {
        {"game among other keys", kCounterStrike, "game", "Counter-Strike"},
        {"gamedll, not game", kCounterStrike, "gamedll", "dlls\\mp.dll"},
        {"gamedll_linux", kCounterStrike, "gamedll_linux", "dlls/cs.so"},
        {"last line", kCounterStrike, "type", "multiplayer_only"},
        {"game does not match gamedll", "gamedll \"dlls\\mp.dll\"\n", "game", ""},
        {"leading blanks", "    game \"Counter-Strike\"\n", "game", "Counter-Strike"},
        {"key in other case", "Game \"Counter-Strike\"\n", "game", ""},
        {"tab indentation", "\tgame \"Counter-Strike\"\n", "game", ""},
        {"tab after the key", "game\t\"Counter-Strike\"\n", "game", ""},
        {"first line wins", "game \"First\"\ngame \"Second\"\n", "game", "First"},
        {"blanks inside the value", "game \"Counter-Strike Beta\"\n", "game",
         "Counter-Strike Beta"},
        {"text before the quote and after it", "game  = \"Value\" // note\n", "game", "Value"},
        {"empty value", "game \"\"\ngame \"Later\"\n", "game", ""},
        {"key trimmed of blanks", "game \"Counter-Strike\"\n", "  game  ", "Counter-Strike"},
        {"empty key matches nothing", "  \"odd\"\n", "", ""},
        {"no line feed at the end", "game \"Counter-Strike\"", "game", "Counter-Strike"},
        {"carriage returns", "version \"1.6\"\r\ngame \"Counter-Strike\"\r\n", "game",
         "Counter-Strike"},
        {"missing key", kCounterStrike, "startmap", ""},
        {"empty file", "", "game", ""},
        // A first line for the key without both quotes has no value; it still
        // is the first line, so a later one is not taken.
        {"no quote", "game Counter-Strike\ngame \"Later\"\n", "game", ""},
        {"one quote", "game \"Counter-Strike\ngame \"Later\"\n", "game", ""},
        // Only the first 255 characters of a line are looked at, and the rest
        // of the line is not read as a line of its own.
        {"tail of a long line is no line",
         longLine.substr(0, 255) + "game \"Wrong\"\n" + "game \"Counter-Strike\"\n", "game",
         "Counter-Strike"},
        {"long line, then the key", longLine + "\ngame \"Counter-Strike\"\n", "game",
         "Counter-Strike"},
        {"value cut at 255 characters", "game \"" + longLine + "\"\ngame \"Later\"\n", "game", ""},
        {"line of exactly 255 characters",
         "game \"" + std::string(248, 'v') + "\"\ngame \"Later\"\n", "game", std::string(248, 'v')},
    };
    for (const LiblistCase& c : cases) EXPECT_EQ(liblistValueIn(c.text, c.key), c.value) << c.what;
}

TEST(LiblistTest, EveryKeyOfOneFileIsFound) {
    const std::string file = "version \"1\"\r\ngame \"Counter-Strike\"\r\ntype \"x\"";
    EXPECT_EQ(liblistValueIn(file, "version"), "1");
    EXPECT_EQ(liblistValueIn(file, "game"), "Counter-Strike");
    EXPECT_EQ(liblistValueIn(file, "type"), "x");
}

}  // namespace
}  // namespace vireo::test
