#include "support/FakeWinamp.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "player/WinampIpc.h"

namespace vireo::test {

namespace {

// Registers the class once per process; a second registration of the same
// class fails harmlessly.
void registerClass(const char* name, WNDPROC procedure) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.lpszClassName = name;
    ::RegisterClassA(&windowClass);
}

std::int32_t low32(std::uintptr_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    return bits <= 0x7FFFFFFFu ? static_cast<std::int32_t>(bits)
                               : static_cast<std::int32_t>(bits - 0x80000000u) - 0x7FFFFFFF - 1;
}

LRESULT replyOf(std::int64_t value) { return static_cast<LRESULT>(value); }

void writeBytes(std::ostream& out, const std::string& bytes) {
    out << '"';
    for (unsigned char c : bytes) {
        if (c == '"' || c == '\\') {
            out << '\\' << c;
        } else if (c >= 0x20 && c < 0x7F) {
            out << c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            out << escaped;
        }
    }
    out << '"';
}

}  // namespace

WinampMessage command(unsigned id) {
    WinampMessage message;
    message.kind = MessageKind::Command;
    message.id = id;
    return message;
}

WinampMessage request(int number, std::int32_t argument) {
    WinampMessage message;
    message.kind = MessageKind::Request;
    message.id = number;
    message.argument = argument;
    return message;
}

WinampMessage copyData(unsigned long kind, const std::string& text) {
    WinampMessage message;
    message.kind = MessageKind::CopyData;
    message.id = static_cast<std::int64_t>(kind);
    message.byteCount = static_cast<std::uint32_t>(text.size() + 1);
    message.bytes = text;
    message.bytes.push_back('\0');
    return message;
}

std::ostream& operator<<(std::ostream& out, const WinampMessage& message) {
    switch (message.kind) {
        case MessageKind::Command:
            out << "command " << message.id;
            break;
        case MessageKind::Request:
            out << "request " << message.id << " (" << message.argument << ")";
            break;
        case MessageKind::CopyData:
            out << "copy data " << message.id << ", " << message.byteCount << " bytes ";
            writeBytes(out, message.bytes);
            break;
    }
    return out;
}

void PrintTo(const WinampMessage& message, std::ostream* out) { *out << message; }

::testing::AssertionResult sameMessages(const std::vector<WinampMessage>& actual,
                                        const std::vector<WinampMessage>& expected) {
    std::size_t first = 0;
    while (first < actual.size() && first < expected.size() && actual[first] == expected[first])
        ++first;
    if (first == actual.size() && first == expected.size()) return ::testing::AssertionSuccess();

    std::ostringstream report;
    report << "messages differ from row " << first << " (" << actual.size() << " received, "
           << expected.size() << " expected)\n";
    const std::size_t rows = std::max(actual.size(), expected.size());
    for (std::size_t row = 0; row < rows; ++row) {
        report << (row == first ? "> " : "  ") << row << ": received ";
        if (row < actual.size()) {
            report << actual[row];
        } else {
            report << "nothing";
        }
        report << " | expected ";
        if (row < expected.size()) {
            report << expected[row];
        } else {
            report << "nothing";
        }
        report << '\n';
    }
    return ::testing::AssertionFailure() << report.str();
}

FakeWinamp::FakeWinamp() {
    registerClass(vireo::WINAMP_WINDOW_CLASS, windowProc);
    // Hidden, like a Winamp started minimised; FindWindow is never needed for
    // it, since the plug-in is handed its window.
    window_ = ::CreateWindowA(vireo::WINAMP_WINDOW_CLASS, "Winamp", WS_OVERLAPPEDWINDOW, 0, 0, 275,
                              116, nullptr, nullptr, ::GetModuleHandleA(nullptr), this);
}

FakeWinamp::~FakeWinamp() { destroy(); }

void FakeWinamp::destroy() {
    if (window_ && ::IsWindow(window_)) ::DestroyWindow(window_);
}

void FakeWinamp::clearTitle() {
    title_.reset();
    titles_.clear();
}

