// The script writer's tick against fake_game.exe and the Winamp double: where
// "Vireo.cfg" goes, its bytes, when it is left alone, how it is replaced
// while the game may read it, and what the game's console makes of it when a
// track title is hostile.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "common/UniqueResource.h"
#include "game/Landmarks.h"
#include "player/PlayerControl.h"
#include "common/ProcessWide.h"
#include "script/ScriptWriter.h"
#include "settings/Defaults.h"
#include "support/FakeGame.h"
#include "support/FakeGameControl.h"
#include "support/FakeWinamp.h"
#include "support/TestSupport.h"

namespace vireo::test {
namespace {

namespace fs = std::filesystem;

constexpr char kFileName[] = "Vireo.cfg";

std::optional<std::string> readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
}

void tick() { scriptWriterTick(nullptr, 0, 0, 0); }

// The names in a folder; the writer's temporary files must never be among them.
std::set<std::string> folderFiles(const std::string& directory) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory))
        names.insert(entry.path().filename().string());
    return names;
}
const std::set<std::string> kModFolderFiles = {"liblist.gam", kFileName};

// The game's console: its command buffer ends a command at every line break
// and at every semicolon outside double quotes, counting quotes afresh for
// each command. Blank commands are dropped.
std::vector<std::string> splitCommands(const std::string& text) {
    std::vector<std::string> commands;
    std::string current;
    bool quoted = false;
    auto finish = [&] {
        if (current.find_first_not_of(" \t\r") != std::string::npos) commands.push_back(current);
        current.clear();
        quoted = false;
    };
    for (const char c : text) {
        if (c == '"') quoted = !quoted;
        if (c == '\n' || c == '\r' || (c == ';' && !quoted)) {
            finish();
        } else {
            current += c;
        }
    }
    finish();
    return commands;
}

// The console's words: blanks and control bytes separate them, a double
// quote runs to the next one (or to the end).
std::vector<std::string> words(const std::string& command) {
    std::vector<std::string> result;
    std::size_t i = 0;
    while (i < command.size()) {
        if (static_cast<unsigned char>(command[i]) <= ' ') {
            ++i;
        } else if (command[i] == '"') {
            const std::size_t end = command.find('"', i + 1);
            result.push_back(command.substr(i + 1, end == std::string::npos ? end : end - i - 1));
            i = end == std::string::npos ? command.size() : end + 1;
        } else {
            std::size_t end = i;
            while (end < command.size() && static_cast<unsigned char>(command[end]) > ' ') ++end;
            result.push_back(command.substr(i, end - i));
            i = end;
        }
    }
    return result;
}

// What the script makes the game do: each command's verb, and for an alias
// its name and the verbs its body runs when the alias is used.
std::vector<std::string> commandShape(const std::string& script) {
    std::vector<std::string> shape;
    for (const std::string& command : splitCommands(script)) {
        const std::vector<std::string> w = words(command);
        std::string row = w.empty() ? "" : w[0];
        if (row == "alias" && w.size() >= 2) {
            row += " " + w[1] + " {";
            if (w.size() >= 3)
                for (const std::string& inner : splitCommands(w[2]))
                    row += " " + words(inner).at(0);
            row += " }";
            if (w.size() > 3) row += " +" + std::to_string(w.size() - 3);
        }
        shape.push_back(row);
    }
    return shape;
}

