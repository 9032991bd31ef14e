#include <cstring>

#include "fake_game/FakeGame.h"
#include "game/Landmarks.h"

namespace vireo::test::fake_game {
namespace {

// A game that loads and drops resources while it runs: a thread of its own
// keeps committing, re-protecting and freeing private regions, each holding
// copies of the unknown-command message, so a scan meets regions that change
// or vanish between its query and its read.
constexpr unsigned kChurnSlots = 24;
constexpr SIZE_T kChurnSmallest = 64 * 1024;
constexpr SIZE_T kChurnStep = 48 * 1024;
constexpr SIZE_T kChurnCopyStride = 4096;

DWORD WINAPI churn(void*) noexcept {
    void* slots[kChurnSlots] = {};
    SIZE_T sizes[kChurnSlots] = {};
    for (unsigned turn = 0;; ++turn) {
        const unsigned i = turn % kChurnSlots;
        if (slots[i]) {
            if (turn % 3 == 0) {
                DWORD old = 0;
                ::VirtualProtect(slots[i], sizes[i], PAGE_READONLY, &old);
                ::VirtualProtect(slots[i], sizes[i], PAGE_READWRITE, &old);
            }
            ::VirtualFree(slots[i], 0, MEM_RELEASE);
            slots[i] = nullptr;
        }
        sizes[i] = kChurnSmallest + kChurnStep * (turn % 7);
        slots[i] = ::VirtualAlloc(nullptr, sizes[i], MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        if (slots[i]) {
            auto* bytes = static_cast<char*>(slots[i]);
            for (SIZE_T at = 0; at + landmarks::kUnknownCommandText.size() < sizes[i];
                 at += kChurnCopyStride)
                std::memcpy(bytes + at, landmarks::kUnknownCommandText.data(),
                            landmarks::kUnknownCommandText.size());
        }
        if (i == 0) ::Sleep(1);
    }
}

}  // namespace

bool startRegionChurn() {
    const HANDLE thread = ::CreateThread(nullptr, 0, churn, nullptr, 0, nullptr);
    if (!thread) return false;
    ::CloseHandle(thread);
    return true;
}

}  // namespace vireo::test::fake_game
