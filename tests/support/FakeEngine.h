#pragma once
// The display's view of the fake game: its engine log (FakeEngineControl.h)
// read and steered across processes, and the plug-in's shared display block
// as the test process sees it through the loaded DLL.
//
//   FakeGameProcess game;                 // runs fake_game.exe as hl.exe
//   FakeEngine engine(game);
//   engine.setConsoleVisible(true);       // entry 70 answers 1 from now on
//   auto tick = engine.nextTick();        // six prints of one whole draw
//   EXPECT_EQ(tick->at(0).row, 11);

#include <windows.h>

#include <array>
#include <chrono>
#include <memory>
#include <optional>

#include "common/Timers.h"
#include "display/SharedDisplayBlock.h"
#include "support/FakeEngineControl.h"
#include "support/FakeGame.h"
#include "support/TestSupport.h"

namespace vireo::test {

using fake_game::EngineLog;
using fake_game::EnginePrint;
using DrawnTick = std::array<EnginePrint, 6>;

class FakeEngine {
public:
    explicit FakeEngine(const FakeGameProcess& game) : game_(game) {}

    // A copy of the whole log; null when it cannot be read.
    [[nodiscard]] std::unique_ptr<EngineLog> log() const;
    [[nodiscard]] std::uint32_t printCount() const;
    [[nodiscard]] bool vireoLoaded() const;
    // The DLL's timer messages the game thread has taken so far.
    [[nodiscard]] std::uint32_t timerMessages() const;
    bool setConsoleVisible(bool visible) const;
    // The fake frees gen_vireo.dll on its game thread, as the system does
    // once the hook is gone.
    bool requestUnload() const;
    // The fake puts another engine table in place on its game thread, between
    // two draws; log()->tableKind tells when it is done.
    bool requestTable(fake_game::EngineTableKind kind) const;

    // Pumps this thread, where the plug-in's host timers run, until the fake
    // has printed a whole draw that began after the call (at a message of the
    // DLL's timer taken after it), and answers its six prints; nothing when
    // none came within the timeout.
    [[nodiscard]] std::optional<DrawnTick> nextTick(
        std::chrono::milliseconds timeout = 2 * std::chrono::milliseconds(kGameDisplayPeriodMs) +
                                            kTimerSlack) const;
    // Pumps until the game has taken `more` further messages of the DLL's
    // timer; false when it had not within the timeout.
    bool waitTimerMessages(std::uint32_t more, std::chrono::milliseconds timeout) const;

private:
    template <typename T>
    bool writeField(std::size_t offset, T value) const {
        return game_.write(fake_game::kEngineLogAddress + offset, &value, sizeof value);
    }
    const FakeGameProcess& game_;
};

// The .shared section of the loaded plug-in: the slots the game side reads
// and the report it writes. Null when the module has no such section.
[[nodiscard]] SharedDisplayBlock* sharedBlockOf(HMODULE plugin);

}  // namespace vireo::test
