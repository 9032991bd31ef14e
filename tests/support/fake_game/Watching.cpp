#include <atomic>

#include "fake_game/FakeGame.h"

namespace vireo::test::fake_game {
namespace {

std::string gWatched;
ControlBlock* gWatchBlock = nullptr;

// Looks without opening the file, so that the writer's moves are never
// refused on its account.
DWORD WINAPI watchMain(void*) noexcept {
    ControlBlock& block = *gWatchBlock;
    for (;;) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!::GetFileAttributesExA(gWatched.c_str(), GetFileExInfoStandard, &data)) {
            ++block.watchMissing;
        } else {
            const std::uint32_t size = data.nFileSizeLow;
            std::uint32_t known = 0;
            while (known < block.watchSizeCount && known < kMaxWatchedSizes &&
                   block.watchSizes[known] != size)
                ++known;
            if (known == block.watchSizeCount) {
                if (known < kMaxWatchedSizes) block.watchSizes[known] = size;
                std::atomic_thread_fence(std::memory_order_release);
                ++block.watchSizeCount;
            }
        }
        ++block.watchPolls;
        ::Sleep(0);
    }
}

}  // namespace

bool watchFile(const std::string& path, ControlBlock& block) {
    gWatched = path;
    gWatchBlock = &block;
    // Left running on purpose: it ends with the process.
    const HANDLE thread = ::CreateThread(nullptr, 0, watchMain, nullptr, 0, nullptr);
    if (!thread) return false;
    ::CloseHandle(thread);
    return true;
}

}  // namespace vireo::test::fake_game
