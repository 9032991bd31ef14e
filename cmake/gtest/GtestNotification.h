#pragma once
// Included ahead of every GoogleTest source and test program. The shipped
// compiler's win32 thread model has no std::mutex or std::condition_variable,
// which GoogleTest's Notification is written with; this one waits on a Win32
// event instead. GoogleTest's own locks are Win32 critical sections already.

#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
public:
    Notification() : event_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { ::CloseHandle(event_); }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { ::SetEvent(event_); }
    void WaitForNotification() { ::WaitForSingleObject(event_, INFINITE); }

private:
    HANDLE event_;
};

}  // namespace testing::internal
