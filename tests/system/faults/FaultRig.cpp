#include "system/faults/FaultRig.h"

#include <cstring>

#include "support/ResourceCounts.h"

namespace vireo::test {
namespace {

constexpr UINT kProbeMessage = WM_APP + 0x51;
constexpr DWORD kProbeIntervalMs = 100;
constexpr char kProbeClass[] = "VireoResponsivenessProbe";
constexpr unsigned kWinampCommand = WM_COMMAND;

// One run of the plug-in beside a game before any test counts, so that what
// the system makes once per process (a library's first load, winsock's
// helpers) is already there.
class WarmUp : public ::testing::Environment {
public:
    void SetUp() override {
        writeBusySettings();
        FakeGameOptions options = counterStrikeOptions();
        options.plantCopies = false;
        FakeGameProcess game(options);
        if (!game.start()) return;
        WinampWithPlugin host;
        ResponsivenessProbe probe;
        typeLine(game, "Vireo Help");
        pumpMessagesFor(kHookInstall + std::chrono::milliseconds(500));
    }
};
[[maybe_unused]] const auto* const kWarmUp = ::testing::AddGlobalTestEnvironment(new WarmUp);

}  // namespace

ResourceCounts resourceCounts() {
    const ProcessResources now = currentProcessResources();
    return {now.handles, now.userObjects, now.gdiObjects};
}

void expectNoGrowth(const ResourceCounts& before, const char* what) {
    const ResourceCounts after = resourceCounts();
    EXPECT_GT(before.handles, 0) << "no handle count";
    EXPECT_LE(after.handles, before.handles + kWineLazyHandles)
        << what << ": handles " << before.handles << " -> " << after.handles;
    EXPECT_LE(after.userObjects, before.userObjects)
        << what << ": USER objects " << before.userObjects << " -> " << after.userObjects;
    EXPECT_LE(after.gdiObjects, before.gdiObjects)
        << what << ": GDI objects " << before.gdiObjects << " -> " << after.gdiObjects;
}

ResponsivenessProbe::ResponsivenessProbe() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kProbeClass;
    ::RegisterClassA(&wc);  // fails harmlessly once registered
    window_ = ::CreateWindowA(kProbeClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                              nullptr);
    ::SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    const HWND window = window_;
    poster_ = std::make_unique<JoiningThread>([this, window] {
        while (!stop_.load()) {
            ::PostMessageA(window, kProbeMessage, ::GetTickCount(), 0);
            ::Sleep(kProbeIntervalMs);
        }
    });
}

ResponsivenessProbe::~ResponsivenessProbe() {
    stop_.store(true);
    poster_.reset();
    ::DestroyWindow(window_);
}

std::chrono::milliseconds ResponsivenessProbe::worst() const {
    return std::chrono::milliseconds(worstMs_);
}

void ResponsivenessProbe::expectResponsive(const char* what) const {
    EXPECT_GT(handled_, 0u) << what << ": no probe message was handled";
    EXPECT_LT(worst(), kResponsiveBound) << what << ": Winamp's thread was held up";
}

LRESULT CALLBACK ResponsivenessProbe::windowProc(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) noexcept {
    if (message == kProbeMessage) {
        auto* probe =
            reinterpret_cast<ResponsivenessProbe*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        if (probe) {
            const DWORD waited = ::GetTickCount() - static_cast<DWORD>(wParam);
            if (waited > probe->worstMs_) probe->worstMs_ = waited;
            ++probe->handled_;
        }
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

namespace {

void* exchangeSlot(void** slot, void* value) {
    DWORD protection = 0;
    if (!::VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection)) return nullptr;
    void* const old = *slot;
    *slot = value;
    ::VirtualProtect(slot, sizeof *slot, protection, &protection);
    return old;
}

}  // namespace

ImportSwap::ImportSwap(HMODULE module, const char* dll, const char* function, void* replacement) {
    auto* const base = reinterpret_cast<unsigned char*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) return;
    for (auto* entry =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         entry->Name != 0; ++entry) {
        if (::lstrcmpiA(reinterpret_cast<const char*>(base + entry->Name), dll) != 0 ||
            entry->OriginalFirstThunk == 0)
            continue;
        const auto* names =
            reinterpret_cast<const IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
        auto** slots = reinterpret_cast<void**>(base + entry->FirstThunk);
        for (std::size_t i = 0; names[i].u1.AddressOfData != 0; ++i) {
            if (IMAGE_SNAP_BY_ORDINAL(names[i].u1.Ordinal)) continue;
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names[i].u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
            original_ = exchangeSlot(&slots[i], replacement);
            if (original_) slot_ = &slots[i];
            return;
        }
    }
}

ImportSwap::~ImportSwap() {
    if (slot_) exchangeSlot(slot_, original_);
}

std::vector<StoredSetting> storedSettings() {
    std::vector<StoredSetting> settings;
    for (const char* name : kSettingNames) settings.push_back({name, readSettingRaw(name)});
    return settings;
}

void expectSameSettings(const std::vector<StoredSetting>& before, const char* what) {
    EXPECT_EQ(before.size(), 19u);
    for (const StoredSetting& setting : before) {
        const RawValue now = readSettingRaw(setting.name.c_str());
        EXPECT_TRUE(now.present) << what << ": " << setting.name << " is gone";
        EXPECT_EQ(now.type, setting.value.type) << what << ": " << setting.name;
        EXPECT_EQ(now.data, setting.value.data) << what << ": " << setting.name;
    }
}

WinampWithPlugin::WinampWithPlugin() {
    winamp.setTitle("Artist - Song");
    winamp.setPlayStatus(1);
    plugin = std::make_unique<LoadedPlugin>();
    EXPECT_TRUE(plugin->loaded());
    if (plugin->loaded()) plugin->init(winamp.handle());
}

WinampWithPlugin::~WinampWithPlugin() {
    if (plugin) plugin->unload();
    plugin.reset();
}

std::size_t WinampWithPlugin::count(unsigned command) const {
    std::size_t n = 0;
    for (const ReceivedMessage& received : winamp.log())
        if (received.type == kWinampCommand && received.message.id == command) ++n;
    return n;
}

bool typeLine(const FakeGameProcess& game, const std::string& line,
              std::chrono::milliseconds timeout) {
    if (!game.writeCapturedLine(line)) return false;
    return pumpUntil(
        [&] {
            const std::string bytes = game.capturedLineBytes();
            return !bytes.empty() && bytes.front() == '\0';
        },
        timeout);
}

std::unique_ptr<FakeGameProcess> startGame(FakeGameOptions options) {
    auto game = std::make_unique<FakeGameProcess>(std::move(options));
    if (!game->start()) {
        ADD_FAILURE() << game->failure();
        return nullptr;
    }
    return game;
}

}  // namespace vireo::test
