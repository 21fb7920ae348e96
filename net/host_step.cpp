// The host's per-frame network step: heartbeat, draining the queue, silence drop, states, rounds.
#include "net/host_step.h"

#include <array>

#include "net/envelope.h"
#include "net/host_internal.h"
#include "net/host_rules.h"
#include "net/messages.h"
#include "net/net_globals.h"
#include "net/netlib_binding.h"
#include "platform/clock.h"
#include "world/records.h"

namespace {

// Library events the host acts on (first payload byte below 64).
constexpr int NewIncomingConnection = 18;
constexpr int DisconnectionNotification = 20;
constexpr int ConnectionLost = 21;

void SendHeartbeat() {
  const int now = MilliSecs();
  if (MsSince(PingTimer, now) <= PingIntervalMs) return;
  PingTimer = now;
  WriteMessage(MsgHeartbeat{.hostTime = NetTime(), .gameMode = HostMode, .roundStart = RoundStartTime,
                            .running = RoundRunning});
  NetSend(-1);
}

void HandleGameMessage(int type) {
  switch (type) {
    case MsgChat::type: HostChat(); break;
    case MsgPlayerState::type: HostOwnState(); break;
    case MsgWelcomeRequest::type: HostWelcomeRequest(); break;
    case MsgJoin::type: HostJoin(); break;
    case MsgPickupTaken::type: HostPickupMessage(); break;
    case MsgLeave::type: HostLeave(); break;
    case MsgEnterRoom::type: HostEnterRoom(); break;
    case MsgRoomState::type: HostRoomState(); break;
    case MsgPing::type: HostPing(); break;
    case MsgNotInRoom::type: HostNotInRoom(); break;
    default: HostGameModeMessage(type); break;
  }
}

}  // namespace

int SenderSlot() {
  if (CurrentPacket == nullptr) return -1;
  const RN_PlayerId sender = NetLib.PacketGetplayerID(CurrentPacket);
  if (sender == -1 || sender == UnassignedId) return -1;
  for (int slot = 0; slot < MaxPlayers; ++slot) {
    if (Slots[slot].netId == sender) return slot;
  }
  return -1;
}

bool SpeaksForSender(int slot) { return ValidSlot(slot) && SenderSlot() == slot; }

SenderAllowances& AllowancesOf(int slot) {
  static std::array<SenderAllowances, MaxPlayers> allowances;
  SenderAllowances& held = allowances[slot];
  if (held.holder != Slots[slot].netId) {
    held = SenderAllowances{};
    held.holder = Slots[slot].netId;
  }
  return held;
}

void HostHandlePacket() {
  switch (NetReadByte()) {
    case NewIncomingConnection: HostAdmit(); break;
    case DisconnectionNotification:
    case ConnectionLost: PlayerLeft(-1); break;
    case GameMessageId: HandleGameMessage(NetReadByte()); break;
    default: break;  // other events, and data that is no game message
  }
}

void HostNetUpdate() {
  if (NetInterface == nullptr) return;
  SendHeartbeat();
  for (int handled = 0; handled < HostStepPackets && NetReceive(); ++handled) {
    HostHandlePacket();
    NetFreePacket();
  }
  HostDropSilentPlayers();
  if (MsSince(NextStateTime, MilliSecs()) > 0) {
    HostBroadcastStates();
    NextStateTime = MsAfter(MilliSecs(), StateInterval);
  }
  HostRoundChecks();
}
