#include "support/FakeEngine.h"

#include <cstddef>
#include <cstring>

#include "support/TestSupport.h"

namespace vireo::test {
namespace {

constexpr std::uint32_t kLinesPerTick = 6;
constexpr char kSharedSectionName[] = ".shared";

}  // namespace

std::unique_ptr<EngineLog> FakeEngine::log() const {
    auto copy = std::make_unique<EngineLog>();
    if (!game_.read(fake_game::kEngineLogAddress, copy.get(), sizeof(EngineLog))) return nullptr;
    if (copy->magic != fake_game::kEngineLogMagic) return nullptr;
    return copy;
}

std::uint32_t FakeEngine::printCount() const {
    std::uint32_t count = 0;
    game_.read(fake_game::kEngineLogAddress + offsetof(EngineLog, printCount), &count,
               sizeof count);
    return count;
}

bool FakeEngine::vireoLoaded() const {
    std::uint32_t loaded = 0;
    game_.read(fake_game::kEngineLogAddress + offsetof(EngineLog, vireoLoaded), &loaded,
               sizeof loaded);
    return loaded != 0;
}

std::uint32_t FakeEngine::timerMessages() const {
    std::uint32_t messages = 0;
    game_.read(fake_game::kEngineLogAddress + offsetof(EngineLog, vireoTimerMessages), &messages,
               sizeof messages);
    return messages;
}

bool FakeEngine::waitTimerMessages(std::uint32_t more, std::chrono::milliseconds timeout) const {
    const std::uint32_t wanted = timerMessages() + more;
    return pumpUntil([&] { return timerMessages() >= wanted; }, timeout);
}

bool FakeEngine::setConsoleVisible(bool visible) const {
    return writeField<std::uint32_t>(offsetof(EngineLog, consoleVisible), visible ? 1 : 0);
}

bool FakeEngine::requestUnload() const {
    return writeField<std::uint32_t>(offsetof(EngineLog, unloadRequest), 1);
}

bool FakeEngine::requestTable(fake_game::EngineTableKind kind) const {
    return writeField<std::uint32_t>(offsetof(EngineLog, tableRequest),
                                     static_cast<std::uint32_t>(kind));
}

std::optional<DrawnTick> FakeEngine::nextTick(std::chrono::milliseconds timeout) const {
    // The first draw started by a message of the DLL's timer that the game
    // took after now: it began after the call, and read the settings as they
    // are now. (A draw that has read them but not yet printed its first row
    // may already be under way: counting prints cannot tell it apart.)
    const std::uint32_t takenBefore = timerMessages();
    std::optional<DrawnTick> drawn;
    pumpUntil(
        [&] {
            const auto copy = log();
            if (!copy) return false;
            const std::uint32_t count = copy->printCount;
            const std::uint32_t oldest =
                count > fake_game::kEngineLogCapacity ? count - fake_game::kEngineLogCapacity : 0;
            for (std::uint32_t first = oldest; first + kLinesPerTick <= count; ++first) {
                const auto at = [&](std::uint32_t i) -> const EnginePrint& {
                    return copy->prints[(first + i) % fake_game::kEngineLogCapacity];
                };
                if (at(0).timerMessage <= takenBefore) continue;
                DrawnTick tick;
                for (std::uint32_t i = 0; i < kLinesPerTick; ++i) {
                    if (at(i).sequence != first + i + 1 || at(i).timerMessage != at(0).timerMessage)
                        return false;  // overwritten meanwhile, or not one whole draw
                    tick[i] = at(i);
                }
                drawn = tick;
                return true;
            }
            return false;
        },
        timeout);
    return drawn;
}

SharedDisplayBlock* sharedBlockOf(HMODULE plugin) {
    if (!plugin) return nullptr;
    auto* base = reinterpret_cast<unsigned char*>(plugin);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        char name[IMAGE_SIZEOF_SHORT_NAME + 1] = {};
        std::memcpy(name, section->Name, IMAGE_SIZEOF_SHORT_NAME);
        if (std::strcmp(name, kSharedSectionName) == 0)
            return reinterpret_cast<SharedDisplayBlock*>(base + section->VirtualAddress);
    }
    return nullptr;
}

}  // namespace vireo::test
