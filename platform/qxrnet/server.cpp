// The server interface: handshake and admission, queuing, sending, closing.
#include "platform/qxrnet/server.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/qxrnet/export.h"
#include "platform/qxrnet/peer_ids.h"
#include "platform/qxrnet/settings.h"
#include "platform/qxrnet/wire.h"

namespace qxrnet {
namespace {

// Spare ENet peers beyond the admitted maximum, so that a client over the limit is
// answered with a refusal instead of being ignored until it times out, and so that the
// handshakes one address may hold pending never take the last places.
constexpr int kSparePeers = 2 * kPendingPerAddress;

}  // namespace

ServerInterface* AsServer(RN_Interface* i) {
  return i != nullptr && i->kind == RN_Interface::Kind::Server ? static_cast<ServerInterface*>(i) : nullptr;
}

ServerInterface::~ServerInterface() {
  StopService();
  FreePeerStates();
}

void ServerInterface::FreePeerStates() {
  if (host_ == nullptr) return;
  for (size_t i = 0; i < host_->peerCount; ++i) {
    delete StateOf(host_->peers[i]);
    host_->peers[i].data = nullptr;
  }
  admitted_.clear();
}

int ServerInterface::Start(int maxConnections, int threadSleepMs, int port) {
  if (host_ != nullptr) {
    errno = EISCONN;
    return 1;
  }
  if (port < 0 || port > 65535) {
    errno = EINVAL;
    return 1;
  }
  maxConnections_ = std::clamp(maxConnections, 1, 4000);
  ENetAddress address;
  address.host = ENET_HOST_ANY;
  address.port = static_cast<enet_uint16>(port);
  errno = 0;
  // A port that cannot be had leaves the socket's own reason in errno.
  ENetHost* host = enet_host_create(&address, static_cast<size_t>(maxConnections_ + kSparePeers), kEnetChannels, 0, 0);
  if (host == nullptr) return 1;
  host->intercept = HoldBackConnects;
  StartService(host, threadSleepMs);
  return 0;
}

void ServerInterface::SetPassword(const char* password) {
  std::lock_guard lock(hostMutex_);
  password_ = password == nullptr ? "" : password;
}

int ServerInterface::Send(const RN_BitStream& stream, int reliability, int channel, RN_PlayerId playerId, bool broadcast) {
  std::lock_guard lock(hostMutex_);
  if (host_ == nullptr) return 0;
  const bool reliable = IsReliable(reliability);
  if (!broadcast) {
    const auto it = admitted_.find(playerId);
    if (it == admitted_.end()) return 0;
    return SendBytes(it->second, stream.data.data(), stream.data.size(), channel, reliable) ? 1 : 0;
  }
  ENetPacket* packet = MakeEnetPacket(stream.data.data(), stream.data.size(), reliable);
  if (packet == nullptr) return 0;
  int sent = 0;
  for (const auto& [id, peer] : admitted_) {
    if (id == playerId) continue;
    if (enet_peer_send(peer, static_cast<enet_uint8>(channel), packet) == 0) ++sent;
  }
  if (packet->referenceCount == 0) enet_packet_destroy(packet);
  enet_host_flush(host_);
  return sent > 0 ? 1 : 0;
}

void ServerInterface::CloseConnection(RN_PlayerId playerId) {
  std::lock_guard lock(hostMutex_);
  const auto it = admitted_.find(playerId);
  if (it == admitted_.end()) return;
  ENetPeer* peer = it->second;
  admitted_.erase(it);
  // On its way out like a refused connection: the hello deadline ends it if the client
  // never acknowledges.
  if (PeerState* state = StateOf(*peer)) {
    state->id = 0;
    state->refused = true;
  }
  enet_peer_disconnect(peer, kReasonClosed);
  enet_host_flush(host_);
}

void ServerInterface::Close() {
  StopService();
  std::lock_guard lock(hostMutex_);
  if (host_ == nullptr) return;
  for (size_t i = 0; i < host_->peerCount; ++i) {
    ENetPeer* peer = &host_->peers[i];
    if (peer->state != ENET_PEER_STATE_DISCONNECTED) enet_peer_disconnect(peer, kReasonClosed);
  }
  enet_host_flush(host_);
  // Wait for the acknowledgements, briefly: the notices are out, and a client that does
  // not answer will notice the silence anyway.
  ServiceUntil(250, [this] {
    for (size_t i = 0; i < host_->peerCount; ++i) {
      if (host_->peers[i].state != ENET_PEER_STATE_DISCONNECTED) return false;
    }
    return true;
  });
  FreePeerStates();
  DestroyHost();
}

void ServerInterface::Vanish() {
  StopService();
  std::lock_guard lock(hostMutex_);
  FreePeerStates();
  DestroyHost();
}

void ServerInterface::HandleEvent(ENetEvent& event) {
  switch (event.type) {
    case ENET_EVENT_TYPE_CONNECT:
      OnConnect(event.peer, event.data);
      break;
    case ENET_EVENT_TYPE_RECEIVE:
      OnReceive(event.peer, event.channelID, *event.packet);
      enet_packet_destroy(event.packet);
      break;
    case ENET_EVENT_TYPE_DISCONNECT:
      OnDisconnect(event.peer, event.data);
      break;
    case ENET_EVENT_TYPE_NONE:
      break;
  }
}

void ServerInterface::OnConnect(ENetPeer* peer, uint32_t data) {
  auto* state = new PeerState;
  state->lastHeard = Now();
  peer->data = state;
  ApplyTimeouts(peer);
  if (data != kProtocolMagic) {
    Refuse(peer, *state, kReasonRefused);
  } else if (static_cast<int>(admitted_.size()) >= maxConnections_) {
    Refuse(peer, *state, kReasonServerFull);
  }
}

void ServerInterface::OnReceive(ENetPeer* peer, int channel, const ENetPacket& packet) {
  PeerState* state = StateOf(*peer);
  if (state == nullptr || state->refused) return;
  state->lastHeard = Now();
  if (packet.dataLength == 0) return;
  if (channel == kControlChannel) {
    OnControl(peer, *state, packet.data, packet.dataLength);
    return;
  }
  // Data only from admitted clients, and never anything that could pass for an event.
  if (state->id == 0 || channel >= kDataChannels || packet.data[0] < kFirstDataByte) return;
  QueueData(MakePacket(packet.data, packet.dataLength, state->id, (packet.flags & ENET_PACKET_FLAG_RELIABLE) != 0));
}

void ServerInterface::OnControl(ENetPeer* peer, PeerState& state, const uint8_t* data, size_t size) {
  switch (data[0]) {
    case kHello: {
      if (state.id != 0) return;
      if (static_cast<int>(admitted_.size()) >= maxConnections_) {
        Refuse(peer, state, kReasonServerFull);
        return;
      }
      const std::string given(reinterpret_cast<const char*>(data + 1), size - 1);
      if (!password_.empty() && given != password_) {
        Refuse(peer, state, kReasonWrongPassword);
        return;
      }
      Admit(peer, state);
      return;
    }
    case kPing:
      if (state.id != 0 && size == 5) {
        uint8_t pong[5];
        std::memcpy(pong, data, 5);
        pong[0] = kPong;
        SendBytes(peer, pong, sizeof pong, kControlChannel, false);
      }
      return;
    default:
      return;
  }
}

void ServerInterface::Admit(ENetPeer* peer, PeerState& state) {
  state.id = NextPlayerId();
  admitted_[state.id] = peer;
  const uint8_t accept = kAccept;
  SendBytes(peer, &accept, 1, kControlChannel, true);
  QueueEvent(RN_ID_NEW_INCOMING_CONNECTION, state.id);
}

void ServerInterface::Refuse(ENetPeer* peer, PeerState& state, uint32_t reason) {
  state.refused = true;
  enet_peer_disconnect(peer, reason);
}

void ServerInterface::OnDisconnect(ENetPeer* peer, uint32_t data) {
  Release(peer, data == kReasonClosed ? RN_ID_DISCONNECTION_NOTIFICATION : RN_ID_CONNECTION_LOST);
}

void ServerInterface::Drop(ENetPeer* peer, uint32_t reason, uint8_t event) {
  enet_peer_disconnect_now(peer, reason);  // no event follows
  Release(peer, event);
}

void ServerInterface::Release(ENetPeer* peer, uint8_t event) {
  PeerState* state = StateOf(*peer);
  if (state == nullptr) return;
  if (state->id != 0) {
    admitted_.erase(state->id);
    QueueEvent(event, state->id);
  }
  delete state;
  peer->data = nullptr;
}

void ServerInterface::CutOff(RN_PlayerId sender) {
  const auto it = admitted_.find(sender);
  if (it != admitted_.end()) Drop(it->second, kReasonOverflow, RN_ID_CONNECTION_LOST);
}

void ServerInterface::Tick(uint32_t now) {
  for (size_t i = 0; i < host_->peerCount; ++i) {
    ENetPeer* peer = &host_->peers[i];
    if (!Pending(*peer)) {
      handshakes_.Forget(i);
      // Lost once it has answered nothing for the whole timeout.
      if (Admitted(*peer) && AnswerOverdue(peer, StateOf(*peer)->lastHeard)) Drop(peer, kReasonLost, RN_ID_CONNECTION_LOST);
    } else if (peer->state != ENET_PEER_STATE_ZOMBIE && handshakes_.Overdue(*peer, i, now)) {
      // Never said hello in time, or would not leave after its refusal: free the place.
      Drop(peer, kReasonRefused, 0);
    }
  }
}

}  // namespace qxrnet

