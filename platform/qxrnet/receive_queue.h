// What arrived for the program: a queue of packets and events, bounded per sender and in total.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "platform/qxrnet/bitstream.h"

namespace qxrnet {

// Data is counted against its sender's share (packets and bytes) and against the whole
// queue. Unreliable data may take at most half of either and is dropped beyond that, which
// keeps the other half for reliable data. Reliable data is never dropped while its sender
// stays: a sender whose reliable data does not fit is cut off instead, and so is the
// largest holder when the whole queue is full. A cut-off sender's queued data is
// discarded; its caller must disconnect it and queue its loss event.
// Events are few (one or two per connection) and always kept.
// Thread-safe: filled by whoever services the host, emptied by the program thread.
class ReceiveQueue {
 public:
  ReceiveQueue() = default;
  ~ReceiveQueue();
  ReceiveQueue(const ReceiveQueue&) = delete;
  ReceiveQueue& operator=(const ReceiveQueue&) = delete;

  // Takes data from packet->sender. Returns the sender to cut off, if any (that sender's
  // data, packet included when it is the one, is gone).
  std::optional<RN_PlayerId> PushData(RN_Packet* packet);
  void PushEvent(RN_Packet* event);
  // The oldest packet or event, or nullptr.
  RN_Packet* Pop();
  // How many packets and events have been queued so far (a count that only grows).
  uint64_t Queued() const { return queued_; }
  // Frees everything queued.
  void Clear();

 private:
  struct Share {
    size_t packets = 0, bytes = 0;
    size_t unreliablePackets = 0, unreliableBytes = 0;
  };
  void Count(const RN_Packet& p, int sign);
  void DiscardLocked(RN_PlayerId sender);
  RN_PlayerId LargestHolder(bool byBytes) const;

  std::mutex mutex_;
  std::deque<RN_Packet*> queue_;
  std::unordered_map<RN_PlayerId, Share> shares_;  // senders with data queued
  Share total_;
  std::atomic<uint64_t> queued_{0};
};

}  // namespace qxrnet
