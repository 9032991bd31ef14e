#pragma once
// Every game-link operation opens what it needs and releases it before it
// returns; these helpers count this process's handles around a call.

#include <gtest/gtest.h>
#include <windows.h>

namespace vireo::test {

inline DWORD handleCount() {
    DWORD count = 0;
    EXPECT_TRUE(::GetProcessHandleCount(::GetCurrentProcess(), &count));
    return count;
}

// Runs the operation once to let the system settle its one-time state (a
// library's first load), then again, counting handles around the second run.
template <typename Operation>
void expectNoHandleLeft(const char* what, Operation operation) {
    operation();
    const DWORD before = handleCount();
    operation();
    EXPECT_EQ(handleCount(), before) << what << " left a handle open";
}

}  // namespace vireo::test
