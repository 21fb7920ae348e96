// Drives the host step under test from outside: the real server interface on a free loopback
// port, remote players on real client interfaces, and the step pumped until what a test waits
// for has happened. Used with the hosting client and with the dedicated server's build.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "net/host_step.h"
#include "net/net_globals.h"
#include "platform/clock.h"
#include "tests/net/net_harness.h"
#include "tests/net/remote_player.h"
#include "world/records.h"
#include "world/text_utils.h"

namespace online_test {

// A player name as the game stores it: centred in 8 characters.
inline std::string Name8(const std::string& name) { return AlignText(name, 8, "C").substr(0, 8); }

// Every slot record free, as a new session leaves them.
inline void FreeAllSlots() {
  const int now = MilliSecs();
  for (int slot = 0; slot < MaxPlayers; ++slot) {
    PlayersDetails& d = Slots[slot];
    d = PlayersDetails{};
    d.netId = -1;
    d.room = LoungeRoom;
    d.x = d.y = 999;
    d.following = NoPlayer;
    d.lastSeen = now;
    Players[slot].name.clear();
    Players[slot].team = 0;
    Players[slot].following = NoPlayer;
  }
}

// Round and host state back to "no game".
inline void ClearRoundState() {
  HostMode = 0;
  RoundStartTime = 0;
  RoundEndTime = 0;
  RoundRunning = 0;
  ModeSetTime = 0;
  RoundClock = 0;
  BluePickupCount = RedPickupCount = 0;
  AdminSlot = -1;
  IsAdmin = 0;
  ConnectionCount = 0;
  RoomStateWait = 0;
  TagTargetSlot = 0;
  for (int& target : ChainTargets) target = 0;
  for (ChatMessagesType& line : ChatLines) line = ChatMessagesType{};
}

class HostDriver {
 protected:
  // Starts the server interface as the host's NetInterface; no heartbeat or states broadcast
  // goes out during a test unless it asks for one.
  void StartHost() {
    net_harness::BindLibrary();
    PingTimer = MilliSecs();
    NextStateTime = MilliSecs() + 1000000;
    server_ = net_harness::StartServer();
    NetInterface = server_.iface;
    // The library's clock starts near 0 when it is loaded, and a round start time of 0 or 1
    // means "no game": times a test puts just before now need a clock that has run a while.
    while (NetTime() < 100) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  void StopHost() {
    remotes_.clear();
    NetInterface = nullptr;
    if (server_.iface) NetLib.DestroyRakServerInterface(server_.iface);
    server_ = {};
  }

  // Runs the host step (and polls every remote player) until done() or timeoutMs.
  bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      HostNetUpdate();
      for (auto& remote : remotes_) remote->Poll();
      if (done()) return true;
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

  // A new connection, admitted and welcomed by the host step.
  RemotePlayer& Connect() {
    remotes_.push_back(std::make_unique<RemotePlayer>(server_.port));
    RemotePlayer& remote = *remotes_.back();
    EXPECT_TRUE(PumpUntil([&] { return !remote.Received<MsgWelcome>().empty(); })) << "no welcome";
    if (!remote.Received<MsgWelcome>().empty()) remote.slot = remote.Received<MsgWelcome>()[0].slot;
    return remote;
  }

  // A connection that joins with name and skin; the player waits in the lounge.
  RemotePlayer& Join(const std::string& name, int skin = 0) {
    RemotePlayer& remote = Connect();
    remote.Send(MsgJoin{.nameAndSlot = Name8(name) + std::to_string(remote.slot), .skin = skin});
    // The team table is the last word of a join to the joining player.
    EXPECT_TRUE(PumpUntil([&] { return !remote.Received<MsgTeamTable>().empty(); })) << "no join";
    Slots[remote.slot].room = LoungeRoom;
    Slots[remote.slot].x = Slots[remote.slot].y = 999;
    remote.Forget();
    return remote;
  }

  // Waits until the host has handled everything remote sent before: the host answers a mode
  // request on the same ordered channel, after the earlier messages.
  void Sync(RemotePlayer& remote) {
    const size_t before = remote.Received<MsgGameMode>().size();
    remote.Send(MsgGameModeRequest{.slot = remote.slot});
    EXPECT_TRUE(PumpUntil([&] { return remote.Received<MsgGameMode>().size() > before; })) << "no answer";
  }

  // Waits until everything the host sent remote on the game channel so far has arrived.
  void Drain(RemotePlayer& remote) {
    const size_t before = remote.Received<MsgTagged>().size();
    WriteMessage(MsgTagged{.slot = 77});  // a marker no rule sends
    NetSend(remote.slot);
    EXPECT_TRUE(PumpUntil([&] { return remote.Received<MsgTagged>().size() > before; })) << "marker lost";
  }

  // Marks slots as held by connections that are not there (their messages go nowhere), so
  // that the next real connection gets a chosen slot.
  static void HoldSlots(int first, int last) {
    for (int slot = first; slot <= last; ++slot) Slots[slot].netId = 100000 + slot;
  }
  // A named player without a connection, in room at (x, y).
  static void Seat(int slot, const std::string& name, int room, int x = 100, int y = 352) {
    Slots[slot].netId = 100000 + slot;
    Slots[slot].name = Players[slot].name = Name8(name);
    Slots[slot].room = room;
    Slots[slot].x = x;
    Slots[slot].y = y;
    Slots[slot].lastSeen = MilliSecs();
  }

  net_harness::Server server_;
  std::vector<std::unique_ptr<RemotePlayer>> remotes_;
};

}  // namespace online_test
