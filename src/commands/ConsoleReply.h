#pragma once
// Prints text in the game console: one UDP datagram of the kind the game
// client accepts from outside a connection, sent to its port on loopback.

#include <cstdint>
#include <string>

namespace vireo {

inline constexpr char kGameClientHost[] = "127.0.0.1";
inline constexpr std::uint16_t kGameClientPort = 27005;

// True when the datagram was handed to the network stack (UDP: nobody needs
// to be listening). Nothing stays open between calls.
bool sendConsoleText(const std::string& text, const std::string& host, std::uint16_t port);
// The help text to the game client; the result is not used.
void sendHelp();
// The short status to the game client in one datagram, cut at a line's end
// to fit kConsoleDatagramLimit; the result is not used.
void sendStatus();

}  // namespace vireo
