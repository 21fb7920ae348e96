// The joined client's per-frame message step: ping, mode request, and every message from the host.
#include "net/dispatcher.h"

#include "net/client_internal.h"
#include "net/envelope.h"
#include "net/messages.h"
#include "net/net_globals.h"
#include "net/netlib_binding.h"
#include "platform/clock.h"
#include "platform/system.h"
#include "world/records.h"

int Disconnected = 0;
int RedScore = 0, BlueScore = 0;

namespace {

// Library events the joined client acts on: the host is gone.
constexpr int DisconnectionNotification = 20;
constexpr int ConnectionLost = 21;

void PingHost() {
  const int now = MilliSecs();
  if (MsSince(PingTimer, now) <= PingIntervalMs) return;
  PingTimer = now;
  const int ping = NetLib.ClientGetAveragePing(NetInterface);
  WriteMessage(MsgPing{.slot = MySlot, .ping = ping < 0 ? 0 : ping});
  NetSend(-1);
  if (Game.bannerTitle.empty()) {
    WriteMessage(MsgGameModeRequest{.slot = MySlot});
    NetSend(-1);
  }
}

void HandleGameMessage(int type) {
  switch (type) {
    case MsgChat::type: ClientChat(); break;
    case MsgPlayerStates::type: ClientPlayerStates(); break;
    case MsgNameTable::type: ClientNameTable(); break;
    case MsgPickupForward::type: ClientPickupTaken(); break;
    case MsgLeave::type: ClientLeave(); break;
    case MsgRoomQuery::type: ClientRoomQuery(); break;
    case MsgRoomState::type: ClientRoomState(); break;
    case MsgRoomPickups::type: ClientRoomPickups(); break;
    case MsgWaitForRoom::type: RoomStateWait = 1; break;
    default: ClientGameModeMessage(type); break;
  }
}

}  // namespace

void ClientHandlePacket() {
  switch (NetReadByte()) {
    case GameMessageId:
      HandleGameMessage(NetReadByte());
      break;
    case DisconnectionNotification:
    case ConnectionLost:
      // Without the host there is no game: the session ends instead of waiting in silence.
      Disconnected = 1;
      Notify("The connection to the host was lost");
      break;
    default:
      break;
  }
}

void ClientNetUpdate() {
  if (NetInterface == nullptr) return;
  PingHost();
  while (!Disconnected && NetReceive()) {
    ClientHandlePacket();
    NetFreePacket();
  }
}