using qxrnet::AsServer;

RN_EXPORT RN_Interface* RN_GetRakServerInterface(void) { return new qxrnet::ServerInterface; }

RN_EXPORT int RN_ServerStart(RN_Interface* server, int maxConnections, int, int threadSleepMs, int port) {
  auto* s = AsServer(server);
  if (s == nullptr) {
    errno = EBADF;
    return 1;
  }
  return s->Start(maxConnections, threadSleepMs, port);
}

RN_EXPORT void RN_ServerSetPassword(RN_Interface* server, const char* password) {
  if (auto* s = AsServer(server)) s->SetPassword(password);
}

RN_EXPORT void RN_ServerStartOccasionalPing(RN_Interface*) {}

RN_EXPORT RN_Packet* RN_ServerReceive(RN_Interface* server) {
  auto* s = AsServer(server);
  return s == nullptr ? nullptr : s->Receive();
}

RN_EXPORT int RN_ServerSend2(RN_Interface* server, RN_BitStream* stream, int, int reliability, int channel,
                             RN_PlayerId playerId, int broadcast) {
  auto* s = AsServer(server);
  if (s == nullptr || !SendableData(stream, channel)) return 0;
  return s->Send(*stream, reliability, channel, playerId, broadcast != 0);
}

RN_EXPORT void RN_ServerCloseConnection(RN_Interface* server, RN_PlayerId playerId) {
  if (auto* s = AsServer(server)) s->CloseConnection(playerId);
}

RN_EXPORT RN_Packet* RN_ServerDeallocatePacket(RN_Interface*, RN_Packet* packet) {
  return qxrnet::FreePacket(packet);
}

RN_EXPORT RN_Interface* RN_DestroyRakServerInterface(RN_Interface* server) {
  return CloseAndFree(AsServer(server));
}
