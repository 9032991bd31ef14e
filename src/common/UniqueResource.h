#pragma once
// One small move-only owner for every kind of Win32 handle. The "no handle"
// value is part of the type, because the APIs disagree: OpenProcess fails
// with NULL, CreateToolhelp32Snapshot and CreateFile with INVALID_HANDLE_VALUE.

#include <winsock2.h>
#include <windows.h>
#include <wincrypt.h>

#include <utility>

namespace vireo {

// The owner is parameterised by a traits type, as WIL's unique_any is by its
// close function: Traits::Type is the handle, Traits::invalid() its "no
// handle" value and Traits::close(value) releases one. Success is decided by
// the call that did the work, so a close's result is not reported.
template <typename Traits>
class UniqueResource {
public:
    using Type = typename Traits::Type;

    UniqueResource() noexcept = default;
    explicit UniqueResource(Type value) noexcept : value_(value) {}
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueResource() { reset(); }

    [[nodiscard]] Type get() const noexcept { return value_; }
    [[nodiscard]] explicit operator bool() const noexcept { return value_ != Traits::invalid(); }

    Type release() noexcept { return std::exchange(value_, Traits::invalid()); }

    void reset(Type value = Traits::invalid()) noexcept {
        if (value_ != Traits::invalid()) Traits::close(value_);
        value_ = value;
    }

private:
    Type value_ = Traits::invalid();
};

// Traits for a handle closed by one function, with a constant "no handle".
template <typename T, auto Close, T Invalid>
struct CloseWith {
    using Type = T;
    static constexpr T invalid() noexcept { return Invalid; }
    static void close(T value) noexcept { Close(value); }
};

// CreateToolhelp32Snapshot and CreateFile fail with INVALID_HANDLE_VALUE,
// which is not a constant expression.
struct FileHandleTraits {
    using Type = HANDLE;
    static Type invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Type value) noexcept { ::CloseHandle(value); }
};

// FindFirstFile: INVALID_HANDLE_VALUE on failure, closed by FindClose.
struct FindHandleTraits {
    using Type = HANDLE;
    static Type invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Type value) noexcept { ::FindClose(value); }
};

// OpenProcess, OpenThread: NULL on failure.
using UniqueHandle = UniqueResource<CloseWith<HANDLE, ::CloseHandle, nullptr>>;
using UniqueFileHandle = UniqueResource<FileHandleTraits>;
using UniqueSnapshot = UniqueResource<FileHandleTraits>;
using UniqueFindHandle = UniqueResource<FindHandleTraits>;
// Registry keys stay open for the life of their setting.
using UniqueRegKey = UniqueResource<CloseWith<HKEY, ::RegCloseKey, nullptr>>;
using UniqueLibrary = UniqueResource<CloseWith<HMODULE, ::FreeLibrary, nullptr>>;
using UniqueSocket = UniqueResource<CloseWith<SOCKET, ::closesocket, INVALID_SOCKET>>;
using UniqueHook = UniqueResource<CloseWith<HHOOK, ::UnhookWindowsHookEx, nullptr>>;
// GlobalAlloc: freed unless handed over (to the clipboard, say) by release().
using UniqueGlobalMemory = UniqueResource<CloseWith<HGLOBAL, ::GlobalFree, nullptr>>;

// CryptAcquireContextA: 0 on failure; released with a flags argument.
inline void releaseCryptContext(HCRYPTPROV provider) noexcept {
    ::CryptReleaseContext(provider, 0);
}
using UniqueCryptProvider = UniqueResource<CloseWith<HCRYPTPROV, releaseCryptContext, 0>>;

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

// The clipboard opened for one call and closed on every path.
class ClipboardSession {
public:
    explicit ClipboardSession(HWND owner) noexcept : opened_(::OpenClipboard(owner) != FALSE) {}
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    ~ClipboardSession() {
        if (opened_) ::CloseClipboard();
    }
    [[nodiscard]] bool opened() const noexcept { return opened_; }

private:
    bool opened_ = false;
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