// Runs before the suite below starts its game. A process whose window is not
// of the game's class is no game: its directories stay untouched, whatever
// EnableScripting and PlaceScriptInRoot say.
TEST(ScriptWriterWithoutGameTest, NoGameWindowNoFile) {
    ASSERT_EQ(::FindWindowA(landmarks::kGameWindowClass, nullptr), nullptr)
        << "a game window is already open";
    FakeGameOptions options;
    options.windowClass = "NotTheGame";
    options.plantCopies = false;
    FakeGameProcess other(options);
    ASSERT_TRUE(other.start()) << other.failure();
    FakeWinamp winamp;
    playerControl.setWindow(winamp.handle());
    for (int enabled : {1, 0}) {
        writeSettingInt("EnableScripting", enabled);
        for (int placeInRoot : {0, 1}) {
            writeSettingInt("PlaceScriptInRoot", placeInRoot);
            tick();
            EXPECT_FALSE(fs::exists(other.modDirectory() + kFileName));
            EXPECT_FALSE(fs::exists(other.directory() + kFileName));
            EXPECT_FALSE(fs::exists(kFileName)) << "beside the test program";
        }
    }
    playerControl.setWindow(nullptr);
    writeSettingInt("EnableScripting", defaults::kEnableScripting);
    writeSettingInt("PlaceScriptInRoot", defaults::kPlaceScriptInRoot);
}

// One game, cstrike.exe with the mod cstrike, for the whole suite.
class ScriptWriterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        FakeGameOptions options = counterStrikeOptions();
        options.plantCopies = false;
        game_ = new FakeGameProcess(options);
        gameStarted_ = game_->start();
    }
    static void TearDownTestSuite() {
        delete game_;
        game_ = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(gameStarted_) << game_->failure();
        writeSettingInt("EnableScripting", 1);
        writeSettingInt("PlaceScriptInRoot", 0);
        writeSettingText("Script", std::string(defaults::kScript));
        winamp_.setTitle("Artist - Song");
        playerControl.setWindow(winamp_.handle());
        removeFiles();
    }
    void TearDown() override {
        playerControl.setWindow(nullptr);
        writeSettingInt("EnableScripting", defaults::kEnableScripting);
        writeSettingInt("PlaceScriptInRoot", defaults::kPlaceScriptInRoot);
        writeSettingText("Script", std::string(defaults::kScript));
        removeFiles();
    }

    static std::string rootFile() { return game_->directory() + kFileName; }
    static std::string modFile() { return game_->modDirectory() + kFileName; }
    static void removeFiles() {
        std::error_code error;
        fs::remove(rootFile(), error);
        fs::remove(modFile(), error);
    }
    // The file the tick writes for this template, read back.
    std::optional<std::string> writeWith(const std::string& script) {
        writeSettingText("Script", script);
        tick();
        return readFile(modFile());
    }

    static FakeGameProcess* game_;
    static bool gameStarted_;
    FakeWinamp winamp_;
};

FakeGameProcess* ScriptWriterTest::game_ = nullptr;
bool ScriptWriterTest::gameStarted_ = false;

TEST_F(ScriptWriterTest, HostileTitlesCannotAddConsoleCommands) {
    const std::string allMacros =
        "alias Vireo_All \"echo %DISPLAYNAME%|%POS%|%LENGTH%|%BITRATE%|%FREQ%|%CHANNELS%|%TIME%|"
        "%SHORTDATE%|%DATE%|%WAV%; say %ARTIST% - %TITLE%\"\r\nalias Vireo_Song \"say %TITLE%\"";
    const std::string templates[] = {std::string(defaults::kScript), allMacros};
    const std::string hostile[] = {
        "x\"; quit; \"",
        "x; connect 1.2.3.4",
        "Artist - x\"; quit; \"",
        "\"\"; bind w kill - \"",
        "a\nquit",
        "a\r\nquit - b\rkill",
        "; ; ;",
        "\"",
        "x\" \"y",
        "%TIME%\"; quit",
        "quit - %ARTIST%;\"disconnect",
        "tab\there - \x01\x1f\x7f;",
    };
    for (const std::string& script : templates) {
        winamp_.setTitle("Harmless Artist - Harmless Song");
        const std::optional<std::string> harmless = writeWith(script);
        ASSERT_TRUE(harmless.has_value());
        const std::vector<std::string> expected = commandShape(*harmless);
        ASSERT_GE(expected.size(), 2u);
        for (const std::string& title : hostile) {
            winamp_.setTitle(title);
            const std::optional<std::string> written = writeWith(script);
            ASSERT_TRUE(written.has_value()) << title;
            EXPECT_EQ(commandShape(*written), expected) << "title: " << title << "\nfile:\n"
                                                        << *written;
        }
    }
    // The title is still there, made inert, and the template's own quotes stay.
    winamp_.setTitle("x\"; quit; \"");
    const std::optional<std::string> written = writeWith("alias A \"echo %DISPLAYNAME%\"");
    EXPECT_EQ(written, "alias A \"echo x'  quit  '\"");
}

