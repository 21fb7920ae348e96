// The server interface: admits clients after their handshake, queues their data, sends to one or all.
#pragma once

#include <string>
#include <unordered_map>

#include "platform/qxrnet/endpoint.h"
#include "platform/qxrnet/handshake_guard.h"
#include "platform/qxrnet/server_peer.h"

namespace qxrnet {

class ServerInterface : public RN_Interface {
 public:
  ServerInterface() : RN_Interface(Kind::Server) {}
  ~ServerInterface() override;

  int Start(int maxConnections, int threadSleepMs, int port);
  void SetPassword(const char* password);
  int Send(const RN_BitStream& stream, int reliability, int channel, RN_PlayerId playerId, bool broadcast);
  // Closes one admitted client's connection; the program is not told of it.
  void CloseConnection(RN_PlayerId playerId);
  // Tells every client that the server closes, and gives the notices a moment to leave.
  void Close();
  // Drops every connection without a word, as a killed process would.
  void Vanish();

 private:
  void HandleEvent(ENetEvent& event) override;
  // Holds back or makes room for connection requests, and screens data before ENet queues
  // it: a datagram over a bound cuts its sender off.
  bool Swallow() override;
  // When every ENet peer is in use, the oldest pending handshake gives way to a new one.
  void MakeRoom();
  void Tick(uint32_t now) override;
  void CutOff(RN_PlayerId sender) override;
  void OnConnect(ENetPeer* peer, uint32_t data);
  void OnReceive(ENetPeer* peer, int channel, const ENetPacket& packet);
  void OnControl(ENetPeer* peer, PeerState& state, const uint8_t* data, size_t size);
  void OnDisconnect(ENetPeer* peer, uint32_t data);
  void Refuse(ENetPeer* peer, PeerState& state, uint32_t reason);
  void Admit(ENetPeer* peer, PeerState& state);
  // Ends the connection at once (the peer is told reason) and frees its place; an
  // admitted peer's loss is queued as event.
  void Drop(ENetPeer* peer, uint32_t reason, uint8_t event);
  // Frees a gone peer's state; an admitted peer's end is queued as event.
  void Release(ENetPeer* peer, uint8_t event);
  void FreePeerStates();

  int maxConnections_ = 0;
  std::string password_;
  std::unordered_map<RN_PlayerId, ENetPeer*> admitted_;
  HandshakeClock handshakes_;
};

// The interface as a server, or nullptr when it is none.
ServerInterface* AsServer(RN_Interface* i);

}  // namespace qxrnet
