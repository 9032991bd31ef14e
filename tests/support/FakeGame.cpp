#include "support/FakeGame.h"

#include <array>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "support/TestSupport.h"

namespace vireo::test {
namespace {

namespace fs = std::filesystem;

constexpr auto kPollInterval = std::chrono::milliseconds(10);
constexpr DWORD kStopWaitMs = 30000;
constexpr UINT kMessageTimeoutMs = 30000;
constexpr auto kWindowGoneTimeout = kPatience;
constexpr int kRemoveAttempts = 100;

std::atomic<unsigned> gDirectoryCounter{0};

struct WindowSearch {
    DWORD processId;
    const std::string* windowClass;
    HWND found;
};

BOOL CALLBACK findWindowOfProcess(HWND window, LPARAM lp) {
    auto* search = reinterpret_cast<WindowSearch*>(lp);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    if (pid != search->processId) return TRUE;
    char name[256] = {};
    ::GetClassNameA(window, name, sizeof name);
    if (*search->windowClass != name) return TRUE;
    search->found = window;
    return FALSE;
}

// Quotes one argument the way the C runtime splits a command line.
std::string quoted(const std::string& argument) {
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"')
            out.append(backslashes * 2 + 1, '\\');
        else
            out.append(backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

std::string longPath(const std::string& path) {
    char buffer[MAX_PATH] = {};
    const DWORD length = ::GetLongPathNameA(path.c_str(), buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(buffer, length) : path;
}

}  // namespace

FakeGameOptions counterStrikeOptions() {
    FakeGameOptions options;
    options.exeName = "cstrike.exe";
    options.modName = "cstrike";
    options.liblist =
        "// Counter-Strike\r\ngame \"Counter-Strike\"\r\nurl_info \"www.example.org\"\r\n"
        "gamedll \"dlls\\mp.dll\"\r\n";
    return options;
}

FakeGameOptions todayOptions() {
    FakeGameOptions options = counterStrikeOptions();
    options.exeName = "hl.exe";
    options.windowClass = fake_game::kTodayWindowClass;
    options.windowTitle = "Counter-Strike";
    options.plantCopies = false;
    options.extraArguments = {fake_game::kOptionGame, "cstrike", fake_game::kOptionConDebug,
                              fake_game::kOptionExecWhenPresent, "VireoCommands.cfg"};
    return options;
}

FakeGameProcess::FakeGameProcess(FakeGameOptions options) : options_(std::move(options)) {}

FakeGameProcess::~FakeGameProcess() { stop(); }

std::string FakeGameProcess::commandLine() const {
    using namespace fake_game;
    std::string line = quoted(exePath());
    auto add = [&line](const std::string& argument) { line += " " + quoted(argument); };
    if (options_.buildMarker) {
        add(kOptionBuildMarker);
        add(std::to_string(*options_.buildMarker));
    } else {
        add(kOptionNoBuildMarker);
    }
    add(kOptionMod);
    add(options_.modName);
    add(kOptionWindowClass);
    add(options_.windowClass);
    add(kOptionWindowTitle);
    add(options_.windowTitle);
    if (!options_.plantCopies) add(kOptionNoCopies);
    if (options_.windowOnSecondThread) add(kOptionWindowOnSecondThread);
    add(kOptionFootprintMb);
    add(std::to_string(options_.footprintMb));
    add(kOptionFootprintCopies);
    add(std::to_string(options_.footprintCopies));
    for (const std::string& extra : options_.extraArguments) add(extra);
    return line;
}

bool FakeGameProcess::prepareDirectory() {
    char temp[MAX_PATH] = {};
    if (::GetTempPathA(MAX_PATH, temp) == 0) return false;
    directory_ = longPath(temp) + "vireo-fake-" + std::to_string(::GetCurrentProcessId()) + "-" +
                 std::to_string(++gDirectoryCounter) + "\\";
    std::error_code error;
    fs::remove_all(directory_, error);
    if (!fs::create_directories(directory_, error)) return false;
    if (!options_.modName.empty()) fs::create_directories(modDirectory(), error);
    if (!fs::copy_file(binDirectory() + "fake_game.exe", exePath(), error)) return false;
    if (options_.liblist) {
        std::ofstream file(modDirectory() + std::string(landmarks::kLiblistFileName),
                           std::ios::binary);
        file << *options_.liblist;
        if (!file) return false;
    }
    return true;
}

void FakeGameProcess::removeDirectory() {
    if (directory_.empty()) return;
    // The image of a process that just ended may stay locked for a moment.
    for (int attempt = 0; attempt < kRemoveAttempts; ++attempt) {
        std::error_code error;
        fs::remove_all(directory_, error);
        if (!error) break;
        std::this_thread::sleep_for(kPollInterval);
    }
    directory_.clear();
}

bool FakeGameProcess::start(std::chrono::milliseconds timeout) {
    stop();
    failure_.clear();
    if (!prepareDirectory()) {
        failure_ = "cannot prepare the game directory " + directory_;
        removeDirectory();
        return false;
    }
    std::string line = commandLine();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(exePath().c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          directory_.c_str(), &startup, &info)) {
        failure_ = "CreateProcess failed: " + std::to_string(::GetLastError());
        removeDirectory();
        return false;
    }
    ::CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    processId_ = info.dwProcessId;

    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        if (::WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0) {
            DWORD code = 0;
            ::GetExitCodeProcess(process_.get(), &code);
            failure_ = "the fake game exited with code " + std::to_string(code);
            stop();
            return false;
        }
        WindowSearch search{processId_, &options_.windowClass, nullptr};
        ::EnumWindows(findWindowOfProcess, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            window_ = search.found;
            return true;
        }
        std::this_thread::sleep_for(kPollInterval);
    }
    failure_ = "the fake game's window did not appear";
    stop();
    return false;
}

void FakeGameProcess::stop() {
    if (process_) {
        ::TerminateProcess(process_.get(), 0);
        ::WaitForSingleObject(process_.get(), kStopWaitMs);
        process_.reset();
    }
    // The window may outlive the process for a moment; the next test must
    // not find it.
    const auto deadline = std::chrono::steady_clock::now() + kWindowGoneTimeout;
    while (window_ && ::IsWindow(window_) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(kPollInterval);
    window_ = nullptr;
    processId_ = 0;
    removeDirectory();
}

bool FakeGameProcess::running() const {
    return process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
}

landmarks::LandmarkSet FakeGameProcess::landmarkSet() const {
    return options_.buildMarker == landmarks::kBuildMarker2343 ? landmarks::kLandmarks2343
                                                               : landmarks::kLandmarksDefault;
}

bool FakeGameProcess::read(std::uintptr_t address, void* buffer, std::size_t count) const {
    SIZE_T got = 0;
    return process_ &&
           ::ReadProcessMemory(process_.get(), reinterpret_cast<LPCVOID>(address), buffer, count,
                               &got) &&
           got == count;
}

bool FakeGameProcess::write(std::uintptr_t address, const void* bytes, std::size_t count) const {
    SIZE_T put = 0;
    return process_ &&
           ::WriteProcessMemory(process_.get(), reinterpret_cast<LPVOID>(address), bytes, count,
                                &put) &&
           put == count;
}

bool FakeGameProcess::writeCapturedLine(std::string_view bytes) const {
    std::array<char, landmarks::kCapturedLineSize> buffer{};
    bytes.copy(buffer.data(), buffer.size());
    return write(landmarkSet().capturedLine, buffer.data(), buffer.size());
}

std::string FakeGameProcess::capturedLineBytes() const {
    std::string bytes(landmarks::kCapturedLineSize, '\0');
    if (!read(landmarkSet().capturedLine, bytes.data(), bytes.size())) return {};
    return bytes;
}

bool FakeGameProcess::setPlayerState(std::uint8_t value) const {
    return write(landmarks::kPlayerStateAddress, &value, sizeof value);
}

bool FakeGameProcess::setModName(std::string_view name) const {
    std::array<char, landmarks::kModNameSize> buffer{};
    name.copy(buffer.data(), buffer.size());
    return write(landmarkSet().modName, buffer.data(), buffer.size());
}

std::optional<fake_game::ControlBlock> FakeGameProcess::report() const {
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutA(window_, fake_game::kReportMessage, 0, 0, SMTO_ABORTIFHUNG,
                               kMessageTimeoutMs, &answer) ||
        answer != 1)
        return std::nullopt;
    fake_game::ControlBlock block{};
    if (!read(fake_game::kControlBlockAddress, &block, sizeof block) ||
        block.magic != fake_game::kControlMagic)
        return std::nullopt;
    return block;
}

bool FakeGameProcess::replant() const {
    DWORD_PTR answer = 0;
    return ::SendMessageTimeoutA(window_, fake_game::kReplantMessage, 0, 0, SMTO_ABORTIFHUNG,
                                 kMessageTimeoutMs, &answer) &&
           answer == 1;
}

bool FakeGameProcess::press(std::string_view command) const {
    char name[fake_game::kPressNameSize] = {};
    if (command.size() >= sizeof name) return false;
    command.copy(name, command.size());
    DWORD_PTR answer = 0;
    return write(fake_game::kControlBlockAddress + offsetof(fake_game::ControlBlock, pressName),
                 name, sizeof name) &&
           ::SendMessageTimeoutA(window_, fake_game::kPressMessage, 0, 0, SMTO_ABORTIFHUNG,
                                 kMessageTimeoutMs, &answer) &&
           answer == 1;
}

}  // namespace vireo::test
