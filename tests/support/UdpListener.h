#pragma once
// A UDP socket bound on loopback, standing in for the game client's port.

#include <winsock2.h>
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace vireo::test {

class UdpListener {
public:
    explicit UdpListener(std::uint16_t port);
    ~UdpListener();
    UdpListener(const UdpListener&) = delete;
    UdpListener& operator=(const UdpListener&) = delete;

    [[nodiscard]] bool bound() const { return bound_; }
    // The next datagram, or nothing when none arrives in time.
    std::optional<std::vector<std::uint8_t>> receive(std::chrono::milliseconds timeout);

private:
    SOCKET socket_ = INVALID_SOCKET;
    bool started_ = false;
    bool bound_ = false;
};

}  // namespace vireo::test
