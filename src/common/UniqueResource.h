#pragma once
// One small move-only owner for every kind of Win32 handle. The "no handle"
// value is part of the type, because the APIs disagree: OpenProcess fails
// with NULL, CreateToolhelp32Snapshot and CreateFile with INVALID_HANDLE_VALUE.

#include <winsock2.h>
#include <windows.h>

#include <utility>

namespace vireo {

template <typename T, auto Close, T Invalid>
class UniqueResource {
public:
    UniqueResource() noexcept = default;
    explicit UniqueResource(T value) noexcept : value_(value) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueResource() { reset(); }

    [[nodiscard]] T get() const noexcept { return value_; }
    [[nodiscard]] explicit operator bool() const noexcept { return value_ != Invalid; }

    T release() noexcept { return std::exchange(value_, Invalid); }

    // Closes the held handle; answers whether the close succeeded (true when
    // nothing was held), for the callers that report it.
    bool reset(T value = Invalid) noexcept {
        bool closed = true;
        if (value_ != Invalid) closed = Close(value_) != 0;
        value_ = value;
        return closed;
    }

private:
    T value_ = Invalid;
};

namespace detail {
inline BOOL closeHandle(HANDLE h) noexcept { return ::CloseHandle(h); }
inline BOOL closeRegKey(HKEY k) noexcept { return ::RegCloseKey(k) == ERROR_SUCCESS; }
inline BOOL freeLibrary(HMODULE m) noexcept { return ::FreeLibrary(m); }
inline BOOL closeSocket(SOCKET s) noexcept { return ::closesocket(s) == 0; }
inline BOOL unhookWindowsHook(HHOOK h) noexcept { return ::UnhookWindowsHookEx(h); }
}  // namespace detail

// OpenProcess, OpenThread: NULL on failure.
using UniqueHandle = UniqueResource<HANDLE, detail::closeHandle, nullptr>;
// Registry keys stay open for the life of their setting.
using UniqueRegKey = UniqueResource<HKEY, detail::closeRegKey, nullptr>;
using UniqueLibrary = UniqueResource<HMODULE, detail::freeLibrary, nullptr>;
using UniqueSocket = UniqueResource<SOCKET, detail::closeSocket, INVALID_SOCKET>;
using UniqueHook = UniqueResource<HHOOK, detail::unhookWindowsHook, nullptr>;

// CreateToolhelp32Snapshot and CreateFile: INVALID_HANDLE_VALUE on failure.
// INVALID_HANDLE_VALUE is not a constant expression, so this one is written out.
class UniqueFileHandle {
public:
    UniqueFileHandle() noexcept = default;
    explicit UniqueFileHandle(HANDLE value) noexcept : value_(value) {}
    UniqueFileHandle(const UniqueFileHandle&) = delete;
    UniqueFileHandle& operator=(const UniqueFileHandle&) = delete;
    UniqueFileHandle(UniqueFileHandle&& other) noexcept : value_(other.release()) {}
    UniqueFileHandle& operator=(UniqueFileHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueFileHandle() { reset(); }

    [[nodiscard]] HANDLE get() const noexcept { return value_; }
    [[nodiscard]] explicit operator bool() const noexcept {
        return value_ != INVALID_HANDLE_VALUE && value_ != nullptr;
    }
    HANDLE release() noexcept { return std::exchange(value_, INVALID_HANDLE_VALUE); }
    bool reset(HANDLE value = INVALID_HANDLE_VALUE) noexcept {
        bool closed = true;
        if (*this) closed = ::CloseHandle(value_) != 0;
        value_ = value;
        return closed;
    }

private:
    HANDLE value_ = INVALID_HANDLE_VALUE;
};

// Winsock started for one call and cleaned up on every path.
class WinsockSession {
public:
    WinsockSession() noexcept {
        WSADATA data{};
        started_ = ::WSAStartup(MAKEWORD(1, 1), &data) == 0;
    }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
    ~WinsockSession() {
        if (started_) ::WSACleanup();
    }
    [[nodiscard]] bool started() const noexcept { return started_; }

private:
    bool started_ = false;
};

// Runs a cleanup at scope exit, for the odd case no handle type covers
// (restoring a thread's priority).
template <typename F>
class ScopeExit {
public:
    explicit ScopeExit(F f) noexcept : f_(std::move(f)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() { f_(); }

private:
    F f_;
};

}  // namespace vireo