void FakeWinamp::setReply(int number, LRESULT reply) {
    replies_[number] = [reply](WPARAM) { return reply; };
}

void FakeWinamp::setReply(int number, std::function<LRESULT(WPARAM)> answer) {
    replies_[number] = std::move(answer);
}

std::int32_t FakeWinamp::equaliser(int entry) const {
    if (entry < 0 || entry >= static_cast<int>(equaliser_.size())) return 0;
    return equaliser_[static_cast<std::size_t>(entry)];
}

void FakeWinamp::setEqualiser(int entry, std::int32_t value) {
    if (entry >= 0 && entry < static_cast<int>(equaliser_.size()))
        equaliser_[static_cast<std::size_t>(entry)] = value;
}

std::vector<WinampMessage> FakeWinamp::messages() const {
    std::vector<WinampMessage> result;
    result.reserve(log_.size());
    for (const auto& received : log_) result.push_back(received.message);
    return result;
}

std::vector<unsigned> FakeWinamp::commands() const {
    std::vector<unsigned> result;
    for (const auto& received : log_)
        if (received.message.kind == MessageKind::Command)
            result.push_back(static_cast<unsigned>(received.message.id));
    return result;
}

std::vector<std::int32_t> FakeWinamp::requests(int number) const {
    std::vector<std::int32_t> result;
    for (const auto& received : log_)
        if (received.message.kind == MessageKind::Request && received.message.id == number)
            result.push_back(received.message.argument);
    return result;
}

std::vector<std::int32_t> FakeWinamp::volumes() const { return requests(vireo::IPC_SETVOLUME); }

