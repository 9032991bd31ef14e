#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "settings/Defaults.h"

namespace vireo::test {
namespace {

std::string keyPath(const char* subKey) {
    return subKey ? std::string(subKey) : std::string(defaults::kKeyPath);
}

constexpr DWORD kJoinWithinMs = 60000;

// Timer ticks the pumps dispatched, by timer id; the pumps run on the test's
// thread only.
std::map<UINT_PTR, unsigned>& dispatchedTicks() {
    static std::map<UINT_PTR, unsigned> ticks;
    return ticks;
}

DWORD WINAPI runBody(void* body) {
    (*static_cast<std::function<void()>*>(body))();
    return 0;
}

LRESULT CALLBACK hostWindowProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return ::DefWindowProcA(w, m, wp, lp);
}

}  // namespace

std::string binDirectory() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of('\\') + 1);
}

std::string pluginDllPath() { return binDirectory() + "gen_vireo.dll"; }

const char* const kSettingNames[19] = {
    "DisplayLine1",    "DisplayLine2",        "DisplayLine3",
    "DisplayLine4",    "DisplayLine5",        "DisplayLine6",
    "DisplayColor",    "EnableScripting",     "EnableIngameDisplay",
    "EnableAutoPause", "FadeoutTarget",       "FadeinTarget",
    "DelayAutoPause",  "HighUpdateFrequency", "PlaceScriptInRoot",
    "Script",          "BuilderMode",         "ShowGUI",
    "StartLine"};

void writeBusySettings() {
    deleteSettingsKey();
    writeSettingInt("EnableScripting", 1);
    writeSettingInt("HighUpdateFrequency", 1);
    writeSettingInt("EnableIngameDisplay", 1);
    writeSettingInt("ShowGUI", 1);
    writeSettingText("DisplayLine1", "%DISPLAYNAME%");
    writeSettingText("DisplayLine2", "%POS% / %LENGTH%");
}

std::string fileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string shippedDllPath() {
    char value[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableA("VIREO_SHIPPED_DLL", value, sizeof value);
    if (length == 0 || length >= sizeof value) return {};
    std::string path(value, length);
    // CMake names the file as the build machine sees it; Wine shows that
    // machine's root as drive Z:.
    if (path.front() == '/') path = "Z:" + path;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

JoiningThread::JoiningThread(std::function<void()> body) : body_(std::move(body)) {
    thread_ = ::CreateThread(nullptr, 0, runBody, &body_, 0, nullptr);
    if (!thread_) throw std::runtime_error("CreateThread failed");
}

JoiningThread::~JoiningThread() {
    if (::WaitForSingleObject(thread_, kJoinWithinMs) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "a test thread did not end within %lu ms\n", kJoinWithinMs);
        std::fflush(stderr);
        std::abort();
    }
    ::CloseHandle(thread_);
}

bool runningUnderWine() {
    HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

void pumpMessagesFor(std::chrono::milliseconds duration) {
    pumpUntil([] { return false; }, duration);
}

bool pumpUntil(const std::function<bool()>& predicate, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER) ++dispatchedTicks()[msg.wParam];
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (predicate()) return true;
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE,
                                    static_cast<DWORD>(std::min<long long>(left.count(), 5)),
                                    QS_ALLINPUT);
    }
}

unsigned timerTicks(UINT_PTR id) {
    const auto& ticks = dispatchedTicks();
    const auto found = ticks.find(id);
    return found == ticks.end() ? 0 : found->second;
}

std::vector<UINT_PTR> dispatchedTimerIds() {
    std::vector<UINT_PTR> ids;
    for (const auto& [id, ticks] : dispatchedTicks()) ids.push_back(id);
    return ids;
}

bool pumpTicks(UINT_PTR id, unsigned ticks, std::chrono::milliseconds period) {
    const unsigned wanted = timerTicks(id) + ticks;
    return pumpUntil([&] { return timerTicks(id) >= wanted; }, ticks * period + kTimerSlack);
}

std::int32_t RawValue::integer() const {
    std::int32_t v = 0;
    std::memcpy(&v, data.data(), std::min<std::size_t>(data.size(), sizeof v));
    return v;
}

void deleteSettingsKey(const char* subKey, HKEY root) {
    ::SHDeleteKeyA(root, keyPath(subKey).c_str());
    // A clean machine: the plug-in would prefer a user's copy of its key.
    if (!subKey && root == HKEY_LOCAL_MACHINE)
        ::SHDeleteKeyA(HKEY_CURRENT_USER, keyPath(nullptr).c_str());
}

RawValue readSettingRaw(const char* name, const char* subKey, HKEY root) {
    RawValue value;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, keyPath(subKey).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (::RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.data.resize(size);
        if (::RegQueryValueExA(key, name, nullptr, &value.type, value.data.data(), &size) ==
            ERROR_SUCCESS) {
            value.present = true;
            value.data.resize(size);
        }
    }
    ::RegCloseKey(key);
    return value;
}

void writeSettingRaw(const char* name, DWORD type, const void* data, DWORD size,
                     const char* subKey) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath(subKey).c_str(), 0, nullptr, 0,
                                KEY_READ | KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    ::RegCloseKey(key);
}

void writeSettingInt(const char* name, std::int32_t value) {
    writeSettingRaw(name, REG_DWORD, &value, sizeof value);
}

void writeSettingText(const char* name, const std::string& value) {
    writeSettingRaw(name, REG_SZ, value.data(), static_cast<DWORD>(value.size()));
}

std::int32_t readSettingInt(const char* name) { return readSettingRaw(name).integer(); }

std::string readSettingText(const char* name) {
    const std::string raw = readSettingRaw(name).text();
    return raw.substr(0, raw.find('\0'));
}

void deleteSettingValue(const char* name) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath(nullptr).c_str(), 0, KEY_WRITE, &key) ==
        ERROR_SUCCESS) {
        ::RegDeleteValueA(key, name);
        ::RegCloseKey(key);
    }
}

HostWindow::HostWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = hostWindowProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "VireoTestHost";
    ::RegisterClassA(&wc);
    window_ = ::CreateWindowA("VireoTestHost", "host", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                              nullptr, wc.hInstance, nullptr);
}

HostWindow::~HostWindow() {
    if (window_) ::DestroyWindow(window_);
}

LoadedPlugin::LoadedPlugin(const std::string& path) {
    module_ = ::LoadLibraryA(path.c_str());
    if (!module_) return;
    export_ = reinterpret_cast<PluginRecord* (*)()>(
        reinterpret_cast<void*>(::GetProcAddress(module_, "winampGetGeneralPurposePlugin")));
    if (export_) record_ = export_();
}

LoadedPlugin::~LoadedPlugin() { unload(); }

PluginRecord* LoadedPlugin::callExport() const { return export_ ? export_() : nullptr; }

int LoadedPlugin::init(HWND host) {
    record_->hwndParent = host;
    record_->hDllInstance = module_;
    initialised_ = true;
    return record_->init();
}

void LoadedPlugin::config() { record_->config(); }

void LoadedPlugin::quit() {
    if (initialised_) record_->quit();
    initialised_ = false;
}

void LoadedPlugin::unload() {
    if (!module_) return;
    quit();
    ::FreeLibrary(module_);
    module_ = nullptr;
    record_ = nullptr;
}

}  // namespace vireo::test
