#pragma once
// Datagrams between the program and a serial network adapter module, all on
// one UDP port (30718 unless a setting says otherwise). Shared by the link and
// the simulated drive, so that both sides agree byte for byte.
//
// Every datagram starts with three zero bytes; byte 3 says what it is.
//
// Search request, program -> broadcast (4 bytes):
//   00 00 00 F6
// Search reply, module -> sender of the request (kSearchReplyLength bytes):
//   00 00 00 F7, bytes 4..7 the module's IPv4 address (network order),
//   bytes 8..9 its TCP data port (big-endian), bytes 10..23 zero,
//   bytes 24..29 its MAC address. A reader needs only byte 3 and bytes 24..29.
//
// The following two exchanges are this program's own; the module answers them
// to the sender's address and port.
//
// Set address request, program -> broadcast (14 bytes), so that a module whose
// current address lies outside the program's network is still reached:
//   00 00 00 F8, bytes 4..9 the MAC of the module meant, bytes 10..13 the new
//   IPv4 address (network order).
// Set address reply, only from the module with that MAC (15 bytes):
//   00 00 00 F9, bytes 4..9 its MAC, bytes 10..13 the address now in use,
//   byte 14 the status (0 accepted, anything else refused).
//
// Identify request, program -> one module's address (4 bytes):
//   00 00 00 FA
// Identify reply (16 bytes):
//   00 00 00 FB, bytes 4..9 the MAC, bytes 10..13 the IPv4 address,
//   bytes 14..15 the TCP data port (big-endian).
//
// The Modbus RTU frames themselves travel unchanged over a TCP connection to
// the module's data port.

#include <cstddef>
#include <cstdint>

namespace NetAdapter {

constexpr std::uint16_t kDefaultUdpPort = 30718;
constexpr std::uint16_t kDefaultTcpPort = 10001;

constexpr std::uint8_t kSearchRequest = 0xF6;
constexpr std::uint8_t kSearchReply = 0xF7;
constexpr std::uint8_t kSetAddressRequest = 0xF8;
constexpr std::uint8_t kSetAddressReply = 0xF9;
constexpr std::uint8_t kIdentifyRequest = 0xFA;
constexpr std::uint8_t kIdentifyReply = 0xFB;

// Byte 3 of every datagram.
constexpr std::size_t kKindOffset = 3;

constexpr std::size_t kSearchRequestLength = 4;
constexpr std::size_t kSearchReplyLength = 30;
constexpr std::size_t kSearchReplyIpOffset = 4;
constexpr std::size_t kSearchReplyPortOffset = 8;
constexpr std::size_t kSearchReplyMacOffset = 24;

constexpr std::size_t kSetAddressRequestLength = 14;
constexpr std::size_t kSetAddressReplyLength = 15;
constexpr std::size_t kSetAddressMacOffset = 4;
constexpr std::size_t kSetAddressIpOffset = 10;
constexpr std::size_t kSetAddressStatusOffset = 14;
constexpr std::uint8_t kSetAddressAccepted = 0;
constexpr std::uint8_t kSetAddressRefused = 1;

constexpr std::size_t kIdentifyRequestLength = 4;
constexpr std::size_t kIdentifyReplyLength = 16;
constexpr std::size_t kIdentifyMacOffset = 4;
constexpr std::size_t kIdentifyIpOffset = 10;
constexpr std::size_t kIdentifyPortOffset = 14;

constexpr std::size_t kMacLength = 6;

}  // namespace NetAdapter