TEST_F(ScriptWriterTest, NothingIsWrittenWhileScriptingIsOff) {
    for (int value : {0, 2, -1}) {
        writeSettingInt("EnableScripting", value);
        tick();
        EXPECT_FALSE(fs::exists(modFile())) << value;
        EXPECT_FALSE(fs::exists(rootFile())) << value;
    }
}

TEST_F(ScriptWriterTest, PlacementFollowsPlaceScriptInRoot) {
    const struct {
        int placeInRoot;
        bool inRoot;
    } rows[] = {{1, true}, {0, false}, {2, false}, {-1, false}};
    for (const auto& row : rows) {
        removeFiles();
        writeSettingInt("PlaceScriptInRoot", row.placeInRoot);
        tick();
        EXPECT_EQ(fs::exists(rootFile()), row.inRoot) << row.placeInRoot;
        EXPECT_EQ(fs::exists(modFile()), !row.inRoot) << row.placeInRoot;
    }
    // The default template with its CR LF line breaks, as the console reads it.
    writeSettingInt("PlaceScriptInRoot", 1);
    winamp_.setTitle("Artist - Song");
    tick();
    const std::optional<std::string> bytes = readFile(rootFile());
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(
        bytes->rfind("alias Vireo_EchoSong \"developer 1; echo Current Song:; echo Artist - Song; "
                     "developer 0\"\r\r\n",
                     0),
        0u)
        << *bytes;
    EXPECT_EQ(bytes->substr(bytes->size() - 11), "developer 0");
}

TEST_F(ScriptWriterTest, BytesAreTheExpandedTemplateInTextMode) {
    EXPECT_EQ(writeWith("a\nb"), "a\r\nb");
    EXPECT_EQ(writeWith("a\r\nb"), "a\r\r\nb");
    EXPECT_EQ(writeWith("%BITRATE%kbps %CHANNELS%\n"), "128kbps Stereo\r\n");
    // Whatever was there before is gone: a longer file is truncated, and an
    // empty template leaves zero bytes.
    writeFile(modFile(), std::string(4000, 'x'));
    EXPECT_EQ(writeWith("short"), "short");
    writeFile(modFile(), "old content");
    EXPECT_EQ(writeWith(""), "");
    EXPECT_TRUE(fs::exists(modFile()));

    // The same bytes are not written again while the file keeps their size;
    // a file deleted or changed meanwhile is.
    const auto longAgo = std::chrono::floor<std::chrono::seconds>(fs::file_time_type::clock::now() -
                                                                  std::chrono::hours(24));
    const struct {
        const char* change;
        std::optional<std::string> bytesBefore;  // written over the file; none: left alone
        bool written;
    } rows[] = {
        {"nothing", std::nullopt, false},
        {"deleted", std::nullopt, true},
        {"longer", "short and more", true},
        {"the same size", "SHORT", false},
    };
    writeWith("short");
    for (const auto& row : rows) {
        if (row.bytesBefore) writeFile(modFile(), *row.bytesBefore);
        if (std::string(row.change) == "deleted") fs::remove(modFile());
        if (fs::exists(modFile())) fs::last_write_time(modFile(), longAgo);
        const std::optional<std::string> bytes = writeWith("short");
        EXPECT_EQ(bytes, row.written ? "short" : row.bytesBefore.value_or("short")) << row.change;
        EXPECT_EQ(fs::last_write_time(modFile()) != longAgo, row.written) << row.change;
        // A skipped write counts as leaving the file current.
        EXPECT_TRUE(scriptWriteReport().written) << row.change;
        EXPECT_EQ(scriptWriteReport().path, modFile());
    }
    EXPECT_EQ(folderFiles(game_->modDirectory()), kModFolderFiles);
}

