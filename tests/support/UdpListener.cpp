#include "support/UdpListener.h"

namespace vireo::test {

UdpListener::UdpListener(std::uint16_t port) {
    WSADATA data{};
    started_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    if (!started_) return;
    socket_ = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (socket_ == INVALID_SOCKET) return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = ::htons(port);
    address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
    bound_ = ::bind(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

UdpListener::~UdpListener() {
    if (socket_ != INVALID_SOCKET) ::closesocket(socket_);
    if (started_) ::WSACleanup();
}

std::optional<std::vector<std::uint8_t>> UdpListener::receive(std::chrono::milliseconds timeout) {
    if (!bound_) return std::nullopt;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket_, &readable);
    timeval wait{static_cast<long>(timeout.count() / 1000),
                 static_cast<long>(timeout.count() % 1000) * 1000};
    if (::select(0, &readable, nullptr, nullptr, &wait) != 1) return std::nullopt;
    std::vector<std::uint8_t> datagram(65536);
    const int size = ::recv(socket_, reinterpret_cast<char*>(datagram.data()),
                            static_cast<int>(datagram.size()), 0);
    if (size < 0) return std::nullopt;
    datagram.resize(static_cast<std::size_t>(size));
    return datagram;
}

}  // namespace vireo::test
