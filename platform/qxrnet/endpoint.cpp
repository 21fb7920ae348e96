// The service thread of an interface: ENet upkeep, the receive queue and the locking between the two.
#include "platform/qxrnet/endpoint.h"

#include <algorithm>
#include <mutex>

#include "platform/qxrnet/settings.h"
#include "platform/qxrnet/wire.h"

namespace {

// Data packets kept for a program that does not drain its queue (a long message box):
// about a minute of a full game's traffic. Events are always kept.
constexpr size_t kMaxQueuedData = 16384;

void InitialiseEnetOnce() {
  static std::once_flag once;
  std::call_once(once, [] { enet_initialize(); });
}

}  // namespace

RN_Interface::RN_Interface(Kind k) : kind(k) { InitialiseEnetOnce(); }

RN_Interface::~RN_Interface() {
  StopService();
  DestroyHost();
}

RN_Packet* RN_Interface::Receive() {
  std::lock_guard lock(queueMutex_);
  if (queue_.empty()) return nullptr;
  RN_Packet* p = queue_.front();
  queue_.pop_front();
  if (p->stream.data[0] >= qxrnet::kFirstDataByte) --queuedData_;  // events are never counted
  return p;
}

void RN_Interface::StartService(ENetHost* host, int threadSleepMs) {
  host_ = host;
  // No single packet larger than the library allows, and little buffered for a peer
  // that floods us with fragments.
  host_->maximumPacketSize = RN_MAX_PACKET_BYTES;
  host_->maximumWaitingData = 4 * 1024 * 1024;
  // Traffic wakes the thread at once; the wait only paces timers (resends, pings,
  // time-outs), for which 5 ms is fine and spares the processor.
  waitMs_ = std::clamp(threadSleepMs, 5, 50);
  stopping_ = false;
  thread_ = std::thread([this] { ServiceLoop(); });
}

void RN_Interface::StopService() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
}

void RN_Interface::DestroyHost() {
  if (host_ != nullptr) {
    enet_host_destroy(host_);
    host_ = nullptr;
  }
  std::lock_guard lock(queueMutex_);
  for (RN_Packet* p : queue_) delete p;
  queue_.clear();
  queuedData_ = 0;
}

void RN_Interface::ServiceLoop() {
  while (!stopping_) {
    // Wait for traffic outside the lock, so sends from the program never wait on it.
    enet_uint32 condition = ENET_SOCKET_WAIT_RECEIVE | ENET_SOCKET_WAIT_INTERRUPT;
    enet_socket_wait(host_->socket, &condition, static_cast<enet_uint32>(waitMs_));
    std::lock_guard lock(hostMutex_);
    ServiceOnce();
  }
}

void RN_Interface::ServiceOnce() {
  ENetEvent event;
  for (;;) {
    const int r = enet_host_service(host_, &event, 0);
    if (r <= 0) break;
    HandleEvent(event);
  }
  Tick(qxrnet::Now());
}

void RN_Interface::Queue(RN_Packet* packet) {
  std::lock_guard lock(queueMutex_);
  if (queuedData_ >= kMaxQueuedData) {
    delete packet;
    return;
  }
  queue_.push_back(packet);
  ++queuedData_;
}

void RN_Interface::QueueEvent(uint8_t id, RN_PlayerId sender) {
  std::lock_guard lock(queueMutex_);
  queue_.push_back(qxrnet::MakeEvent(id, sender));
}

ENetPacket* RN_Interface::MakeEnetPacket(const uint8_t* data, size_t size, bool reliable) {
  return enet_packet_create(data, size, reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
}

bool RN_Interface::SendBytes(ENetPeer* peer, const uint8_t* data, size_t size, int channel, bool reliable) {
  ENetPacket* packet = MakeEnetPacket(data, size, reliable);
  if (packet == nullptr) return false;
  if (enet_peer_send(peer, static_cast<enet_uint8>(channel), packet) < 0) {
    enet_packet_destroy(packet);
    return false;
  }
  enet_host_flush(peer->host);
  return true;
}

bool IsReliable(int reliability) {
  return reliability == RN_RELIABLE || reliability == RN_RELIABLE_ORDERED || reliability == RN_RELIABLE_SEQUENCED;
}

bool SendableData(const RN_BitStream* stream, int channel) {
  if (stream == nullptr || stream->data.empty()) return false;
  if (stream->data.size() > static_cast<size_t>(RN_MAX_PACKET_BYTES)) return false;
  if (stream->data[0] < qxrnet::kFirstDataByte) return false;
  return channel >= 0 && channel < qxrnet::kDataChannels;
}