LRESULT CALLBACK FakeWinamp::windowProc(HWND window, UINT message, WPARAM wParam,
                                        LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(window, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<FakeWinamp*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self) {
        try {
            switch (message) {
                case WM_COMMAND:
                    return self->onCommand(wParam, lParam);
                case vireo::WM_WA_IPC:
                    return self->onRequest(wParam, lParam);
                case WM_COPYDATA:
                    return self->onCopyData(wParam, lParam);
                default:
                    break;
            }
        } catch (...) {
            return 0;
        }
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

LRESULT FakeWinamp::onCommand(WPARAM wParam, LPARAM lParam) {
    ReceivedMessage received;
    received.message = command(static_cast<unsigned>(wParam));
    received.message.id = static_cast<std::int64_t>(wParam);
    received.type = WM_COMMAND;
    received.wParam = wParam;
    received.lParam = lParam;
    received.at = std::chrono::steady_clock::now();
    log_.push_back(received);

    switch (wParam) {
        case vireo::WINAMP_BUTTON2:
            // Main_OnButton2: stopped with nothing to play, the Open-file dialog.
            if (playStatus_ == vireo::IPC_STOPPED && playlist_.empty()) {
                effects_.emplace_back(kFileDialogOpened);
                break;
            }
            // Main_OnButton2: paused it resumes, else it starts the current entry afresh.
            if (playStatus_ == vireo::IPC_PAUSED) {
                playStatus_ = vireo::IPC_PLAYING;
            } else {
                startTrack();
            }
            break;
        case vireo::WINAMP_BUTTON3:
            // Main_OnButton3: pause toggles while playing or paused; stopped, nothing.
            if (playStatus_ == vireo::IPC_PLAYING) {
                playStatus_ = vireo::IPC_PAUSED;
            } else if (playStatus_ == vireo::IPC_PAUSED) {
                playStatus_ = vireo::IPC_PLAYING;
            }
            break;
        case vireo::WINAMP_BUTTON4:
            playStatus_ = vireo::IPC_STOPPED;
            break;
        case vireo::WINAMP_BUTTON4_CTRL:
            // Main_OnButton4: stop after current toggles while playing or paused.
            if (playStatus_ != vireo::IPC_STOPPED) stopAfterCurrent_ = !stopAfterCurrent_;
            break;
        case vireo::WINAMP_BUTTON5:
            stepPlaylist(1);
            break;
        case vireo::WINAMP_BUTTON1:
            stepPlaylist(-1);
            break;
        case vireo::WINAMP_BUTTON1_CTRL:
            jumpToEntry(0);
            break;
        case vireo::WINAMP_BUTTON5_CTRL:
            if (!playlist_.empty()) jumpToEntry(static_cast<int>(playlist_.size()) - 1);
            break;
        default:
            break;
    }
    return 0;
}

void FakeWinamp::setPlaylist(const std::vector<std::string>& titles) {
    playlist_ = titles;
    for (std::size_t i = 0; i < titles.size(); ++i) titles_[static_cast<int>(i)] = titles[i];
}

void FakeWinamp::setTitle(const std::string& title) {
    title_ = title;
    holdEntry(playlistPosition_, title);
}

void FakeWinamp::setTitleAt(int index, const std::string& title) {
    titles_[index] = title;
    holdEntry(index, title);
}

void FakeWinamp::holdEntry(int index, const std::string& name) {
    if (index < 0) return;
    while (static_cast<int>(playlist_.size()) <= index) playlist_.push_back(name);
}

// StartPlaying: the entry plays from its beginning, and a stop after the
// current track set for the one before is cleared.
void FakeWinamp::startTrack() {
    playStatus_ = vireo::IPC_PLAYING;
    position_ = 0;
    stopAfterCurrent_ = false;
}

// Main_OnButton1 and Main_OnButton5 with ctrl: the first and last entry start
// playing while playing or paused; stopped, Winamp stays stopped.
void FakeWinamp::jumpToEntry(int index) {
    playlistPosition_ = index;
    if (playStatus_ != vireo::IPC_STOPPED) startTrack();
}

// Main_OnButton5 and Main_OnButton1: next and previous stop at the ends, or
// wrap to the other end with repeat on; the new entry starts while playing or
// paused, and stopped, Winamp stays stopped on it.
void FakeWinamp::stepPlaylist(int delta) {
    if (playlist_.empty()) return;
    const int last = static_cast<int>(playlist_.size()) - 1;
    int next = playlistPosition_ + delta;
    if (next < 0 || next > last) {
        if (!repeat_) return;
        next = next < 0 ? last : 0;
    }
    playlistPosition_ = next;
    if (playStatus_ != vireo::IPC_STOPPED) startTrack();
}

LRESULT FakeWinamp::onRequest(WPARAM wParam, LPARAM lParam) {
    const auto number = static_cast<int>(lParam);
    const std::int32_t argument = low32(wParam);
    ReceivedMessage received;
    received.message = request(number, argument);
    received.message.id = static_cast<std::int64_t>(lParam);
    received.type = vireo::WM_WA_IPC;
    received.wParam = wParam;
    received.lParam = lParam;
    received.at = std::chrono::steady_clock::now();
    log_.push_back(received);

    const LRESULT reply = builtInReply(number, argument, wParam);
    const auto overridden = replies_.find(number);
    if (overridden != replies_.end()) return overridden->second(wParam);
    return reply;
}

// Main_OnIPC, request by request.
LRESULT FakeWinamp::builtInReply(int number, std::int32_t argument, WPARAM) {
    switch (number) {
        case vireo::IPC_GETVERSION:
            return replyOf(version_);
        case vireo::IPC_DELETE: {
            // IPC_DELETE answers 1 when there were entries to remove.
            const LRESULT removed = playlist_.empty() ? 0 : 1;
            playlist_.clear();
            titles_.clear();
            playlistPosition_ = 0;
            return removed;
        }
        case vireo::IPC_ISPLAYING:
            return replyOf(playStatus_);
        case vireo::IPC_GETOUTPUTTIME:
            // IPC_GETOUTPUTTIME: a stopped Winamp has no position.
            if (argument == vireo::OUTPUTTIME_POSITION)
                return playStatus_ == vireo::IPC_STOPPED ? -1 : replyOf(position_);
            if (argument == vireo::OUTPUTTIME_LENGTH) return replyOf(length_);
            return 0;
        case vireo::IPC_JUMPTOTIME:
            // IPC_JUMPTOTIME: -1 unless playing (paused counts); before the start is the start.
            if (playStatus_ == vireo::IPC_STOPPED) return -1;
            // IPC_JUMPTOTIME: -1 when the input plug-in cannot seek the entry (a stream).
            if (playingStream()) return -1;
            position_ = std::max(argument, 0);
            return 0;
        case vireo::IPC_SETVOLUME:
            // IPC_SETVOLUME: -666 asks for the volume; any other value sets its low byte.
            if (argument == vireo::IPC_QUERY) return replyOf(volume_);
            volume_ = static_cast<std::uint8_t>(argument);
            return 0;
        case vireo::IPC_SETPANNING: {
            // IPC_SETPANNING: -666 asks; any other value is a signed char held to -127..127.
            if (argument == vireo::IPC_QUERY) return replyOf(panning_);
            const std::int32_t low = argument & 0xFF;
            panning_ = std::clamp(low > 0x7F ? low - 0x100 : low, vireo::PANNING_LEFT,
                                  vireo::PANNING_RIGHT);
            return 0;
        }
        case vireo::IPC_GETLISTLENGTH:
            return replyOf(static_cast<std::int64_t>(playlist_.size()));
        case vireo::IPC_GETLISTPOS:
            return replyOf(playlistPosition_);
        case vireo::IPC_GETINFO:
            if (argument == vireo::GETINFO_SAMPLERATE) return replyOf(sampleRate_);
            if (argument == vireo::GETINFO_BITRATE) return replyOf(bitrate_);
            if (argument == vireo::GETINFO_CHANNELS) return replyOf(channels_);
            return 0;
        case vireo::IPC_GETEQDATA:
            equaliserEntry_ = argument;
            return replyOf(equaliser(argument));
        case vireo::IPC_SETEQDATA: {
            // IPC_SETEQDATA: the entry the last 127 chose (or 0xDBnn.... names
            // its own) takes the value's low byte.
            int entry = equaliserEntry_;
            if ((static_cast<std::uint32_t>(argument) & 0xFF000000u) == 0xDB000000u)
                entry = (argument >> 16) & 0xFF;
            setEqualiser(entry, argument & 0xFF);
            return 0;
        }
        case vireo::IPC_GETPLAYLISTTITLE: {
            // IPC_GETPLAYLISTTITLE: 0 for an index outside the playlist.
            if (argument < 0 || argument >= static_cast<std::int32_t>(playlist_.size())) return 0;
            const auto own = titles_.find(argument);
            if (own != titles_.end()) return reinterpret_cast<LRESULT>(own->second.c_str());
            if (title_) return reinterpret_cast<LRESULT>(title_->c_str());
            return 0;
        }
        case vireo::IPC_SET_SHUFFLE:
            // IPC_SET_SHUFFLE and IPC_SET_REPEAT: any non-zero value is on; both answer 1.
            shuffle_ = argument != 0 ? 1 : 0;
            return 1;
        case vireo::IPC_SET_REPEAT:
            repeat_ = argument != 0 ? 1 : 0;
            return 1;
        default:
            // Main_OnIPC answers 1 to a request it does not know.
            return vireo::IPC_UNKNOWN_REPLY;
    }
}

LRESULT FakeWinamp::onCopyData(WPARAM wParam, LPARAM lParam) {
    ReceivedMessage received;
    received.type = WM_COPYDATA;
    received.wParam = wParam;
    received.lParam = lParam;
    received.at = std::chrono::steady_clock::now();
    received.message.kind = MessageKind::CopyData;
    // The record and its bytes belong to the sender and last only for this call.
    if (const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam)) {
        received.message.id = static_cast<std::int64_t>(data->dwData);
        received.message.byteCount = data->cbData;
        if (data->lpData && data->cbData > 0)
            received.message.bytes.assign(static_cast<const char*>(data->lpData), data->cbData);
        if (data->dwData == vireo::IPC_PLAYFILE) appendThing(received.message.bytes.c_str());
    }
    log_.push_back(std::move(received));
    return TRUE;
}

namespace {

bool isStream(const std::string& name) { return name.find("://") != std::string::npos; }

// The handful of kinds the double plays; Winamp asks its input plug-ins.
bool playable(const std::string& name) {
    static const char* const kinds[] = {".mp3", ".ogg", ".flac", ".wav", ".m4a", ".aac", ".wma"};
    const auto dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    std::string kind = name.substr(dot);
    for (char& c : kind) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return std::find(std::begin(kinds), std::end(kinds), kind) != std::end(kinds);
}

bool isPlaylistFile(const std::string& name) {
    const auto dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    return _stricmp(name.c_str() + dot, ".m3u") == 0 || _stricmp(name.c_str() + dot, ".m3u8") == 0;
}

// The title Winamp gives an entry as it is added, before any tag is read:
// the address of a stream, else the file name without folder and extension.
std::string entryTitle(const std::string& name) {
    if (isStream(name)) return name;
    const auto slash = name.find_last_of("\\/");
    std::string title = slash == std::string::npos ? name : name.substr(slash + 1);
    const auto dot = title.rfind('.');
    if (dot != std::string::npos && dot > 0) title.resize(dot);
    return title.empty() ? name : title;
}

bool endsInSeparator(const std::string& name) {
    return !name.empty() && (name.back() == '\\' || name.back() == '/');
}

bool isDriveRoot(const std::string& name) { return name.size() == 3 && name[1] == ':'; }

}  // namespace

bool FakeWinamp::playingStream() const {
    const auto index = static_cast<std::size_t>(playlistPosition_);
    return playlistPosition_ >= 0 && index < playlist_.size() && isStream(playlist_[index]);
}

// PlayList_appendthing titles each entry it adds (request 212 answers it).
void FakeWinamp::appendEntry(const std::string& name, const std::string& title) {
    titles_[static_cast<int>(playlist_.size())] = title;
    playlist_.push_back(name);
}

// PlayList_appendthing: a folder adds the playable files in it and below
// (PlayList_adddir), a playlist file its entries, anything else itself; an
// empty folder or playlist file adds nothing.
void FakeWinamp::appendThing(const std::string& name) {
    // PlayList_appendthing: FindFirstFileW fails for a name ending in a
    // backslash, so it is appended as one (dead) file; a drive's root is not.
    if (endsInSeparator(name) && !isDriveRoot(name)) {
        appendEntry(name, entryTitle(name));
        return;
    }
    const DWORD attributes = ::GetFileAttributesA(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        WIN32_FIND_DATAA found{};
        HANDLE search = ::FindFirstFileA((name + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return;
        do {
            const std::string entry = found.cFileName;
            if (entry == "." || entry == "..") continue;
            const std::string path = name + "\\" + entry;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                appendThing(path);
            } else if (playable(entry)) {
                appendEntry(path, entryTitle(path));
            }
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
        return;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && isPlaylistFile(name)) {
        // loadm3u: an #EXTINF line's title, after its comma, names the next entry.
        constexpr char kExtInf[] = "#EXTINF:";
        std::ifstream list(name);
        std::string line;
        std::string extInfTitle;
        while (std::getline(list, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.rfind(kExtInf, 0) == 0) {
                const auto comma = line.find(',');
                extInfTitle = comma == std::string::npos ? std::string{} : line.substr(comma + 1);
            } else if (!line.empty() && line[0] != '#') {
                appendEntry(line, extInfTitle.empty() ? entryTitle(line) : extInfTitle);
                extInfTitle.clear();
            }
        }
        return;
    }
    appendEntry(name, entryTitle(name));
}

FakeStudioWindow::FakeStudioWindow(const std::string& text) {
    registerClass(vireo::WINAMP3_STUDIO_CLASS, ::DefWindowProcA);
    window_ = ::CreateWindowA(vireo::WINAMP3_STUDIO_CLASS, text.c_str(), WS_OVERLAPPEDWINDOW, 0, 0,
                              200, 100, nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
}

FakeStudioWindow::~FakeStudioWindow() {
    if (window_) ::DestroyWindow(window_);
}

void FakeStudioWindow::setText(const std::string& text) { ::SetWindowTextA(window_, text.c_str()); }

}  // namespace vireo::test
