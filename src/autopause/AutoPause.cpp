#include "autopause/AutoPause.h"

#include "autopause/Fade.h"
#include "game/GameLink.h"
#include "game/GameLocator.h"
#include "game/Landmarks.h"
#include "game/ProcessMemory.h"
#include "player/PlayerControl.h"
#include "player/WinampIpc.h"
#include "common/ProcessWide.h"
#include "settings/Settings.h"

namespace vireo {

namespace {

AutoPauseReport report;

void fade(std::int32_t from, std::int32_t to, FadeDirection direction) {
    for (std::int32_t volume : fadeSteps(from, to, direction)) {
        playerControl.setVolume(volume);
        ::Sleep(kFadeStepDelayMs);
    }
}

// Answers false when the state must not be remembered yet: Winamp was paused
// and has just been told to play, so the next tick fades.
bool actOnChange(AutoPauseMode mode, bool alive) {
    if (mode == AutoPauseMode::Fade) {
        const std::int32_t fadeIn = fadeVolume(FadeinTarget.read());
        const std::int32_t fadeOut = fadeVolume(FadeoutTarget.read());
        if (playerControl.getPlayStatus() == IPC_PAUSED) {
            playerControl.play();
            return false;
        }
        // A fade starts from the other direction's target, not from the
        // volume Winamp has now.
        if (alive)
            fade(fadeIn, fadeOut, FadeDirection::Down);
        else
            fade(fadeOut, fadeIn, FadeDirection::Up);
    } else if (mode == AutoPauseMode::Pause) {
        const int status = playerControl.getPlayStatus();
        if (!alive && status == IPC_PAUSED) playerControl.play();
        if (alive && status == IPC_PLAYING) playerControl.pause();
    }
    return true;
}

}  // namespace

// Before the new mode is stored, the remembered player state is set so that
// the mode acts at once (the opposite of the current state) or only at the
// player's next death or spawn (the current state, with DelayAutoPause 1).
void setAutoPause(AutoPauseMode mode) {
    const bool alive = readPlayerStateFlag();
    rememberedAlive = DelayAutoPause.read() == 1 ? alive : !alive;
    EnableAutoPause.write(static_cast<std::int32_t>(mode));
}

// The player-state byte is nonzero while the player is alive: the music
// fades up or resumes when he dies, and fades down or pauses when he spawns.
const AutoPauseReport& autoPauseReport() noexcept { return report; }

void CALLBACK autoPauseTick(HWND, UINT, UINT_PTR, DWORD) noexcept {
    try {
        HWND game = findGameWindow();
        if (!game) return;
        report.counterStrike = gameLink.liblistGame() == landmarks::kCounterStrikeGameName;
        if (!report.counterStrike) return;
        const bool alive = readPlayerStateFlag();
        report.alive = alive;
        report.readAt = ::GetTickCount();
        if (game != autoPauseWindow) {
            // A new game: auto-pause starts off until the player turns it on.
            rememberedAlive = alive;
            EnableAutoPause.write(static_cast<std::int32_t>(AutoPauseMode::Off));
            autoPauseWindow = game;
        }
        const auto mode = static_cast<AutoPauseMode>(EnableAutoPause.read());
        if (mode == AutoPauseMode::Off || alive == rememberedAlive) return;
        if (actOnChange(mode, alive)) rememberedAlive = alive;
    } catch (...) {
    }
}

}  // namespace vireo