TEST_F(ScriptWriterTest, EveryTickRewritesTheClock) {
    const std::optional<std::string> first = writeWith("%TIME%");
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->size(), 11u) << *first;
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    EXPECT_NE(writeWith("%TIME%"), first);
}

TEST_F(ScriptWriterTest, AnUnwritablePlaceIsRetriedAtTheNextTick) {
    // A mod whose directory does not exist yet.
    ASSERT_TRUE(game_->setModName("newmod"));
    const std::string newModDirectory = game_->directory() + "newmod\\";
    writeSettingText("Script", "now");
    tick();
    EXPECT_FALSE(fs::exists(newModDirectory));
    fs::create_directory(newModDirectory);
    tick();
    EXPECT_EQ(readFile(newModDirectory + kFileName), "now");
    EXPECT_FALSE(fs::exists(modFile()));
    ASSERT_TRUE(game_->setModName("cstrike"));

    // Held open without sharing by someone else: skipped, then written.
    {
        UniqueFileHandle holder{::CreateFileA(modFile().c_str(), GENERIC_READ, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)};
        ASSERT_TRUE(holder);
        writeSettingText("Script", "later");
        tick();
    }
    EXPECT_EQ(readFile(modFile()), "");
    tick();
    EXPECT_EQ(readFile(modFile()), "later");
    EXPECT_EQ(folderFiles(game_->modDirectory()), kModFolderFiles);
}

