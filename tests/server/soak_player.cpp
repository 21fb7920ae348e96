// A soak player's sessions: connecting, joining as an honest player or a rogue, playing,
// leaving, and the checks an honest player makes on everything it receives.
#include "tests/server/soak_player.h"

#include <algorithm>
#include <iterator>

#include "net/messages.h"
#include "tests/net/net_harness.h"
#include "tests/server/soak_rogue.h"

namespace soak {
namespace {

constexpr int Lounge = 180, HomeRoom = 32;
constexpr int LeaveGraceMs = 3000;     // a leave or a disconnection reaches the server at once
constexpr int VanishGraceMs = 25000;   // the server notices 20 s of silence
constexpr int ConnectTimeoutMs = 15000;
constexpr int MaxConnections = 15;
constexpr int CloseGraceMs = 2000;     // a closed connection is gone from the server by then
constexpr int ListedWithinMs = 3000;
constexpr int HostileMessagesPerStep = 3;
// Modes the administrator picks from: every kind of game, and a few the chooser does not offer.
constexpr int Modes[] = {1, 5, 12, 19, 20, 30, 31, 32, 33, 40, 50, 53, 54, 60, 62, 70, 80, 81, 99};
// One game in each world: pitfall, assault, original, jailbreak, laboratory, tower, the maps.
constexpr int WarmUpModes[] = {33, 34, 35, 36, 37, 81, 1};
constexpr int WarmUpGameEveryMs = 3000;

}  // namespace

SoakPlayer::SoakPlayer(int index, Shared& shared) : index_(index), shared_(shared) {
  client_.WatchStates([this](const PlayerStateEntry& entry) { CheckEntry(entry); });
}

bool SoakPlayer::HonestFor(Ms now, Ms joinedMs) const {
  return phase_ == Phase::Playing && !rogue_ && joined_ && now - joinedAt_ >= joinedMs;
}

bool SoakPlayer::Administrator() const {
  const std::vector<int>& admins = client_.Got().admins;
  return joined_ && !admins.empty() && admins.back() == Slot();
}

void SoakPlayer::Fault(Ms now, const std::string& what) {
  shared_.faults.Add(now, "player " + std::to_string(index_) + " (slot " + std::to_string(Slot()) + ", \"" +
                              Name() + "\"): " + what);
}

void SoakPlayer::Pump(Ms now) {
  now_ = now;
  if (phase_ == Phase::Offline) return;
  client_.Pump();
  CheckMessages(now);
  if (HonestFor(now, 0)) CheckStates(now);
}

void SoakPlayer::Act(Ms now) {
  now_ = now;
  switch (phase_) {
    case Phase::Offline:
      if (now >= nextAt_) Connect(now);
      return;
    case Phase::Connecting: {
      const protocol::Received& got = client_.Got();
      if (got.welcomes > 0) return Join(now);
      if (got.full > 0) {
        ++figures_.refusedFull;
        const int held = shared_.ConnectionsHeldAt(connectingSince_, index_);
        if (held < MaxConnections) {
          Fault(now, "refused as the server was full while it held " + std::to_string(held) + " connections");
        }
      } else if (got.attemptFailed + got.invalidPassword + got.disconnected + got.lost > 0 ||
                 now - connectingSince_ > ConnectTimeoutMs) {
        ++figures_.refusedOther;
      } else {
        return;  // still on its way
      }
      CloseConnection(now, CloseGraceMs);
      return GoOffline(now);
    }
    case Phase::Playing:
      if (!client_.Connected()) {
        if (!rogue_) Fault(now, "the server closed the connection of an honest player");
        if (rogue_) --shared_.rogues;
        shared_.slots.Release(Slot(), now, LeaveGraceMs);
        CloseConnection(now, CloseGraceMs);
        return GoOffline(now);
      }
      if (Administrator() && now < shared_.warmUpUntil && now >= shared_.nextWarmUpGameAt) {
        client_.Send(MsgStartGame{WarmUpModes[shared_.warmUpGames++ % std::size(WarmUpModes)]});
        shared_.nextWarmUpGameAt = now + WarmUpGameEveryMs;
        ++figures_.gamesStarted;
      }
      return rogue_ ? PlayRogue(now) : PlayHonestly(now);
    case Phase::Lingering:
      if (now >= nextAt_) {
        CloseConnection(now, CloseGraceMs);
        GoOffline(now);
      }
      return;
  }
}

void SoakPlayer::LeaveForGood(Ms now) {
  now_ = now;
  if (phase_ == Phase::Playing) Leave(now, Ending::LeaveAndClose);
  if (phase_ != Phase::Offline) CloseConnection(now, CloseGraceMs);
  phase_ = Phase::Offline;
  nextAt_ = INT64_MAX;
}

void SoakPlayer::Connect(Ms now) {
  ++session_;
  client_.State() = protocol::OwnState{};
  if (!client_.StartConnect(shared_.port)) {
    ++figures_.refusedOther;
    return GoOffline(now);
  }
  phase_ = Phase::Connecting;
  connectingSince_ = now;
  shared_.connectionOpen[static_cast<size_t>(index_)] = true;
  joined_ = false;
  listedChecked_ = false;
  leavesSeen_ = chatsSeen_ = pickupListsSeen_ = roomStatesSeen_ = 0;
  knownPickups_.clear();
}

void SoakPlayer::Join(Ms now) {
  figures_.longestWaitToJoinMs = std::max<int>(figures_.longestWaitToJoinMs, static_cast<int>(now - connectingSince_));
  // Rogue duty goes round: a player is a rogue at most every other session.
  rogue_ = shared_.rogues < shared_.rogueLimit && figures_.rogueSessions <= figures_.honestSessions;
  const std::string name = (rogue_ ? "R" : "P") + std::to_string(index_) + "." + std::to_string(session_ % 100);
  if (rogue_) {
    ++shared_.rogues;
    ++figures_.rogueSessions;
    joined_ = !shared_.OneIn(4);  // some rogues hold a slot and never give a name
  } else {
    ++figures_.honestSessions;
    joined_ = true;
  }
  shared_.slots.Take(client_.Slot(), index_, !rogue_, now, shared_.faults);
  if (joined_) client_.Join(name, shared_.Between(0, 50));
  phase_ = Phase::Playing;
  joinedAt_ = lastStatesAt_ = now;
  broadcastsSeen_ = client_.Got().statesBroadcasts;
  nextAt_ = now + (rogue_ ? shared_.Between(5000, 20000) : shared_.Between(8000, 40000));
}

void SoakPlayer::Walk() {
  if (walkX_ + walkStep_ < 32 || walkX_ + walkStep_ > 560) walkStep_ = -walkStep_;
  walkX_ += walkStep_;
  client_.MoveTo(walkX_, 352);
}

void SoakPlayer::TakeKnownPickup() {
  const size_t at = static_cast<size_t>(shared_.Between(0, static_cast<int>(knownPickups_.size()) - 1));
  client_.TakePickup(client_.State().room, knownPickups_[at]);
  knownPickups_.erase(knownPickups_.begin() + static_cast<long>(at));
  ++figures_.pickupsTaken;
}

void SoakPlayer::PlayHonestly(Ms now) {
  if (now >= nextAt_) {
    static constexpr Ending Endings[] = {Ending::LeaveAndClose, Ending::LeaveAndClose, Ending::LeaveAndClose,
                                         Ending::CloseOnly,     Ending::CloseOnly,     Ending::LeaveThenLinger,
                                         Ending::Vanish};
    return Leave(now, Endings[shared_.Between(0, 6)]);
  }
  Walk();
  if (shared_.OneIn(100)) {
    client_.Chat("hello, this is " + Name() + " at " + std::to_string(walkX_));
    ++figures_.chats;
  }
  if (shared_.OneIn(80)) {
    const int room = shared_.OneIn(2) ? HomeRoom : shared_.OneIn(4) ? Lounge : shared_.Between(1, 60);
    knownPickups_.clear();
    client_.EnterRoom(room);
    ++figures_.roomsEntered;
  }
  if (!knownPickups_.empty() && shared_.OneIn(30)) TakeKnownPickup();
  if (Administrator()) {
    if (shared_.OneIn(300)) {
      client_.Send(MsgStartGame{Modes[shared_.Between(0, static_cast<int>(std::size(Modes)) - 1)]});
      ++figures_.gamesStarted;
    } else if (shared_.OneIn(600)) {
      client_.Send(MsgResetGame{});
    }
  }
}

void SoakPlayer::PlayRogue(Ms now) {
  if (now >= nextAt_) return Leave(now, shared_.OneIn(2) ? Ending::LeaveAndClose : Ending::CloseOnly);
  if (joined_) Walk();
  for (int i = 0; i < HostileMessagesPerStep; ++i) SendSomethingHostile(client_, shared_.random);
  figures_.hostileSent += HostileMessagesPerStep;
}

void SoakPlayer::Leave(Ms now, Ending ending) {
  if (HonestFor(now, 0)) {
    CheckStates(now);
    const int openGap = static_cast<int>(now - lastStatesAt_ - shared_.OwnStallsSince(lastStatesAt_));
    NoteGap(now, openGap);
    if (openGap > shared_.gapLimitMs) Fault(now, "no states for the last " + std::to_string(openGap) + " ms");
  }
  if (rogue_) --shared_.rogues;
  if (ending == Ending::Vanish && now >= shared_.lastVanishAt) ending = Ending::LeaveAndClose;
  switch (ending) {
    case Ending::LeaveAndClose:
      client_.Leave();
      [[fallthrough]];
    case Ending::CloseOnly:
      shared_.slots.Release(Slot(), now, LeaveGraceMs);
      CloseConnection(now, CloseGraceMs);
      return GoOffline(now);
    case Ending::LeaveThenLinger:
      client_.Leave();
      shared_.slots.Release(Slot(), now, LeaveGraceMs);
      phase_ = Phase::Lingering;
      nextAt_ = now + shared_.Between(500, 3000);
      return;
    case Ending::Vanish:
      net_harness::DropWithoutNotice(client_.Interface());
      shared_.slots.Release(Slot(), now, VanishGraceMs);
      ++figures_.vanished;
      CloseConnection(now, VanishGraceMs);
      return GoOffline(now);
  }
}

void SoakPlayer::CloseConnection(Ms now, int heldMs) {
  client_.Close();
  shared_.ConnectionClosed(index_, now, heldMs);
}

void SoakPlayer::GoOffline(Ms now) {
  phase_ = Phase::Offline;
  nextAt_ = now + shared_.Between(200, 2000);
}

void SoakPlayer::CheckStates(Ms now) {
  const protocol::Received& got = client_.Got();
  if (got.statesBroadcasts != broadcastsSeen_) {
    const int gap = static_cast<int>(now - lastStatesAt_ - shared_.OwnStallsSince(lastStatesAt_));
    NoteGap(now, gap);
    if (gap > shared_.gapLimitMs) Fault(now, "waited " + std::to_string(gap) + " ms for a states broadcast");
    figures_.statesReceived += got.statesBroadcasts - broadcastsSeen_;
    broadcastsSeen_ = got.statesBroadcasts;
    lastStatesAt_ = now;
  }
  if (!listedChecked_ && now - joinedAt_ > ListedWithinMs) {
    listedChecked_ = true;
    if (got.statesOfSlot[static_cast<size_t>(Slot())] == 0) Fault(now, "its slot is never listed in the states");
  }
}

void SoakPlayer::NoteGap(Ms now, int gapMs) {
  if (gapMs <= figures_.longestGapMs) return;
  figures_.longestGapMs = gapMs;
  figures_.longestGapEndedAt = now;
}

void SoakPlayer::CheckEntry(const PlayerStateEntry& entry) {
  if (!HonestFor(now_, 0)) return;
  if (!shared_.slots.MayBeListed(entry.slot, now_)) {
    Fault(now_, "the states list slot " + std::to_string(entry.slot) + ", which nobody holds");
  }
  if (shared_.slots.HeldByHonest(entry.slot) &&
      ((entry.x == ForgedX && entry.y == ForgedY) || entry.ping == ForgedPing)) {
    Fault(now_, "a forged state of slot " + std::to_string(entry.slot) + " was passed on");
  }
}

void SoakPlayer::CheckMessages(Ms now) {
  const protocol::Received& got = client_.Got();
  for (; chatsSeen_ < got.chats.size(); ++chatsSeen_) {
    if (got.chats[chatsSeen_].find(ForgedChatMark) != std::string::npos) {
      Fault(now, "a forged chat line was passed on: " + got.chats[chatsSeen_]);
    }
  }
  for (; leavesSeen_ < got.leaves.size(); ++leavesSeen_) {
    if (HonestFor(now, 0) && got.leaves[leavesSeen_] == Slot()) Fault(now, "its slot was announced as gone");
  }
  // The pickups still present in the room entered last: a list of its own, or with a room state.
  for (; pickupListsSeen_ < got.roomPickups.size(); ++pickupListsSeen_) {
    knownPickups_ = got.roomPickups[pickupListsSeen_];
  }
  for (; roomStatesSeen_ < got.roomStates.size(); ++roomStatesSeen_) {
    if (got.roomStates[roomStatesSeen_].room == client_.State().room) {
      knownPickups_ = got.roomStates[roomStatesSeen_].pickups;
    }
  }
  std::erase_if(knownPickups_, [](int index) { return index < 0 || index >= PickupListEnd; });
}

}  // namespace soak
