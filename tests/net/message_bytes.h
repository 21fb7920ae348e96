// The bytes of a game message as WriteMessage builds it (envelope and type byte included), for
// tests that look at them or hand them to a handler.
#pragma once

#include <cstdint>
#include <vector>

#include "net/envelope.h"
#include "net/messages.h"
#include "net/netlib_binding.h"

// The message now built in OutStream.
inline std::vector<uint8_t> BuiltMessage() {
  const int length = NetLib.BitStreamGetNumberOfBytesUsed(OutStream);
  const unsigned char* data = NetLib.BitStreamRead(OutStream, length);
  return std::vector<uint8_t>(data, data + length);
}

template <typename Message>
std::vector<uint8_t> MessageBytes(const Message& message) {
  WriteMessage(message);
  return BuiltMessage();
}
