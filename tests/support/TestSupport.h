#pragma once
// Helpers every test program shares: where the built files are, a message
// pump that drives the real timers, the settings key, and loading the plug-in
// the way Winamp does.

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/PluginRecord.h"

namespace vireo::test {

using namespace std::chrono_literals;

// The folder that holds the test programs, gen_vireo.dll and the doubles,
// with a trailing backslash.
std::string binDirectory();
std::string pluginDllPath();

// True when the tests run under Wine, whose registry and crash handling
// differ from Windows in a few places the tests meet.
bool runningUnderWine();

// How much later than its period a wait allows a timer's work to come. The
// suite runs on machines that other builds and test runs keep busy, where a
// timer is now and then seconds late; a wait ends as soon as its condition
// holds, so only a failing test waits this long.
constexpr std::chrono::milliseconds kTimerSlack = 10s;
// The same for work that needs no timer: a window, a file or a datagram.
constexpr std::chrono::milliseconds kPatience = 15s;

// Dispatches this thread's messages (and so its timers) for the given time.
void pumpMessagesFor(std::chrono::milliseconds duration);
// Pumps until the predicate holds or the timeout passes; answers the predicate.
bool pumpUntil(const std::function<bool()>& predicate, std::chrono::milliseconds timeout);
// How many times this thread's pumps (the two above) have dispatched a timer
// of this id, for any window: how a test knows that one of the plug-in's
// timers has run, rather than guessing from the time that passed.
unsigned timerTicks(UINT_PTR id);
// The ids of every timer those pumps have dispatched so far.
std::vector<UINT_PTR> dispatchedTimerIds();
// Pumps until the timer `id` has run `ticks` more times; false when it had
// not within the timeout (its period times `ticks`, plus kTimerSlack).
bool pumpTicks(UINT_PTR id, unsigned ticks, std::chrono::milliseconds period);

// The settings key, HKEY_LOCAL_MACHINE "Software\Oskel\Vireo\1.30".
struct RawValue {
    bool present = false;
    DWORD type = 0;
    std::vector<std::uint8_t> data;
    [[nodiscard]] std::string text() const { return std::string(data.begin(), data.end()); }
    [[nodiscard]] std::int32_t integer() const;
};
// The root may be HKEY_CURRENT_USER, where a user without the right to write
// HKEY_LOCAL_MACHINE keeps the settings. Deleting the plug-in's own key under
// HKEY_LOCAL_MACHINE deletes the user's copy too.
void deleteSettingsKey(const char* subKey = nullptr, HKEY root = HKEY_LOCAL_MACHINE);
RawValue readSettingRaw(const char* name, const char* subKey = nullptr,
                        HKEY root = HKEY_LOCAL_MACHINE);
void writeSettingRaw(const char* name, DWORD type, const void* data, DWORD size,
                     const char* subKey = nullptr);
void writeSettingInt(const char* name, std::int32_t value);
void writeSettingText(const char* name, const std::string& value);
std::int32_t readSettingInt(const char* name);
// The stored text up to the first NUL (Wine stores a terminator).
std::string readSettingText(const char* name);
void deleteSettingValue(const char* name);
// The nineteen value names of the settings key.
extern const char* const kSettingNames[19];
// Every feature at work: the display (shown), the script written every
// second, two display lines with the track; auto-pause is left to the test.
void writeBusySettings();

// A plain top-level window to hand to the plug-in as Winamp's.
class HostWindow {
public:
    HostWindow();
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    [[nodiscard]] HWND handle() const { return window_; }

private:
    HWND window_ = nullptr;
};

// gen_vireo.dll loaded as Winamp loads a general-purpose plug-in.
class LoadedPlugin {
public:
    explicit LoadedPlugin(const std::string& path = pluginDllPath());
    ~LoadedPlugin();
    LoadedPlugin(const LoadedPlugin&) = delete;
    LoadedPlugin& operator=(const LoadedPlugin&) = delete;

    [[nodiscard]] bool loaded() const { return module_ != nullptr && record_ != nullptr; }
    [[nodiscard]] HMODULE module() const { return module_; }
    [[nodiscard]] PluginRecord* record() const { return record_; }
    [[nodiscard]] PluginRecord* callExport() const;
    // Fills hwndParent and hDllInstance and calls init, as Winamp does.
    int init(HWND host);
    void config();
    void quit();
    // quit (if init ran and quit did not) and FreeLibrary.
    void unload();

private:
    HMODULE module_ = nullptr;
    PluginRecord* (*export_)() = nullptr;
    PluginRecord* record_ = nullptr;
    bool initialised_ = false;
};

// The exact file that ships, build/release/bin/gen_vireo.dll (the test
// preset passes its place in VIREO_SHIPPED_DLL); empty when it is not known.
std::string shippedDllPath();

// A file's bytes; empty when it cannot be read.
std::string fileText(const std::string& path);

// A thread that runs one function and is joined when it goes out of scope.
// The shipped compiler's thread model has no std::thread. A body that has
// not ended a minute after the join began ends the test program with a
// message rather than keep it waiting (the body may use the joiner's stack).
class JoiningThread {
public:
    explicit JoiningThread(std::function<void()> body);
    ~JoiningThread();
    JoiningThread(const JoiningThread&) = delete;
    JoiningThread& operator=(const JoiningThread&) = delete;

private:
    std::function<void()> body_;
    HANDLE thread_ = nullptr;
};

}  // namespace vireo::test
