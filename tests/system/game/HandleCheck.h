#pragma once
// Every game-link operation opens what it needs and releases it before it
// returns; these helpers count this process's handles around a call.

#include <gtest/gtest.h>
#include <windows.h>

#include "support/ResourceCounts.h"

namespace vireo::test {

// Wine answers GetProcessHandleCount with 0, which made every comparison
// pass; the count comes from the system's handle table there.
inline long handleCount() {
    const long count = currentProcessResources().handles;
    EXPECT_GT(count, 0) << "no handle count";
    return count;
}

// Runs the operation once to let the system settle its one-time state (a
// library's first load), then again, counting handles around the second run.
template <typename Operation>
void expectNoHandleLeft(const char* what, Operation operation) {
    operation();
    const long before = handleCount();
    operation();
    EXPECT_EQ(handleCount(), before) << what << " left a handle open";
}

}  // namespace vireo::test
