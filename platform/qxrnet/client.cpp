// The client interface: connection attempt, handshake outcome, pings, sending, closing.
#include "platform/qxrnet/client.h"

#include <cstring>
#include <numeric>
#include <vector>

#include "platform/qxrnet/export.h"
#include "platform/qxrnet/peer_ids.h"
#include "platform/qxrnet/settings.h"
#include "platform/qxrnet/wire.h"

namespace qxrnet {

ClientInterface* AsClient(RN_Interface* i) {
  return i != nullptr && i->kind == RN_Interface::Kind::Client ? static_cast<ClientInterface*>(i) : nullptr;
}

ClientInterface::~ClientInterface() { StopService(); }

void ClientInterface::SetPassword(const char* password) {
  std::lock_guard lock(hostMutex_);
  password_ = password == nullptr ? "" : password;
}

int ClientInterface::Connect(const char* hostName, int serverPort, int clientPort, int threadSleepMs) {
  if (state_ != State::Idle || hostName == nullptr || serverPort <= 0 || serverPort > 65535 || clientPort < 0 ||
      clientPort > 65535) {
    return 0;
  }
  ENetAddress server;
  if (enet_address_set_host(&server, hostName) != 0) return 0;
  server.port = static_cast<enet_uint16>(serverPort);
  ENetAddress local;
  local.host = ENET_HOST_ANY;
  local.port = static_cast<enet_uint16>(clientPort);
  ENetHost* host = enet_host_create(clientPort == 0 ? nullptr : &local, 1, kEnetChannels, 0, 0);
  if (host == nullptr) return 0;
  ENetPeer* peer = enet_host_connect(host, &server, kEnetChannels, kProtocolMagic);
  if (peer == nullptr) {
    enet_host_destroy(host);
    return 0;
  }
  ApplyTimeouts(peer);
  enet_host_flush(host);
  peer_ = peer;
  state_ = State::Connecting;
  attemptSince_ = Now();
  StartService(host, threadSleepMs);
  return 1;
}

void ClientInterface::StartPing() {
  std::lock_guard lock(hostMutex_);
  pinging_ = true;
  if (state_ == State::Admitted) SendPing(Now());
}

int ClientInterface::Send(const RN_BitStream& stream, int reliability, int channel) {
  std::lock_guard lock(hostMutex_);
  if (state_ != State::Admitted) return 0;
  return SendBytes(peer_, stream.data.data(), stream.data.size(), channel, IsReliable(reliability)) ? 1 : 0;
}

int ClientInterface::AveragePing() {
  std::lock_guard lock(hostMutex_);
  if (state_ != State::Admitted || pingSamples_.empty()) return -1;
  const int sum = std::accumulate(pingSamples_.begin(), pingSamples_.end(), 0);
  return sum / static_cast<int>(pingSamples_.size());
}

void ClientInterface::Close() {
  StopService();
  std::lock_guard lock(hostMutex_);
  if (host_ == nullptr) return;
  if (peer_ != nullptr && peer_->state != ENET_PEER_STATE_DISCONNECTED) {
    enet_peer_disconnect(peer_, kReasonClosed);
    enet_host_flush(host_);
    // A connection still being made is dropped at once; a made one waits for the ack.
    ServiceUntil(250, [this] {
      return peer_ == nullptr || state_ == State::Closed || peer_->state == ENET_PEER_STATE_DISCONNECTED;
    });
  }
  peer_ = nullptr;
  state_ = State::Closed;
  DestroyHost();
}

void ClientInterface::Vanish() {
  StopService();
  std::lock_guard lock(hostMutex_);
  peer_ = nullptr;  // enet_host_destroy resets it without sending anything
  state_ = State::Closed;
  DestroyHost();
}

void ClientInterface::HandleEvent(ENetEvent& event) {
  switch (event.type) {
    case ENET_EVENT_TYPE_CONNECT: {
      state_ = State::Handshaking;
      std::vector<uint8_t> hello(1 + password_.size());
      hello[0] = kHello;
      std::memcpy(hello.data() + 1, password_.data(), password_.size());
      SendBytes(peer_, hello.data(), hello.size(), kControlChannel, true);
      break;
    }
    case ENET_EVENT_TYPE_RECEIVE:
      OnReceive(event.channelID, *event.packet);
      enet_packet_destroy(event.packet);
      break;
    case ENET_EVENT_TYPE_DISCONNECT:
      OnDisconnect(event.data);
      break;
    case ENET_EVENT_TYPE_NONE:
      break;
  }
}

void ClientInterface::OnReceive(int channel, const ENetPacket& packet) {
  if (state_ == State::Closed) return;
  lastHeard_ = Now();
  if (packet.dataLength == 0) return;
  if (channel == kControlChannel) {
    if (packet.data[0] == kAccept && state_ == State::Handshaking) BecomeAdmitted();
    if (packet.data[0] == kPong && packet.dataLength == 5 && state_ == State::Admitted) {
      uint32_t sentAt;
      std::memcpy(&sentAt, packet.data + 1, 4);
      pingSamples_.push_back(static_cast<int>(Now() - sentAt));
      if (pingSamples_.size() > static_cast<size_t>(kPingSamples)) pingSamples_.pop_front();
    }
    return;
  }
  if (channel >= kDataChannels || packet.data[0] < kFirstDataByte) return;
  // The server sends data only after admitting us; it may overtake the acceptance,
  // which travels on another channel.
  if (state_ == State::Handshaking) BecomeAdmitted();
  if (state_ != State::Admitted) return;
  QueueData(MakePacket(packet.data, packet.dataLength, kUnassignedId, (packet.flags & ENET_PACKET_FLAG_RELIABLE) != 0));
}

void ClientInterface::BecomeAdmitted() {
  state_ = State::Admitted;
  lastHeard_ = Now();
  QueueEvent(RN_ID_CONNECTION_REQUEST_ACCEPTED, kUnassignedId);
  if (pinging_) SendPing(Now());
}

void ClientInterface::OnDisconnect(uint32_t data) {
  uint8_t id;
  if (data == kReasonWrongPassword) {
    id = RN_ID_INVALID_PASSWORD;
  } else if (data == kReasonServerFull) {
    id = RN_ID_NO_FREE_INCOMING_CONNECTIONS;
  } else if (state_ == State::Admitted) {
    id = data == kReasonClosed ? RN_ID_DISCONNECTION_NOTIFICATION : RN_ID_CONNECTION_LOST;
  } else {
    id = RN_ID_CONNECTION_ATTEMPT_FAILED;
  }
  QueueEvent(id, kUnassignedId);
  state_ = State::Closed;
  peer_ = nullptr;
}

void ClientInterface::SendPing(uint32_t now) {
  uint8_t ping[5];
  ping[0] = kPing;
  std::memcpy(ping + 1, &now, 4);
  SendBytes(peer_, ping, sizeof ping, kControlChannel, false);
  lastPingSent_ = now;
}

void ClientInterface::Drop(uint32_t reason, uint8_t event) {
  enet_peer_disconnect_now(peer_, reason);  // no event follows
  peer_ = nullptr;
  state_ = State::Closed;
  QueueEvent(event, kUnassignedId);
}

void ClientInterface::CutOff(RN_PlayerId) {
  if (state_ == State::Admitted) Drop(kReasonOverflow, RN_ID_CONNECTION_LOST);
}

void ClientInterface::Tick(uint32_t now) {
  if ((state_ == State::Connecting || state_ == State::Handshaking) && now - attemptSince_ > ConnectAttemptMs()) {
    // No server answered, or it never admitted us.
    Drop(kReasonClosed, RN_ID_CONNECTION_ATTEMPT_FAILED);
  }
  if (state_ == State::Admitted && AnswerOverdue(peer_, lastHeard_)) Drop(kReasonLost, RN_ID_CONNECTION_LOST);
  if (state_ == State::Admitted && pinging_ && now - lastPingSent_ >= PingIntervalMs()) SendPing(now);
}

}  // namespace qxrnet

