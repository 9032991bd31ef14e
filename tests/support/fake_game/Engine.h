#pragma once
// The fake game's engine: the function table at the engine-table landmark,
// the log of what the display printed (FakeEngineControl.h), and a message
// hook on the game thread that watches the timer messages of the DLL that
// the plug-in maps into the game.

#include "support/FakeEngineControl.h"

namespace vireo::test::fake_game {

struct EngineOptions {
    EngineTableKind table = EngineTableKind::Real;
};

// Takes argv[i] (and its value) when it is an engine option: answers false
// when it is not one, and sets `bad` when its value is missing or unknown.
bool parseEngineOption(int argc, char** argv, int& i, EngineOptions& options, bool& bad);

// Lays out the table and the log at their fixed addresses; false when an
// address is not free.
bool setUpEngine(const EngineOptions& options);
// On the thread that runs the game's window: records it in the log, and
// installs the message watch and the timer that serves unload requests there.
bool watchGameThread();

}  // namespace vireo::test::fake_game
