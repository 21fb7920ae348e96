// One player of the soak: plays session after session on the server (connects, joins, walks,
// chats, enters rooms, takes pickups, leaves in one of several ways and comes back), each
// session honestly or as a rogue; while honest it checks what the server sends it.
#pragma once

#include <string>

#include "tests/net/protocol_client.h"
#include "tests/server/soak_slots.h"

namespace soak {

// What one player did and saw over the whole soak.
struct PlayerFigures {
  int honestSessions = 0, rogueSessions = 0;
  int statesReceived = 0;      // states broadcasts received while honest
  int longestGapMs = 0;        // the longest wait for one while honest
  Ms longestGapEndedAt = 0;    // and when it ended
  int refusedFull = 0;         // connection attempts turned down as the server was full
  int refusedOther = 0;        // ... closed at once, failed, or never answered
  int longestWaitToJoinMs = 0;
  int vanished = 0, chats = 0, roomsEntered = 0, pickupsTaken = 0, gamesStarted = 0;
  int hostileSent = 0;
};

class SoakPlayer {
 public:
  SoakPlayer(int index, Shared& shared);
  SoakPlayer(const SoakPlayer&) = delete;
  SoakPlayer& operator=(const SoakPlayer&) = delete;

  // Takes in what arrived and checks it; often (every few ms).
  void Pump(Ms now);
  // One step of play (every 50 ms, as a real client reports its state).
  void Act(Ms now);
  // Leaves at the end of the soak and stays away.
  void LeaveForGood(Ms now);

  // Playing honestly in a slot (joined joinedMs ago at least).
  bool HonestFor(Ms now, Ms joinedMs) const;
  int Slot() const { return client_.Slot(); }
  const std::string& Name() const { return client_.Name(); }
  const protocol::Received& Got() const { return client_.Got(); }
  const PlayerFigures& Figures() const { return figures_; }

 private:
  enum class Phase { Offline, Connecting, Playing, Lingering };
  enum class Ending { LeaveAndClose, CloseOnly, LeaveThenLinger, Vanish };

  // The server made this player the game's administrator.
  bool Administrator() const;
  void Connect(Ms now);
  void Join(Ms now);
  void PlayHonestly(Ms now);
  void PlayRogue(Ms now);
  void Walk();
  void TakeKnownPickup();
  void Leave(Ms now, Ending ending);
  // Closes the connection, which the server may hold for heldMs more.
  void CloseConnection(Ms now, int heldMs);
  void GoOffline(Ms now);
  void CheckStates(Ms now);
  void NoteGap(Ms now, int gapMs);
  void CheckEntry(const PlayerStateEntry& entry);
  void CheckMessages(Ms now);
  void Fault(Ms now, const std::string& what);

  const int index_;
  Shared& shared_;
  protocol::ProtocolClient client_;
  Phase phase_ = Phase::Offline;
  bool rogue_ = false;
  bool joined_ = false;   // sent its name this session (a rogue may never do)
  Ms now_ = 0;
  Ms nextAt_ = 0;         // when the phase's next move is due
  Ms connectingSince_ = 0, joinedAt_ = 0;
  int session_ = 0;
  int walkX_ = 64, walkStep_ = 4;
  // The states broadcasts of this session: how many were counted, when the last came.
  int broadcastsSeen_ = 0;
  Ms lastStatesAt_ = 0;
  bool listedChecked_ = false;
  // How far the session's lists have been looked through.
  size_t leavesSeen_ = 0, chatsSeen_ = 0, pickupListsSeen_ = 0, roomStatesSeen_ = 0;
  std::vector<int> knownPickups_;  // present in the room entered last
  PlayerFigures figures_;
};

}  // namespace soak
