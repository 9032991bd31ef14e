#include "commands/ConsoleReply.h"

#include <winsock2.h>
#include <windows.h>

#include <cstring>

#include "commands/CommandText.h"
#include "commands/HelpText.h"
#include "commands/StatusReport.h"
#include "commands/StatusText.h"
#include "common/UniqueResource.h"

namespace vireo {

bool sendConsoleText(const std::string& text, const std::string& host, std::uint16_t port) {
    std::vector<std::uint8_t> datagram = consoleDatagram(text);
    WinsockSession winsock;
    if (!winsock.started()) return false;
    const hostent* resolved = ::gethostbyname(host.c_str());
    if (!resolved || resolved->h_addrtype != AF_INET || !resolved->h_addr_list[0]) return false;
    UniqueSocket socket{::WSASocketA(AF_INET, SOCK_DGRAM, 0, nullptr, 0, 0)};
    if (!socket) return false;

    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = ::htons(port);
    std::memcpy(&address.sin_addr, resolved->h_addr_list[0], sizeof address.sin_addr);
    if (::WSAConnect(socket.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address,
                     nullptr, nullptr, nullptr, nullptr) != 0)
        return false;

    WSABUF buffer{static_cast<ULONG>(datagram.size()), reinterpret_cast<char*>(datagram.data())};
    DWORD sent = 0;
    return ::WSASend(socket.get(), &buffer, 1, &sent, 0, nullptr, nullptr) == 0;
}

void sendHelp() { sendConsoleText(std::string(kHelpText), kGameClientHost, kGameClientPort); }

void sendStatus() {
    const std::string text =
        cutAtLineEnd(statusReport(StatusForm::Console), consoleTextCapacity(kConsoleDatagramLimit));
    sendConsoleText(text, kGameClientHost, kGameClientPort);
}

}  // namespace vireo
