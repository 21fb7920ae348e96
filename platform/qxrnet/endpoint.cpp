// Servicing an interface's host from the program's calls and from the service thread; the receive queue.
#include "platform/qxrnet/endpoint.h"

#include <algorithm>
#include <chrono>
#include <mutex>

#include "platform/qxrnet/settings.h"
#include "platform/qxrnet/wire.h"

namespace {

// The timers need no finer steps than this.
constexpr uint32_t kTickMs = 5;
// While the program thread services the host itself (a game calls in every frame), the
// service thread leaves it alone: it only takes over once the program has not called in for
// this long (a modal box, a sleep), so a busy host is not woken twice for every datagram.
constexpr uint32_t kProgramTurnMs = 50;
// Data ENet may hold per peer before handing it over (fragments being put together,
// packets waiting for an earlier one); beyond it ENet stops acknowledging, so the peer
// resends instead of anything being lost.
constexpr size_t kMaxWaitingBytes = 256 * 1024;

// Unreadable datagrams one service step reads past before it gives the rest its turn (a
// flood of them must not hold the thread that services the host for ever).
constexpr int kMostUnreadablePerStep = 256;

// The interface whose host this thread is servicing just now.
thread_local RN_Interface* servicing = nullptr;

void InitialiseEnetOnce() {
  static std::once_flag once;
  std::call_once(once, [] { enet_initialize(); });
}

}  // namespace

RN_Interface::RN_Interface(Kind k) : kind(k) { InitialiseEnetOnce(); }

RN_Interface::ServicingScope::ServicingScope(RN_Interface* iface) : previous_(servicing) { servicing = iface; }

RN_Interface::ServicingScope::~ServicingScope() { servicing = previous_; }

int ENET_CALLBACK RN_Interface::InterceptDatagram(ENetHost*, ENetEvent*) {
  return servicing != nullptr && servicing->Swallow() ? 1 : 0;
}

int RN_Interface::ServiceStep(ENetEvent& event, int waitMs) {
  ServicingScope scope(this);
  int r = enet_host_service(host_, &event, static_cast<enet_uint32>(waitMs));
  for (int unreadable = 1; r < 0 && unreadable < kMostUnreadablePerStep; ++unreadable) {
    r = enet_host_service(host_, &event, 0);
  }
  return r;
}

RN_Interface::~RN_Interface() {
  StopService();
  DestroyHost();
}

RN_Packet* RN_Interface::Receive() {
  if (RN_Packet* p = queue_.Pop()) return p;
  {
    std::unique_lock lock(hostMutex_, std::try_to_lock);
    if (lock.owns_lock() && host_ != nullptr) {
      // What is left waits in ENet for the next call, or for the service thread.
      ServiceOnce(true);
      programServicedAt_ = qxrnet::Now();
    }
  }
  return queue_.Pop();
}

void RN_Interface::StartService(ENetHost* host, int threadSleepMs) {
  host_ = host;
  // Nothing larger than the largest game message is sent or taken in.
  host_->maximumPacketSize = RN_MAX_PACKET_BYTES;
  host_->maximumWaitingData = kMaxWaitingBytes;
  host_->intercept = InterceptDatagram;
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
  queue_.Clear();
}

void RN_Interface::ServiceLoop() {
  while (!stopping_) {
    const uint32_t sinceProgram = qxrnet::Now() - programServicedAt_;
    if (sinceProgram < kProgramTurnMs) {
      std::this_thread::sleep_for(std::chrono::milliseconds(kProgramTurnMs - sinceProgram));
      continue;
    }
    // Wait for traffic outside the lock, so the program's calls never wait on it.
    enet_uint32 condition = ENET_SOCKET_WAIT_RECEIVE | ENET_SOCKET_WAIT_INTERRUPT;
    enet_socket_wait(host_->socket, &condition, static_cast<enet_uint32>(waitMs_));
    std::unique_lock lock(hostMutex_, std::try_to_lock);
    if (lock.owns_lock()) {
      ServiceOnce(false);
    } else {
      // The program thread is in a call just now and services the host itself; stand back
      // a moment instead of spinning on the traffic it is about to take.
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
}

void RN_Interface::ServiceOnce(bool untilQueued) {
  const uint64_t queuedBefore = queue_.Queued();
  ENetEvent event;
  for (;;) {
    if (ServiceStep(event, 0) <= 0) break;
    HandleEvent(event);
    if (untilQueued && queue_.Queued() != queuedBefore) break;
  }
  const uint32_t now = qxrnet::Now();
  if (now - lastTick_ >= kTickMs) {
    lastTick_ = now;
    Tick(now);
  }
}

void RN_Interface::QueueData(RN_Packet* packet) {
  if (const auto over = queue_.PushData(packet)) CutOff(*over);
}

void RN_Interface::QueueEvent(uint8_t id, RN_PlayerId sender) { queue_.PushEvent(qxrnet::MakeEvent(id, sender)); }

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
