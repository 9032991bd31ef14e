// The macro values as the plug-in uses them: Winamp's answers through the
// global PlayerControl, and the local clock.

#include "macros/Macros.h"
#include "player/PlayerControl.h"
#include "common/ProcessWide.h"

namespace vireo {

namespace {

// Asks Winamp anew for every value; nothing is cached between rows or calls.
class PlayerMacroValues final : public MacroValues {
public:
    explicit PlayerMacroValues(const PlayerControl& player) noexcept : player_(player) {}
    std::string title() const override { return player_.getTitle(); }
    std::string positionText() const override { return player_.getPositionText(); }
    std::string lengthText() const override { return player_.getLengthText(); }
    int bitrate() const override { return player_.getBitrate(); }
    int sampleRate() const override { return player_.getSampleRate(); }
    int channels() const override { return player_.getChannels(); }
    std::string timeText() const override { return getTimeText(); }
    std::string shortDateText() const override { return getShortDateText(); }
    std::string dateText() const override { return getDateText(); }
    std::string versionText() const override { return player_.getVersionText(); }
    std::string artist() const override { return player_.getArtist(); }
    std::string songTitle() const override { return player_.getSongTitle(); }

private:
    const PlayerControl& player_;
};

}  // namespace

void expandMacros(std::string& text) {
    expandMacros(text, PlayerMacroValues(playerControl), MacroValueForm::AsIs);
}

void expandMacrosForConsole(std::string& text) {
    expandMacros(text, PlayerMacroValues(playerControl), MacroValueForm::ConsoleSafe);
}

}  // namespace vireo
