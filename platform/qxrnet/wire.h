// What travels on the wire besides the program's data: channels, handshake, pings, close reasons.
#pragma once

#include <cstdint>

namespace qxrnet {

// ENet channels 0..3 carry the program's data; channel 4 is the library's own.
constexpr int kDataChannels = 4;
constexpr int kControlChannel = 4;
constexpr int kEnetChannels = 5;

// Sent as ENet connect data: a server ignores connection attempts that do not carry it.
constexpr uint32_t kProtocolMagic = 0x51C0DE01;

// First byte of a packet on the control channel.
enum ControlCode : uint8_t {
  kHello = 1,   // client -> server: the password bytes follow
  kAccept = 2,  // server -> client: admitted
  kPing = 3,    // client -> server: 4 bytes of client time follow
  kPong = 4,    // server -> client: the ping's bytes echoed
};

// ENet disconnect data. A connection that timed out carries 0.
enum CloseReason : uint32_t {
  kReasonLost = 0,
  kReasonClosed = 0x51C10001,         // graceful close
  kReasonWrongPassword = 0x51C10002,
  kReasonServerFull = 0x51C10003,
  kReasonRefused = 0x51C10004,        // handshake missing, late or malformed
  kReasonOverflow = 0x51C10005,       // sent more than the receiver's queue holds for one peer
};

// The first byte of the program's data is never below this, so it cannot pose as an event.
constexpr uint8_t kFirstDataByte = 64;

}  // namespace qxrnet
