// A remote player for the host-step tests: a real client interface of the real library that
// sends game messages to the host under test and keeps every game message the host sent it.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "net/envelope.h"
#include "net/messages.h"
#include "net/netlib_binding.h"
#include "tests/net/message_bytes.h"
#include "tests/net/net_harness.h"

namespace online_test {

// Reads bytes (a whole game message: envelope byte, type byte, fields) as M; false when they
// hold another type or end too soon. Extra arguments go to ReadMessage (the round-start mode).
template <typename M, typename... Extra>
bool ParseMessage(const std::vector<uint8_t>& bytes, M& m, Extra... extra) {
  RN_BitStream* stream = NetLib.BitStreamCreate1(static_cast<int>(bytes.size()));
  NetLib.BitStreamWrite(stream, bytes.data(), static_cast<int>(bytes.size()));
  RN_BitStream* saved = InStream;
  InStream = stream;
  const bool whole = NetReadByte() == GameMessageId && NetReadByte() == M::type && ReadMessage(m, extra...);
  InStream = saved;
  NetLib.BitStreamDestroy(stream);
  return whole;
}

class RemotePlayer {
 public:
  explicit RemotePlayer(int hostPort) : iface_(net_harness::StartClient(hostPort)) {}
  ~RemotePlayer() { NetLib.DestroyRakClientInterface(iface_); }
  RemotePlayer(const RemotePlayer&) = delete;
  RemotePlayer& operator=(const RemotePlayer&) = delete;

  int slot = -1;      // the slot the host's welcome gave
  int closed = 0;     // 1 once the host closed the connection (or refused it)

  // Sends a message to the host, reliable-ordered on the game channel as clients send them.
  template <typename M>
  void Send(const M& m) {
    WriteMessage(m);
    SendBuilt();
  }
  // Sends whatever is built in OutStream.
  void SendBuilt() { NetLib.ClientSend2(iface_, OutStream, 1, RN_RELIABLE_ORDERED, 2); }

  // Takes every packet that has arrived into the inbox.
  void Poll() {
    while (RN_Packet* p = NetLib.ClientReceive(iface_)) {
      const unsigned char* data = NetLib.PacketGetData(p);
      const int length = NetLib.PacketGetLength(p);
      if (length >= 2 && data[0] == GameMessageId) inbox_.emplace_back(data, data + length);
      // A connection closed during the handshake ends as a failed attempt.
      if (length >= 1 && (data[0] == RN_ID_DISCONNECTION_NOTIFICATION || data[0] == RN_ID_CONNECTION_LOST ||
                          data[0] == RN_ID_CONNECTION_ATTEMPT_FAILED))
        closed = 1;
      NetLib.ClientDeallocatePacket(iface_, p);
    }
  }

  // Every message of M's type received so far, in order.
  template <typename M, typename... Extra>
  std::vector<M> Received(Extra... extra) const {
    std::vector<M> found;
    for (const auto& bytes : inbox_) {
      M m;
      if (bytes[1] == M::type && ParseMessage(bytes, m, extra...)) found.push_back(m);
    }
    return found;
  }
  int CountOf(int type) const {
    int n = 0;
    for (const auto& bytes : inbox_) n += bytes[1] == type;
    return n;
  }
  // The types received, in order.
  std::vector<int> Types() const {
    std::vector<int> types;
    for (const auto& bytes : inbox_) types.push_back(bytes[1]);
    return types;
  }
  void Forget() { inbox_.clear(); }

 private:
  RN_Interface* iface_;
  std::vector<std::vector<uint8_t>> inbox_;
};

}  // namespace online_test
