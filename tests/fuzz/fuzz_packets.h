// How the packet fuzzers read an input: a run of packets, each a header byte, a length byte and
// that many bytes. A header below 128 makes a game message (the bytes follow the envelope byte
// 64, so the first is the type); 128 and up passes the bytes as they are (library events too).
// The low three bits of the header choose the sender where the target has several.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct FuzzPacket {
  int sender = 0;  // 0..7
  std::vector<uint8_t> bytes;
};

inline std::vector<FuzzPacket> SplitFuzzInput(const uint8_t* data, size_t size) {
  std::vector<FuzzPacket> packets;
  size_t at = 0;
  while (at + 2 <= size) {
    const uint8_t header = data[at];
    size_t length = data[at + 1];
    at += 2;
    if (length > size - at) length = size - at;
    FuzzPacket packet{header & 7, {}};
    if (header < 128) packet.bytes.push_back(64);
    packet.bytes.insert(packet.bytes.end(), data + at, data + at + length);
    at += length;
    if (!packet.bytes.empty()) packets.push_back(std::move(packet));
  }
  return packets;
}
