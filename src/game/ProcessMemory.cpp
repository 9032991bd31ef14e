#include "game/ProcessMemory.h"

#include <windows.h>

#include "common/ProcessWide.h"
#include "common/UniqueResource.h"
#include "game/GameLink.h"
#include "game/GameLocator.h"
#include "game/MemoryScan.h"
#include "game/MemoryText.h"

namespace vireo {
namespace {

constexpr DWORD kReadAccess = PROCESS_VM_READ;
constexpr DWORD kWriteAccess = PROCESS_VM_OPERATION | PROCESS_VM_WRITE;
static_assert(kReadAccess == 0x10 && kWriteAccess == 0x28);

UniqueHandle openGame(DWORD access) noexcept {
    const DWORD pid = gameProcessId();
    if (pid == 0) return UniqueHandle{};
    return UniqueHandle{::OpenProcess(access, FALSE, pid)};
}

// The plain accesses answer true only when every byte moved.
bool readFromGame(std::uintptr_t address, void* buffer, std::size_t count) noexcept {
    UniqueHandle process = openGame(kReadAccess);
    if (!process) return false;
    SIZE_T got = 0;
    if (!::ReadProcessMemory(process.get(), reinterpret_cast<LPCVOID>(address), buffer, count,
                             &got) ||
        got != count)
        return false;
    return true;
}

bool writeToGame(std::uintptr_t address, const void* bytes, std::size_t count) noexcept {
    UniqueHandle process = openGame(kWriteAccess);
    if (!process) return false;
    SIZE_T put = 0;
    if (!::WriteProcessMemory(process.get(), reinterpret_cast<LPVOID>(address), bytes, count,
                              &put) ||
        put != count)
        return false;
    return true;
}

void noteScan(bool gotThrough, const CopyCounts& counts) noexcept {
    ConsoleReport& report = gameLink.report;
    report.scannedAt = ::GetTickCount();
    report.scanGotThrough = gotThrough;
    report.copiesFound = counts.found;
    report.copiesSilenced = counts.silenced;
}

}  // namespace

bool readGameMemory(std::uintptr_t address, void* buffer, std::size_t count, bool skipRefresh) {
    if (!skipRefresh) refreshLandmarks();
    return readFromGame(address, buffer, count);
}

bool writeGameMemory(std::uintptr_t address, const void* bytes, std::size_t count) {
    refreshLandmarks();
    return writeToGame(address, bytes, count);
}

BuildMarker readBuildMarker() {
    unsigned char marker[2] = {};
    // Without refreshing: the refresh is what asks for the marker.
    if (!readGameMemory(landmarks::kBuildMarkerAddress, marker, sizeof marker, true))
        return BuildMarker::Unreadable;
    const unsigned value = marker[0] | (marker[1] << 8);  // little-endian
    return value == landmarks::kBuildMarker2343 ? BuildMarker::Build2343 : BuildMarker::OtherBuild;
}

void refreshLandmarks() {
    const BuildMarker marker = readBuildMarker();
    gameLink.landmarkSet =
        marker == BuildMarker::Build2343 ? landmarks::kLandmarks2343 : landmarks::kLandmarksDefault;
    using Marker = ConsoleReport::Marker;
    gameLink.report.marker = marker == BuildMarker::Build2343    ? Marker::Build2343
                             : marker == BuildMarker::OtherBuild ? Marker::OtherBuild
                                                                 : Marker::Unreadable;
}

landmarks::LandmarkSet currentLandmarks() noexcept { return gameLink.landmarkSet; }

std::string readCapturedLine() {
    CapturedLineBuffer buffer{};
    refreshLandmarks();
    if (!readFromGame(gameLink.landmarkSet.capturedLine, buffer.data(), buffer.size())) return {};
    return capturedLineText(buffer);
}

bool clearCapturedLine() {
    const CapturedLineBuffer zeros{};
    refreshLandmarks();
    return writeToGame(gameLink.landmarkSet.capturedLine, zeros.data(), zeros.size());
}

bool readPlayerStateFlag() {
    unsigned char state = 0;
    return readGameMemory(landmarks::kPlayerStateAddress, &state, sizeof state) && state != 0;
}

// A pattern shorter than two bytes is refused without opening the game (see
// CopyFinder). The scan runs at the highest thread priority, and the priority
// goes back to normal on every way out, before the process handle is closed.
bool truncateAllCopies(const std::string& pattern) {
    const CopyFinder finder(pattern);
    if (!finder.searchable()) return false;
    const DWORD game = gameProcessId();
    if (game == 0) return false;
    UniqueHandle process{::OpenProcess(kScanAccess, FALSE, game)};
    if (!process) {
        noteScan(false, CopyCounts{});
        return false;
    }
    bool scanned = false;
    CopyCounts counts;
    {
        const HANDLE thread = ::GetCurrentThread();
        // Winamp may run its window thread above normal; it gets back what it had.
        const int callerPriority = ::GetThreadPriority(thread);
        ::SetThreadPriority(thread, THREAD_PRIORITY_HIGHEST);
        const ScopeExit restorePriority{[thread, callerPriority]() noexcept {
            if (callerPriority != THREAD_PRIORITY_ERROR_RETURN)
                ::SetThreadPriority(thread, callerPriority);
        }};
        scanned = truncateCopiesInProcess(process.get(), finder, counts);
    }
    // A game that ends during the walk ends the walk with it, as if at the
    // top of its address space: its regions can no longer be described.
    // Such a scan did not get through.
    const bool gotThrough = scanned && gameProcessId() == game;
    noteScan(gotThrough, counts);
    return gotThrough;
}

}  // namespace vireo