using qxrnet::AsClient;

RN_EXPORT RN_Interface* RN_GetRakClientInterface(void) { return new qxrnet::ClientInterface; }

RN_EXPORT void RN_ClientSetPassword(RN_Interface* client, const char* password) {
  if (auto* c = AsClient(client)) c->SetPassword(password);
}

RN_EXPORT int RN_ClientConnect(RN_Interface* client, const char* host, int serverPort, int clientPort, int,
                               int threadSleepMs) {
  auto* c = AsClient(client);
  return c == nullptr ? 0 : c->Connect(host, serverPort, clientPort, threadSleepMs);
}

RN_EXPORT void RN_ClientStartOccasionalPing(RN_Interface* client) {
  if (auto* c = AsClient(client)) c->StartPing();
}

RN_EXPORT RN_Packet* RN_ClientReceive(RN_Interface* client) {
  auto* c = AsClient(client);
  return c == nullptr ? nullptr : c->Receive();
}

RN_EXPORT int RN_ClientSend2(RN_Interface* client, RN_BitStream* stream, int, int reliability, int channel) {
  auto* c = AsClient(client);
  if (c == nullptr || !SendableData(stream, channel)) return 0;
  return c->Send(*stream, reliability, channel);
}

RN_EXPORT RN_Packet* RN_ClientDeallocatePacket(RN_Interface*, RN_Packet* packet) {
  return qxrnet::FreePacket(packet);
}

RN_EXPORT RN_Interface* RN_DestroyRakClientInterface(RN_Interface* client) {
  return CloseAndFree(AsClient(client));
}

RN_EXPORT int RN_ClientGetAveragePing(RN_Interface* client) {
  auto* c = AsClient(client);
  return c == nullptr ? -1 : c->AveragePing();
}
