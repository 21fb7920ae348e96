// Reporting the own player's state: to the host, or straight into the hosting client's own slot.
#include "net/dispatcher.h"
#include "net/envelope.h"
#include "net/messages.h"
#include "platform/clock.h"
#include "world/local_hero.h"
#include "world/records.h"

void SendPlayerState(int reliable) {
  if (Game.singlePlayer) return;
  PlayerType* hero = LocalHero();
  if (hero == nullptr) return;
  MsgPlayerState state;
  state.slot = MySlot;
  state.x = static_cast<int>(hero->sprite->x);
  state.y = static_cast<int>(hero->sprite->y);
  state.mirrored = hero->sprite->mirrored;
  state.room = Game.spectating ? Game.ownRoom : Game.room;
  state.following = Game.spectating ? Game.viewedPlayer : NoPlayer;
  state.score = hero->score;
  state.lives = hero->lives;
  state.percent = hero->percent;
  if (Hosting) {
    PlayersDetails& own = Slots[MySlot];
    own.x = state.x;
    own.y = state.y;
    own.frame = state.mirrored;
    own.room = state.room;
    own.following = static_cast<Byte>(state.following);
    own.score = state.score;
    own.lives = static_cast<Byte>(state.lives);
    own.percent = static_cast<Byte>(state.percent);
  } else {
    WriteMessage(state);
    if (reliable) NetSend(-1);
    else NetSendUnreliable();
  }
  Moved = 0;
  LastSendTime = MilliSecs();
}