// The game's exec reads the old script or the new one, never a cut one: a
// reader in another process polls the file's size while ticks replace it.
TEST_F(ScriptWriterTest, TheFileIsReplacedWhole) {
    const std::string scripts[] = {std::string(3000, 'a'), std::string(5000, 'b')};
    ASSERT_TRUE(writeWith(scripts[1]) == scripts[1]);
    FakeGameOptions options;
    options.windowClass = "VireoScriptReader";
    options.plantCopies = false;
    options.extraArguments = {fake_game::kOptionWatchFile, modFile()};
    FakeGameProcess reader(options);
    ASSERT_TRUE(reader.start()) << reader.failure();
    auto sizesSeen = [&reader](std::uint32_t morePolls) {
        std::optional<fake_game::ControlBlock> block = reader.report();
        const std::uint32_t until = block ? block->watchPolls + morePolls : 0;
        while (block && block->watchPolls < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            block = reader.report();
        }
        EXPECT_TRUE(block.has_value());
        std::set<std::uint32_t> sizes;
        if (!block) return sizes;
        EXPECT_EQ(block->watchMissing, 0u);
        for (std::uint32_t i = 0; i < block->watchSizeCount && i < fake_game::kMaxWatchedSizes; ++i)
            sizes.insert(block->watchSizes[i]);
        EXPECT_LE(block->watchSizeCount, fake_game::kMaxWatchedSizes);
        return sizes;
    };
    sizesSeen(100);
    for (int i = 0; i < 200; ++i) writeWith(scripts[i % 2]);
    EXPECT_TRUE(readFile(modFile()) == scripts[1]);
    const std::set<std::uint32_t> whole = {3000, 5000};
    EXPECT_EQ(sizesSeen(100), whole);
    EXPECT_EQ(folderFiles(game_->modDirectory()), kModFolderFiles);

    // Opened as the game's C runtime opens it, without delete sharing, the
    // file cannot be replaced (Wine refuses the move as Windows does): it
    // stays whole across ticks, and is replaced once the game lets go.
    {
        UniqueFileHandle game{::CreateFileA(modFile().c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
        ASSERT_TRUE(game);
        for (int i = 0; i < 5; ++i) {
            EXPECT_TRUE(writeWith(scripts[0]) == scripts[1]) << "replaced while held";
            EXPECT_FALSE(scriptWriteReport().written);
            EXPECT_NE(scriptWriteReport().error, 0u);
            EXPECT_FALSE(scriptWriteReport().inPlace);
            EXPECT_EQ(folderFiles(game_->modDirectory()), kModFolderFiles);
        }
    }
    EXPECT_TRUE(writeWith(scripts[0]) == scripts[0]) << "not replaced once released";
    EXPECT_TRUE(scriptWriteReport().written);
    EXPECT_EQ(scriptWriteReport().refusals, 0u);
    EXPECT_EQ(sizesSeen(100), whole);
    EXPECT_EQ(folderFiles(game_->modDirectory()), kModFolderFiles);
}

DWORD gRefusal = ERROR_SUCCESS;
bool refuseMove(const char*, const char*) noexcept {
    ::SetLastError(gRefusal);
    return false;
}

bool refuseTemporary(const std::string&, const std::string&) noexcept {
    ::SetLastError(gRefusal);
    return false;
}

// What Wine cannot show: a folder that lets us write but not delete refuses
// every move, one that lets us write Vireo.cfg alone refuses the new file, and
// Windows 9x has no move at all. Each ends in writes in place; the first move
// that succeeds again ends them. A full disk or a missing folder never does.
TEST_F(ScriptWriterTest, RefusedForGoodTheFileIsWrittenInPlace) {
    constexpr int kNever = 0;
    const struct {
        DWORD refusal;
        int refusalsBeforeInPlace;
        bool atTheNewFile;  // else at the move
    } rows[] = {{ERROR_ACCESS_DENIED, 10, false},
                {ERROR_CALL_NOT_IMPLEMENTED, 1, false},
                {ERROR_ACCESS_DENIED, 10, true},
                {ERROR_DISK_FULL, kNever, true},
                {ERROR_PATH_NOT_FOUND, kNever, true}};
    int tick = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.refusal << (row.atTheNewFile ? " new" : " move"));
        ASSERT_EQ(writeWith("old"), "old");
        gRefusal = row.refusal;
        if (row.atTheNewFile) {
            setScriptTemporaryWrite(refuseTemporary);
        } else {
            setScriptFileMove(refuseMove);
        }
        const int refusedTicks =
            row.refusalsBeforeInPlace == kNever ? 12 : row.refusalsBeforeInPlace - 1;
        for (int i = 0; i < refusedTicks; ++i) {
            EXPECT_EQ(writeWith("new " + std::to_string(++tick)), "old") << i;
            EXPECT_FALSE(scriptWriteReport().written);
            EXPECT_EQ(scriptWriteReport().error, row.refusal);
            EXPECT_FALSE(scriptWriteReport().inPlace);
        }
        if (row.refusalsBeforeInPlace != kNever) {
            const std::string text = "new " + std::to_string(++tick);
            EXPECT_EQ(writeWith(text), text);
            EXPECT_TRUE(scriptWriteReport().written);
            EXPECT_TRUE(scriptWriteReport().inPlace);
        }
        EXPECT_EQ(folderFiles(game_->modDirectory()), kModFolderFiles);

        setScriptFileMove(nullptr);
        setScriptTemporaryWrite(nullptr);
        for (int i = 0; i < 100 && !(scriptWriteReport().written && !scriptWriteReport().inPlace);
             ++i)
            writeWith("again " + std::to_string(++tick));
        EXPECT_FALSE(scriptWriteReport().inPlace);
        EXPECT_TRUE(scriptWriteReport().written);
    }
}

}  // namespace
}  // namespace vireo::test
