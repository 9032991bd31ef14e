#pragma once
// A Winamp main window for tests, living in the test process and thread.
//
//   FakeWinamp winamp;                    // hidden top-level "Winamp v1.x" window
//   winamp.setVersion(0x3000);            // replies are set per test
//   winamp.setTitle("Artist - Song");     // request 212 answers a pointer to this text
//   PlayerControl player;
//   player.setWindow(winamp.handle());
//   player.loadFile("track-0001.mp3");
//   EXPECT_TRUE(sameMessages(winamp.messages(), {
//       request(IPC_GETVERSION), request(IPC_DELETE), command(WINAMP_BUTTON4),
//       copyData(IPC_PLAYFILE, "file:track-0001.mp3"), command(WINAMP_BUTTON1_CTRL),
//       command(WINAMP_BUTTON2)}));
//
// Every WM_COMMAND, WM_USER request and WM_COPYDATA the window receives is
// recorded in order with the time it arrived (log()); messages() gives the
// same rows without times for comparisons, and commands(), requests(n) and
// volumes() pick out one kind. A WM_COPYDATA payload is only valid during the
// send, so its bytes are copied as it arrives.
//
// Like Winamp 5.9.2, the window keeps a little state that the messages change,
// and answers each message as that version's source does (see onCommand and
// builtInReply, each case named after the Winamp function it follows): play
// (40045) starts, resumes, or restarts a playing track, and with an empty
// playlist while stopped opens Winamp's Open-file dialog, which the double
// records in effects() as kFileDialogOpened; pause (40046) toggles; stop after
// current (40157) toggles while playing or paused, and is cleared whenever a
// track starts; the first and last entry (40154, 40158) move, and start the new
// entry while playing or paused; 40048 and 40044 step, stopping at the ends or,
// with repeat on, wrapping, and start the new entry while playing or paused;
// request 105 mode 0 answers -1 while stopped; 106 answers -1 while stopped or
// playing a stream and moves the position while playing or paused; 122 keeps
// the low byte of the volume and 123 a panning of -127..127, and -666 asks for
// either; 124 answers the playlist's length; 212 answers 0 for an index outside
// the playlist, and for an entry added by copy data the title Winamp gives it
// (the file name without folder and extension, the address, or the #EXTINF
// title); 252 and 253 count any non-zero value as on and answer 1; 127 selects
// the equaliser entry that 128 sets to the value's low byte (and answers its
// value); 101 empties the playlist, answering 1 when it removed entries;
// copy-data kind 100 appends a file, the playable files of a folder or the
// entries of an .m3u (none for an empty folder or list), and a name ending in a
// backslash as one file; any request it does not know answers 1. Every setter
// can put that state where a test wants it, and setReply overrides the answer
// to any request outright. A new double answers as a stopped Winamp 2.91 with
// an empty playlist: version 0x2091, play status 0, position 0, length -1, no
// entry (request 212 answers 0), 44 kHz, 128 kbit/s, two channels, volume 255.
//
// The window has to be pumped by nobody: PlayerControl sends from the same
// thread, so each message is a direct call into the window procedure.

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vireo::test {

enum class MessageKind { Command, Request, CopyData };

// What Winamp shows instead of acting: a play with nothing to play.
inline constexpr char kFileDialogOpened[] = "file dialog opened";

// One message as a 32-bit Winamp sees it.
struct WinampMessage {
    MessageKind kind = MessageKind::Command;
    // The command identifier (all of wParam), the request number (lParam),
    // or the copy-data kind.
    std::int64_t id = 0;
    // The request's argument as Winamp's 32-bit int; 0 for the other kinds.
    std::int32_t argument = 0;
    // Copy data only: the byte count and the bytes handed over.
    std::uint32_t byteCount = 0;
    std::string bytes;

    friend bool operator==(const WinampMessage& a, const WinampMessage& b) {
        return a.kind == b.kind && a.id == b.id && a.argument == b.argument &&
               a.byteCount == b.byteCount && a.bytes == b.bytes;
    }
    friend bool operator!=(const WinampMessage& a, const WinampMessage& b) { return !(a == b); }
};

WinampMessage command(unsigned id);
WinampMessage request(int number, std::int32_t argument = 0);
// The text with its terminating zero, as a loadFile hands it over.
WinampMessage copyData(unsigned long kind, const std::string& text);

std::ostream& operator<<(std::ostream& out, const WinampMessage& message);
void PrintTo(const WinampMessage& message, std::ostream* out);

// Both lists, row by row, with the first differing row marked.
::testing::AssertionResult sameMessages(const std::vector<WinampMessage>& actual,
                                        const std::vector<WinampMessage>& expected);

// A message as it arrived, with the raw parameters and the time.
struct ReceivedMessage {
    WinampMessage message;
    UINT type = 0;  // WM_COMMAND, WM_USER or WM_COPYDATA
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::chrono::steady_clock::time_point at;
};

class FakeWinamp {
public:
    FakeWinamp();
    ~FakeWinamp();
    FakeWinamp(const FakeWinamp&) = delete;
    FakeWinamp& operator=(const FakeWinamp&) = delete;

    [[nodiscard]] HWND handle() const { return window_; }
    // The window goes away; its handle stays behind as a stale one.
    void destroy();

    // Replies.
    void setVersion(std::uint32_t version) { version_ = version; }
    void setPlayStatus(int status) { playStatus_ = status; }
    void setPosition(std::int32_t milliseconds) { position_ = milliseconds; }
    // Seconds for Winamp 2, microseconds for Winamp 3; -1 when unknown.
    void setLength(std::int32_t length) { length_ = length; }
    void setPlaylistPosition(int index) { playlistPosition_ = index; }
    // Request 212 answers the address of this text (kept alive here) for any
    // index without a title of its own, or 0 after clearTitle().
    // The playlist grows to hold the entry: Winamp answers 0 outside it.
    void setTitle(const std::string& title);
    void setTitleAt(int index, const std::string& title);
    // A playlist of these titles (each entry's file name is its title).
    void setPlaylist(const std::vector<std::string>& titles);
    void clearTitle();
    void setSampleRate(std::int32_t kHz) { sampleRate_ = kHz; }
    void setBitrate(std::int64_t reply) { bitrate_ = reply; }
    void setChannels(std::int32_t channels) { channels_ = channels; }
    // Answers request `number` with `reply` whatever its argument, after
    // the state change the request makes.
    void setReply(int number, LRESULT reply);
    void setReply(int number, std::function<LRESULT(WPARAM)> answer);

    // State the messages changed.
    [[nodiscard]] int playStatus() const { return playStatus_; }
    [[nodiscard]] std::int32_t position() const { return position_; }
    [[nodiscard]] int playlistPosition() const { return playlistPosition_; }
    [[nodiscard]] std::int32_t volume() const { return volume_; }
    void setVolume(std::int32_t volume) { volume_ = volume; }
    [[nodiscard]] std::int32_t panning() const { return panning_; }
    [[nodiscard]] std::int32_t shuffle() const { return shuffle_; }
    [[nodiscard]] std::int32_t repeat() const { return repeat_; }
    [[nodiscard]] bool stopsAfterCurrent() const { return stopAfterCurrent_; }
    [[nodiscard]] std::int32_t equaliser(int entry) const;
    void setEqualiser(int entry, std::int32_t value);
    [[nodiscard]] const std::vector<std::string>& playlist() const { return playlist_; }

    // What arrived.
    [[nodiscard]] const std::vector<ReceivedMessage>& log() const { return log_; }
    [[nodiscard]] std::vector<WinampMessage> messages() const;
    [[nodiscard]] std::vector<unsigned> commands() const;
    // The arguments of every request `number`, in order.
    [[nodiscard]] std::vector<std::int32_t> requests(int number) const;
    [[nodiscard]] std::vector<std::int32_t> volumes() const;
    // What Winamp did that no reply shows, such as kFileDialogOpened.
    [[nodiscard]] const std::vector<std::string>& effects() const { return effects_; }
    void clear() {
        log_.clear();
        effects_.clear();
    }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    LRESULT onCommand(WPARAM wParam, LPARAM lParam);
    LRESULT onRequest(WPARAM wParam, LPARAM lParam);
    LRESULT onCopyData(WPARAM wParam, LPARAM lParam);
    LRESULT builtInReply(int number, std::int32_t argument, WPARAM wParam);
    void stepPlaylist(int delta);
    void jumpToEntry(int index);
    void startTrack();
    void holdEntry(int index, const std::string& name);
    void appendThing(const std::string& name);
    void appendEntry(const std::string& name, const std::string& title);
    [[nodiscard]] bool playingStream() const;

    HWND window_ = nullptr;
    std::uint32_t version_ = 0x2091;
    int playStatus_ = 0;
    std::int32_t position_ = 0;
    std::int32_t length_ = -1;
    int playlistPosition_ = 0;
    std::optional<std::string> title_;
    std::map<int, std::string> titles_;
    std::int32_t sampleRate_ = 44;
    std::int64_t bitrate_ = 128;
    std::int32_t channels_ = 2;
    std::int32_t volume_ = 255;
    std::int32_t panning_ = 0;
    std::int32_t shuffle_ = 0;
    std::int32_t repeat_ = 0;
    bool stopAfterCurrent_ = false;
    std::array<std::int32_t, 13> equaliser_{};
    int equaliserEntry_ = 0;
    std::vector<std::string> playlist_;
    std::map<int, std::function<LRESULT(WPARAM)>> replies_;
    std::vector<ReceivedMessage> log_;
    std::vector<std::string> effects_;
};

// A top-level window of Winamp 3's class "STUDIO" whose caption holds the
// title. FindWindow sees it machine-wide: use it in system tests only.
class FakeStudioWindow {
public:
    explicit FakeStudioWindow(const std::string& text = "");
    ~FakeStudioWindow();
    FakeStudioWindow(const FakeStudioWindow&) = delete;
    FakeStudioWindow& operator=(const FakeStudioWindow&) = delete;

    [[nodiscard]] HWND handle() const { return window_; }
    void setText(const std::string& text);

private:
    HWND window_ = nullptr;
};

}  // namespace vireo::test
