// Reading back the message a rule has just built: without a network interface every send is
// dropped, so the message stays in OutStream and can be read from there.
#pragma once

#include "net/envelope.h"
#include "net/messages.h"
#include "net/netlib_binding.h"

#include <vector>

// The real library, bound once per test program.
inline void BindNetOnce() {
  static bool bound = [] {
    BindNetLibrary();
    return true;
  }();
  (void)bound;
}

// Puts a message of an unused type into OutStream, so a rule that sends nothing leaves it.
constexpr int NothingSentType = 200;
inline void MarkNothingSent() {
  NetBeginMessage();
  NetWriteByte(NothingSentType);
}

// The type byte of the message in OutStream (read once per message built).
inline int SentType() {
  InStream = OutStream;
  int type = NetReadByte() == GameMessageId ? NetReadByte() : -1;
  InStream = nullptr;
  return type;
}

// The message in OutStream read as M (once per message built); false when it is of another
// type or cut short.
template <typename M>
bool SentMessage(M& m) {
  InStream = OutStream;
  bool whole = NetReadByte() == GameMessageId && NetReadByte() == M::type && ReadMessage(m);
  InStream = nullptr;
  return whole;
}

// A stream of 16-bit values, as a received packet's fields would be, made the inbound stream.
class InboundShorts {
 public:
  explicit InboundShorts(const std::vector<int>& values) : stream_(NetLib.BitStreamCreate1(64)) {
    for (int v : values) NetLib.BitStreamWriteShort(stream_, v);
    InStream = stream_;
  }
  ~InboundShorts() {
    InStream = nullptr;
    NetLib.BitStreamDestroy(stream_);
  }

 private:
  RN_BitStream* stream_;
};
