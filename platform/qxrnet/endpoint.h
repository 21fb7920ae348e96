// RN_Interface: one ENet host, serviced by the program's calls and by a thread that covers for it.
#pragma once

#include <enet/enet.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

#include "platform/qxrnet/bitstream.h"
#include "platform/qxrnet/qxrnet.h"
#include "platform/qxrnet/receive_queue.h"

struct RN_Interface {
  enum class Kind { Server, Client };

  explicit RN_Interface(Kind kind);
  virtual ~RN_Interface();
  RN_Interface(const RN_Interface&) = delete;
  RN_Interface& operator=(const RN_Interface&) = delete;

  const Kind kind;

  // The oldest queued packet or event, or nullptr. Program thread. When nothing is queued
  // it services the host itself first (unless the service thread is at it just then), so
  // arriving data does not wait for the other thread.
  RN_Packet* Receive();

 protected:
  // Takes ownership of host and starts the service thread over it.
  void StartService(ENetHost* host, int threadSleepMs);
  // Stops and joins the service thread; the host stays.
  void StopService();
  // Services host for up to ms, handing events to HandleEvent, until done() holds.
  template <typename Done>
  void ServiceUntil(uint32_t ms, Done done);
  // Destroys the host (connections dropped without notice) and frees the queue.
  void DestroyHost();

  // Called with hostMutex_ held, by whichever thread services the host.
  virtual void HandleEvent(ENetEvent& event) = 0;
  // Called for every datagram the host receives, before ENet reads it (host_->receivedData),
  // with hostMutex_ held; true swallows it.
  virtual bool Swallow() { return false; }
  // Timers (handshake deadlines, silence, pings); called every few milliseconds.
  virtual void Tick(uint32_t now) = 0;
  // Disconnects a peer whose data went over its share of the receive queue, and queues its
  // loss event (its queued data is already gone).
  virtual void CutOff(RN_PlayerId sender) = 0;

  // Queues data from the wire, cutting off the sender that went over its share, if any.
  void QueueData(RN_Packet* packet);
  void QueueEvent(uint8_t id, RN_PlayerId sender);

  // Sends bytes to peer on channel: reliable, or unreliable-sequenced. Then flushes.
  static bool SendBytes(ENetPeer* peer, const uint8_t* data, size_t size, int channel, bool reliable);
  static ENetPacket* MakeEnetPacket(const uint8_t* data, size_t size, bool reliable);

  std::mutex hostMutex_;
  ENetHost* host_ = nullptr;

  // While alive, the datagrams this thread's ENet calls receive go to iface's Swallow.
  class ServicingScope {
   public:
    explicit ServicingScope(RN_Interface* iface);
    ~ServicingScope();
    ServicingScope(const ServicingScope&) = delete;
    ServicingScope& operator=(const ServicingScope&) = delete;

   private:
    RN_Interface* previous_;
  };
  // One enet_host_service call without waiting. A datagram ENet cannot read (larger than
  // its buffer) makes it return an error after taking that one datagram off the socket;
  // that ends nothing here: up to a bound, the next datagrams are read all the same.
  // Returns what enet_host_service returned last.
  int ServiceStep(ENetEvent& event, int waitMs);

 private:
  static int ENET_CALLBACK InterceptDatagram(ENetHost* host, ENetEvent* event);
  void ServiceLoop();
  // Takes the events the host has now (all of them, or only until something has been
  // queued for the program), then runs the timers when due.
  void ServiceOnce(bool untilQueued);

  std::thread thread_;
  std::atomic<bool> stopping_{false};
  int waitMs_ = 1;
  uint32_t lastTick_ = 0;
  std::atomic<uint32_t> programServicedAt_{0};  // when Receive last serviced the host (Now())
  qxrnet::ReceiveQueue queue_;
};

// The reliability codes that are sent as reliable-ordered.
bool IsReliable(int reliability);
// Checks what every Send refuses: empty, too large, first byte below 64, bad channel.
bool SendableData(const RN_BitStream* stream, int channel);

// What both Destroy functions do with their end (nullptr is fine): close it, free it, and
// return nullptr.
template <typename End>
RN_Interface* CloseAndFree(End* end) {
  if (end != nullptr) {
    end->Close();
    delete end;
  }
  return nullptr;
}

template <typename Done>
void RN_Interface::ServiceUntil(uint32_t ms, Done done) {
  const uint32_t start = enet_time_get();
  ENetEvent event;
  while (!done() && enet_time_get() - start < ms) {
    if (ServiceStep(event, 5) > 0) HandleEvent(event);
  }
}
