// The host's timers: dropping silent players, and the states broadcast with the host's own view.
#include "net/dispatcher.h"
#include "net/envelope.h"
#include "net/host_internal.h"
#include "net/host_rules.h"
#include "net/messages.h"
#include "net/net_globals.h"
#include "platform/clock.h"
#include "world/dedicated.h"
#include "world/enter_room.h"
#include "world/game_modes.h"
#include "world/records.h"
#include "world/team_rules.h"

namespace {

constexpr int WalkFrames = 4;

bool Listed(const PlayersDetails& d) { return !d.name.empty() && d.name != ".@"; }

// The hosting client shows a remote player where its last state put it, walking while it moves.
void ShowRemotePlayer(int slot) {
  const PlayersDetails& d = Slots[slot];
  PlayerType& player = Players[slot];
  player.room = d.room;
  player.score = d.score;
  player.lives = d.lives;
  player.following = d.following;
  player.percent = d.percent;
  player.ping = d.ping;
  if (!player.sprite) return;
  sprite& s = *player.sprite;
  s.SetPosition(static_cast<float>(d.x), static_cast<float>(d.y));
  s.mirrored = d.frame;
  if (d.room == Game.room) s.Show();
  else s.Hide();
  if (static_cast<int>(s.x) != player.lastX) s.SetFrame(s.frame + 1 >= WalkFrames ? 0 : s.frame + 1);
  player.lastX = static_cast<int>(s.x);
}

// A spectating host follows the viewed player from room to room.
void FollowViewedPlayer() {
  if (!Game.spectating || !ValidSlot(Game.viewedPlayer)) return;
  const int room = Players[Game.viewedPlayer].room;
  if (room == Game.room || !ValidRoom(room)) return;
  if (room == LoungeRoom) {
    StopSpectating();
    if (Players[MySlot].sprite) Players[MySlot].sprite->Show();
  } else {
    Game.room = room;
    if (Players[Game.viewedPlayer].sprite) Players[Game.viewedPlayer].sprite->Show();
  }
  EnterRoom();
}

}  // namespace

void HostDropSilentPlayers() {
  const int now = MilliSecs();
  for (int slot = 0; slot < MaxPlayers; ++slot) {
    if (Slots[slot].name.empty() || (Hosting && !Dedicated && slot == 0)) continue;
    if (MsSince(Slots[slot].lastSeen, now) > SilenceDropMs) PlayerLeft(slot);
  }
}

void HostBroadcastStates() {
  MsgPlayerStates states;
  RedScore = 0;
  BlueScore = 0;
  if (Hosting && !Dedicated) Slots[0].score = Players[0].score;
  for (int slot = 0; slot < MaxPlayers; ++slot) {
    const PlayersDetails& d = Slots[slot];
    if (!Listed(d)) continue;
    states.entries.push_back({.slot = slot, .x = d.x, .y = d.y, .mirrored = d.frame, .room = d.room,
                              .score = d.score, .lives = d.lives, .following = d.following,
                              .percent = d.percent, .ping = d.ping});
    if (d.team == TeamRed) RedScore += d.score;
    if (d.team == TeamBlue) BlueScore += d.score;
    if (Hosting && !Dedicated && slot != 0) ShowRemotePlayer(slot);
  }
  if (states.entries.empty()) return;
  WriteMessage(states);
  NetSendUnreliable();
  if (Hosting && !Dedicated) FollowViewedPlayer();
}
