#pragma once
// What Vireo knows of Winamp, the game, the console commands, the in-game
// display, the script, auto-pause and the settings, as plain text lines a
// player can act on: the options window's Status dialog shows the long form,
// "Vireo Status" sends the short one to the game console.

#include <string>

namespace vireo {

enum class StatusForm {
    Window,   // every fact, for the Status dialog and a support request
    Console,  // the same facts, shorter, for one datagram of the help's channel
    File,     // the console form with moments as clock times, for a cfg file that
              // changes only when a fact does
};

// Lines end with a line feed. Asks the system only for what the timers do not
// already note (the game's processes when no game window is found, say).
[[nodiscard]] std::string statusReport(StatusForm form);

}  // namespace vireo
