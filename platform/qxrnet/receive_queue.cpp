// The receive queue's bounds: per-sender and total shares, dropping unreliable data, cutting off senders.
#include "platform/qxrnet/receive_queue.h"

#include <algorithm>

#include "platform/qxrnet/wire.h"

namespace qxrnet {
namespace {

// One sender's share: minutes of a game's reliable traffic for a program that does not
// drain (a long message box), yet little memory.
constexpr size_t kPeerPackets = 1024;
constexpr size_t kPeerBytes = 512 * 1024;
// The whole queue: a full game's worth of shares and some more, never much memory.
constexpr size_t kTotalPackets = 8192;
constexpr size_t kTotalBytes = 4 * 1024 * 1024;

bool IsData(const RN_Packet& p) { return p.stream.data[0] >= kFirstDataByte; }

}  // namespace

ReceiveQueue::~ReceiveQueue() { Clear(); }

void ReceiveQueue::Count(const RN_Packet& p, int sign) {
  const size_t size = p.stream.data.size();
  auto apply = [&](Share& s) {
    if (sign > 0) {
      s.packets += 1;
      s.bytes += size;
      if (!p.reliable) s.unreliablePackets += 1, s.unreliableBytes += size;
    } else {
      s.packets -= 1;
      s.bytes -= size;
      if (!p.reliable) s.unreliablePackets -= 1, s.unreliableBytes -= size;
    }
  };
  apply(total_);
  const auto it = shares_.try_emplace(p.sender).first;
  apply(it->second);
  if (it->second.packets == 0) shares_.erase(it);
}

std::optional<RN_PlayerId> ReceiveQueue::PushData(RN_Packet* packet) {
  std::lock_guard lock(mutex_);
  const size_t size = packet->stream.data.size();
  const auto found = shares_.find(packet->sender);
  const Share mine = found == shares_.end() ? Share{} : found->second;

  std::optional<RN_PlayerId> cut;
  if (!packet->reliable) {
    // Unreliable data may be lost anyway: under pressure it is.
    if (mine.unreliablePackets + 1 > kPeerPackets / 2 || mine.unreliableBytes + size > kPeerBytes / 2 ||
        total_.unreliablePackets + 1 > kTotalPackets / 2 || total_.unreliableBytes + size > kTotalBytes / 2) {
      delete packet;
      return std::nullopt;
    }
  } else if (mine.packets + 1 > kPeerPackets || mine.bytes + size > kPeerBytes) {
    cut = packet->sender;
  } else if (total_.packets + 1 > kTotalPackets) {
    cut = LargestHolder(false);
  } else if (total_.bytes + size > kTotalBytes) {
    cut = LargestHolder(true);
  }
  if (cut) {
    DiscardLocked(*cut);
    if (*cut == packet->sender) {
      delete packet;
      return cut;
    }
    // The largest holder's share is free again, and this packet fits.
  }
  Count(*packet, +1);
  queue_.push_back(packet);
  ++queued_;
  return cut;
}

RN_PlayerId ReceiveQueue::LargestHolder(bool byBytes) const {
  const auto largest = std::max_element(shares_.begin(), shares_.end(), [byBytes](const auto& a, const auto& b) {
    return byBytes ? a.second.bytes < b.second.bytes : a.second.packets < b.second.packets;
  });
  return largest->first;  // the total is over its bound, so some sender holds data
}

void ReceiveQueue::DiscardLocked(RN_PlayerId sender) {
  const auto from = std::stable_partition(queue_.begin(), queue_.end(),
                                          [sender](RN_Packet* p) { return p->sender != sender || !IsData(*p); });
  for (auto it = from; it != queue_.end(); ++it) {
    Count(**it, -1);
    delete *it;
  }
  queue_.erase(from, queue_.end());
}

void ReceiveQueue::PushEvent(RN_Packet* event) {
  std::lock_guard lock(mutex_);
  queue_.push_back(event);
  ++queued_;
}

RN_Packet* ReceiveQueue::Pop() {
  std::lock_guard lock(mutex_);
  if (queue_.empty()) return nullptr;
  RN_Packet* p = queue_.front();
  queue_.pop_front();
  if (IsData(*p)) Count(*p, -1);
  return p;
}

void ReceiveQueue::Clear() {
  std::lock_guard lock(mutex_);
  for (RN_Packet* p : queue_) delete p;
  queue_.clear();
  shares_.clear();
  total_ = Share{};
}

}  // namespace qxrnet
