#include "player/PlayerControl.h"

#include <algorithm>

#include "player/TrackText.h"
#include "player/WinampIpc.h"

namespace vireo {

namespace {

// Winamp's replies are 32-bit ints; a 64-bit LRESULT carries them in its low half.
std::int32_t replyValue(LRESULT reply) noexcept {
    const auto bits = static_cast<std::uint32_t>(static_cast<std::uintptr_t>(reply));
    return bits <= 0x7FFFFFFFu ? static_cast<std::int32_t>(bits)
                               : static_cast<std::int32_t>(bits - 0x80000000u) - 0x7FFFFFFF - 1;
}

constexpr char kWinamp3FilePrefix[] = "file:";
constexpr int kStudioTextCapacity = 256;  // 255 characters and the terminator
constexpr int kWinamp3SampleRateKhz = 44;

}  // namespace

void PlayerControl::setWindow(HWND handle) noexcept {
    window_ = ::IsWindow(handle) ? handle : nullptr;
}

LRESULT PlayerControl::send(UINT message, WPARAM wParam, LPARAM lParam) const noexcept {
    // Winamp handles the message before SendMessageA returns: the plug-in runs
    // on the window's own thread. A destroyed window makes the send fail with 0.
    if (!window_) return 0;
    return ::SendMessageA(window_, message, wParam, lParam);
}

LRESULT PlayerControl::command(unsigned id) const noexcept { return send(WM_COMMAND, id, 0); }

LRESULT PlayerControl::request(int number, std::int32_t argument) const noexcept {
    // Sign-extended, so that a negative argument reads back as the same int.
    return send(WM_WA_IPC, static_cast<WPARAM>(static_cast<INT_PTR>(argument)), number);
}

LRESULT PlayerControl::repeatCommand(unsigned id, int count) const noexcept {
    // A count of 0 (also what a missing argument gives) steps once; a negative
    // count steps not at all.
    if (count == 0) return command(id);
    // Each step makes a playing Winamp open the next file before it answers,
    // so a count of thousands would hang its window for minutes. A count of
    // at least the playlist's length L steps L + count mod L times instead:
    // the same entry with repeat off (the end, which L steps reach) and on
    // (count mod L further on after a full round). An empty playlist gets
    // one step at most. A count of 1 is one step whatever the length.
    int steps = count;
    if (count > 1) {
        const int length = getPlaylistLength();
        if (length <= 0) {
            steps = 1;
        } else if (count >= length) {
            steps = length + count % length;
        }
    }
    LRESULT reply = 0;
    for (int i = 0; i < steps; ++i) reply = command(id);
    return reply;
}

std::uint32_t PlayerControl::version() const noexcept {
    return static_cast<std::uint32_t>(static_cast<std::uintptr_t>(request(IPC_GETVERSION))) &
           0xFFFFu;
}

bool PlayerControl::winamp3() const noexcept { return isWinamp3Family(version()); }

LRESULT PlayerControl::play() const noexcept { return command(WINAMP_BUTTON2); }
LRESULT PlayerControl::pause() const noexcept { return command(WINAMP_BUTTON3); }
LRESULT PlayerControl::stop() const noexcept { return command(WINAMP_BUTTON4); }
LRESULT PlayerControl::stopAfterCurrent() const noexcept { return command(WINAMP_BUTTON4_CTRL); }
LRESULT PlayerControl::playCd() const noexcept { return command(WINAMP_PLAY_AUDIOCD); }
LRESULT PlayerControl::nextTrack(int count) const noexcept {
    return repeatCommand(WINAMP_BUTTON5, count);
}
LRESULT PlayerControl::previousTrack(int count) const noexcept {
    return repeatCommand(WINAMP_BUTTON1, count);
}
LRESULT PlayerControl::playlistBeginning() const noexcept { return command(WINAMP_BUTTON1_CTRL); }
LRESULT PlayerControl::playlistEnd() const noexcept { return command(WINAMP_BUTTON5_CTRL); }

// Winamp keeps only the low byte of a volume (300 would play at 44) and
// takes -666 as a question: a volume beyond the range is held to its end.
LRESULT PlayerControl::setVolume(int volume) const noexcept {
    return request(IPC_SETVOLUME, std::clamp(volume, VOLUME_MIN, VOLUME_MAX));
}
// The question goes out as it is: setVolume's clamp would make it 0.
LRESULT PlayerControl::changeVolume(int step) const noexcept {
    const std::int32_t volume = replyValue(request(IPC_SETVOLUME, IPC_QUERY));
    return setVolume(std::clamp(volume, VOLUME_MIN, VOLUME_MAX) + step);
}
LRESULT PlayerControl::setShuffle(int value) const noexcept {
    return request(IPC_SET_SHUFFLE, value);
}
LRESULT PlayerControl::setRepeat(int value) const noexcept {
    return request(IPC_SET_REPEAT, value);
}

// Winamp 5 reads the panning as a signed char (128 would be hard left): it is
// held to -127..127 before the Winamp 3 family's shift.
LRESULT PlayerControl::setPanning(int value) const noexcept {
    const std::int32_t panning = std::clamp(value, PANNING_LEFT, PANNING_RIGHT);
    return request(IPC_SETPANNING, winamp3() ? winamp3Panning(panning) : panning);
}

LRESULT PlayerControl::seekToPercent(int percent) const noexcept {
    // The length reply is used as it comes in both families.
    const LRESULT reply = request(IPC_GETOUTPUTTIME, OUTPUTTIME_LENGTH);
    const std::int32_t length = replyValue(reply);
    if (length == IPC_UNKNOWN_LENGTH) return reply;
    if (percent < 0 || percent > 100) return reply;
    return request(IPC_JUMPTOTIME, seekTarget(percent, length));
}

LRESULT PlayerControl::fastForward(int seconds) const noexcept {
    // Neither the position nor the target is checked: a target before the
    // start or past the end is Winamp's to handle.
    const std::int32_t position = replyValue(request(IPC_GETOUTPUTTIME, OUTPUTTIME_POSITION));
    return request(IPC_JUMPTOTIME, skipTarget(position, seconds));
}

LRESULT PlayerControl::fastRewind(int seconds) const noexcept {
    return fastForward(negated(seconds));
}

LRESULT PlayerControl::clearPlaylist() const noexcept { return request(IPC_DELETE); }

void PlayerControl::loadFile(const std::string& typed) const {
    // A stream address is taken as typed; anything else must exist (a file or
    // a folder, relative names resolved against Winamp's current directory).
    const std::string name = loadName(typed);
    if (!isStreamAddress(name) && ::GetFileAttributesA(name.c_str()) == INVALID_FILE_ATTRIBUTES)
        return;

    // Winamp 3 wants every name, stream addresses too, as a "file:" location.
    const std::string handed = winamp3() ? kWinamp3FilePrefix + name : name;
    const bool replacePlaylist = pcmMode_ != 1;
    if (replacePlaylist) {
        clearPlaylist();
        stop();
    }
    COPYDATASTRUCT data{};
    data.dwData = IPC_PLAYFILE;
    data.cbData = static_cast<DWORD>(handed.size() + 1);
    data.lpData = const_cast<char*>(handed.c_str());
    send(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    // A folder without playable files, an empty playlist file or a shortcut
    // to nothing adds no entry, and Winamp's play with an empty playlist
    // opens its Open dialog, behind the game: only what was added is played.
    if (replacePlaylist && getPlaylistLength() > 0) {
        playlistBeginning();
        play();
    }
}

int PlayerControl::getPlayStatus() const noexcept { return replyValue(request(IPC_ISPLAYING)); }

LRESULT PlayerControl::preampOn() const noexcept {
    request(IPC_GETEQDATA, EQDATA_ENABLED);
    return request(IPC_SETEQDATA, 1);
}

LRESULT PlayerControl::preampOff() const noexcept {
    request(IPC_GETEQDATA, EQDATA_ENABLED);
    return request(IPC_SETEQDATA, 0);
}

LRESULT PlayerControl::setPreamp(int level) const noexcept {
    if (level < 0 || level > EQDATA_PREAMP_MAX) return 0;
    request(IPC_GETEQDATA, EQDATA_PREAMP);
    return request(IPC_SETEQDATA, level);
}

int PlayerControl::getPlaylistLength() const noexcept {
    return replyValue(request(IPC_GETLISTLENGTH));
}

int PlayerControl::getPlaylistPosition() const noexcept {
    return replyValue(request(IPC_GETLISTPOS));
}

std::string PlayerControl::getTitle() const {
    if (!winamp3()) {
        const int position = getPlaylistPosition();
        // The reply points into Winamp's own memory, in this very process, and
        // is only good until Winamp changes the playlist: copy it at once.
        // A reply in the lowest 64 KiB, such as the 1 a Winamp without this
        // request answers, is no address: no title, like 0.
        const LRESULT address = request(IPC_GETPLAYLISTTITLE, position);
        if (static_cast<std::uintptr_t>(address) < IPC_SMALLEST_ADDRESS) return {};
        return std::string(reinterpret_cast<const char*>(address));
    }
    // In the Winamp 3 family the title is taken from the caption of the
    // "STUDIO" window, which carries the entry number and times around it.
    HWND studio = ::FindWindowA(WINAMP3_STUDIO_CLASS, nullptr);
    if (!studio) return {};
    char text[kStudioTextCapacity] = {};
    const int length = ::GetWindowTextA(studio, text, kStudioTextCapacity);
    if (length <= 0) return {};
    return studioTitle(
        std::string(text, length < kStudioTextCapacity ? length : kStudioTextCapacity - 1));
}

std::string PlayerControl::getArtist() const { return artistOf(getTitle()); }

std::string PlayerControl::getSongTitle() const { return songTitleOf(getTitle()); }

std::string PlayerControl::getPositionText() const {
    return positionText(replyValue(request(IPC_GETOUTPUTTIME, OUTPUTTIME_POSITION)));
}

std::string PlayerControl::getLengthText() const {
    const bool isWinamp3 = winamp3();
    return lengthText(replyValue(request(IPC_GETOUTPUTTIME, OUTPUTTIME_LENGTH)), isWinamp3);
}

int PlayerControl::getBitrate() const noexcept {
    const bool isWinamp3 = winamp3();
    const std::int32_t reply = replyValue(request(IPC_GETINFO, GETINFO_BITRATE));
    return isWinamp3 ? winamp3Bitrate(static_cast<std::uint32_t>(reply)) : reply;
}

int PlayerControl::getSampleRate() const noexcept {
    const bool isWinamp3 = winamp3();
    const std::int32_t reply = replyValue(request(IPC_GETINFO, GETINFO_SAMPLERATE));
    // Winamp 3's reply to this request is no rate; the display shows 44 kHz.
    return isWinamp3 ? kWinamp3SampleRateKhz : reply;
}

int PlayerControl::getChannels() const noexcept {
    return replyValue(request(IPC_GETINFO, GETINFO_CHANNELS));
}

std::string PlayerControl::getVersionText() const { return versionText(version()); }

}  // namespace vireo
