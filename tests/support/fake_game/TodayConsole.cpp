// The console of a game of today: the command buffer, the tokenizer, alias,
// echo and exec as the engine has them, and -condebug's log, which the
// engine opens, appends to and closes again for every single print.

#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "fake_game/FakeGame.h"
#include "support/ConsoleRule.h"

namespace vireo::test::fake_game {
namespace {

constexpr UINT_PTR kTodayTimerId = 0x7D01;
constexpr UINT kTodayTimerPeriodMs = 50;
constexpr int kAliasDepthLimit = 16;  // the engine stops a loop of aliases too
constexpr char kConsoleLogName[] = "qconsole.log";
constexpr char kDefaultMod[] = "valve";

const Options* gOptions = nullptr;
ControlBlock* gBlock = nullptr;
std::string gGameDirectory;  // with its trailing backslash
std::map<std::string, std::string> gAliases;
bool gTitleShown = false;
bool gExecDone = false;
DWORD gStartTick = 0;

std::string lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string modDirectory() {
    return gGameDirectory +
           (gOptions->today.gameName.empty() ? kDefaultMod : gOptions->today.gameName) + "\\";
}

// One print, one open-append-close, as the C runtime's fopen "a" does it:
// sharing read and write, not delete.
void print(std::string_view text) {
    if (!gOptions->today.conDebug) return;
    const std::string path = gGameDirectory + kConsoleLogName;
    HANDLE file = ::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        gBlock->logLastError = ::GetLastError();
        ++gBlock->logRefusals;
        std::fprintf(stderr, "fake game: FAILED to open %s for appending (error %lu)\n",
                     path.c_str(), static_cast<unsigned long>(gBlock->logLastError));
        std::fflush(stderr);
        return;
    }
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
    ++gBlock->logAppends;
}

bool isSpecial(char c) {
    return c == '{' || c == '}' || c == '(' || c == ')' || c == '\'' || c == ':';
}

// The engine's tokenizer: blanks part tokens, "//" ends the command, a
// double-quoted text is one token, and each of { } ( ) ' : is a token alone.
std::vector<std::string> tokens(std::string_view command) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < command.size()) {
        const char c = command[i];
        if (static_cast<unsigned char>(c) <= ' ') {
            ++i;
        } else if (command.substr(i, 2) == "//") {
            break;
        } else if (c == '"') {
            const std::size_t end = command.find('"', i + 1);
            out.emplace_back(command.substr(
                i + 1, end == std::string_view::npos ? std::string_view::npos : end - i - 1));
            i = end == std::string_view::npos ? command.size() : end + 1;
        } else if (isSpecial(c)) {
            out.emplace_back(1, c);
            ++i;
        } else {
            const std::size_t start = i;
            while (i < command.size() && static_cast<unsigned char>(command[i]) > ' ' &&
                   command[i] != '"' && !isSpecial(command[i]))
                ++i;
            out.emplace_back(command.substr(start, i - start));
        }
    }
    return out;
}

void runText(std::string_view text, int depth);

void exec(const std::string& name, int depth) {
    std::ifstream file(modDirectory() + name, std::ios::binary);
    if (!file) {
        print("couldn't exec " + name + "\n");
        return;
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    ++gBlock->execCount;
    runText(contents.str(), depth + 1);
}

void runCommand(const std::vector<std::string>& words, int depth) {
    const std::string name = lowered(words[0]);
    if (name == "echo") {
        for (std::size_t i = 1; i < words.size(); ++i) {
            print(words[i]);
            print(" ");
        }
        print("\n");
    } else if (name == "alias" && words.size() >= 2) {
        std::string body;
        for (std::size_t i = 2; i < words.size(); ++i) body += (i > 2 ? " " : "") + words[i];
        gAliases[lowered(words[1])] = body;
    } else if (name == "exec" && words.size() >= 2) {
        exec(words[1], depth);
    } else if (const auto alias = gAliases.find(name); alias != gAliases.end()) {
        runText(alias->second, depth + 1);
    } else {
        print("Unknown command: " + words[0] + "\n");
    }
}

void runText(std::string_view text, int depth) {
    if (depth > kAliasDepthLimit) return;
    for (const CommandSpan& span : consoleCommands(text)) {
        const std::vector<std::string> words =
            tokens(text.substr(span.start, span.end - span.start));
        if (!words.empty()) runCommand(words, depth);
    }
}

}  // namespace

bool setUpToday(const Options& options, ControlBlock& block) {
    gOptions = &options;
    gBlock = &block;
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    gGameDirectory.assign(path, length);
    gGameDirectory.erase(gGameDirectory.find_last_of('\\') + 1);
    gStartTick = ::GetTickCount();
    return true;
}

bool titleShownAtStart(const Options& options) { return options.today.titleAfterMs == 0; }

void startToday(HWND window) {
    gTitleShown = titleShownAtStart(*gOptions);
    if (!gTitleShown || !gOptions->today.execWhenPresent.empty())
        ::SetTimer(window, kTodayTimerId, kTodayTimerPeriodMs, nullptr);
}

bool onTodayTimer(HWND window, UINT_PTR id) {
    if (id != kTodayTimerId) return false;
    if (!gTitleShown && ::GetTickCount() - gStartTick >= gOptions->today.titleAfterMs) {
        ::SetWindowTextA(window, gOptions->windowTitle.c_str());
        gTitleShown = true;
    }
    const std::string& cfg = gOptions->today.execWhenPresent;
    if (!gExecDone && !cfg.empty() &&
        ::GetFileAttributesA((modDirectory() + cfg).c_str()) != INVALID_FILE_ATTRIBUTES) {
        gExecDone = true;
        runText("exec " + cfg, 0);
    }
    if (gTitleShown && (gExecDone || cfg.empty())) ::KillTimer(window, kTodayTimerId);
    return true;
}

void pressKey() {
    std::string name(gBlock->pressName, strnlen(gBlock->pressName, kPressNameSize));
    runText(name, 0);
}

}  // namespace vireo::test::fake_game
