// The game session: preparing the local player and the first room, one frame of play, leaving, the exit.
#include "client/game_session.h"

#include "client/bitmap_text.h"
#include "client/chat_entry.h"
#include "client/hud.h"
#include "client/line_editor.h"
#include "client/sound_effects.h"
#include "net/dispatcher.h"
#include "net/envelope.h"
#include "net/host_rules.h"
#include "net/host_step.h"
#include "net/messages.h"
#include "platform/clock.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/system.h"
#include "platform/termination.h"
#include "world/enter_room.h"
#include "world/exits_death.h"
#include "world/game_modes.h"
#include "world/records.h"
#include "world/room_tiles.h"
#include "world/text_utils.h"
#include "world/world_files.h"
#include "world/world_step.h"

int QuitRequested = 0;
int ShowScores = 0;

namespace {

constexpr int StartX = 32, StartY = 352;
constexpr int LeaveDelayMs = 1500;

PlayerType& Me() { return Players[MySlot]; }

bool Online() { return !Game.singlePlayer; }

// A room whose state did not arrive in time is entered again (and then played without it).
void RetryRoomState() {
  if (Game.awaitingRoomState != 1) return;
  RoomStateWait = 1;
  if (MsSince(RoomStateDeadline, MilliSecs()) > 0) {
    RoomStateWait = 0;
    EnterRoom();
  }
}

// Returns false when the connection is gone and the game must be left at once.
bool NetworkStep() {
  if (Hosting) {
    RetryRoomState();
    HostNetUpdate();
  } else if (Online()) {
    RetryRoomState();
    ClientNetUpdate();
    if (Disconnected) return false;
  }
  return true;
}

void MusicKeys() {
  if (NoSound || Game.gameMode == 0) return;
  if (KeyHit(Key::F6)) NextTune(1);
  if (KeyHit(Key::F5)) StopTune();
}

// Tells the others that this player leaves and gives the message time to go out.
void SayGoodbye() {
  WriteMessage(MsgLeave{MySlot});
  NetSend(-1);
  StopTune();
  Delay(LeaveDelayMs);
}

// Escape closes an open chat line; otherwise Escape or the window's close request leaves the
// game (alone or from the lounge) or sends everyone back to the lounge. A termination signal
// leaves the game from any room, as from the lounge, for the program to end. False: leave now.
bool QuitStep() {
  if (QuitSignalled()) {
    FlushKeys();
    if (Online()) SayGoodbye();
    return false;
  }
  if (QuitRequested && Game.chatEntryOpen) {
    FlushKeys();
    EditBuffer.clear();
    Game.chatEntryOpen = 0;
    QuitRequested = 0;
  }
  if (!QuitRequested && !AppTerminate()) return true;
  FlushKeys();
  if (Game.room == LoungeRoom && Online()) {
    SayGoodbye();
    return false;
  }
  if (Game.singlePlayer) return false;
  RequestNewGame();
  return true;
}

void ShowOwnSprite() {
  sprite* own = Me().sprite.get();
  if (!own) return;
  if (Game.spectating) {
    if (Game.room == Game.ownRoom) own->Show();
    else own->Hide();
  } else if (Game.respawnBlink == 0) {
    own->Show();
  }
}

void ResetDrawState() {
  SetScale(1, 1);
  SetAlpha(1);
  SetBlend(BlendAlpha);
  SetRotation(0);
}

void DrawRoomStateWait() {
  if (Game.awaitingRoomState != 1) return;
  DrawWaitingIcon();
  if (RoomStateWait != 0) return;
  // The retry has run: the room is played without its state.
  for (int slot = 0; slot < MaxPlayers; ++slot) {
    if (slot == MySlot || !Players[slot].sprite) continue;
    if (Players[slot].room == Game.room) Players[slot].sprite->Show();
    else Players[slot].sprite->Hide();
  }
  Game.awaitingRoomState = 0;
}

void FallingSound() {
  if (Game.dying) return;
  if (Me().falling) {
    if (!SfxOn) return;
    FallSoundRate -= 0.005f;
    if (FallSoundRate < 0.5f) FallSoundRate = 0.5f;
    PlaySfx(JumpSound, 1.0f, FallSoundRate);
  } else {
    if (SfxOn) FallSoundRate = 1.0f;
    Game.fallDistance = -1;
  }
}

}  // namespace

void StartGame() {
  for (int slot = 1; slot < MaxPlayers; ++slot) Slots[slot].name.clear();

  // Nothing of the last game's motion (dying, jumping, riding, blinking) carries over; the
  // new sprite below faces left as every new sprite does.
  ResetPlayerMotion();
  Game.dyingSteps = 0;

  PlayerType& me = Me();
  me.lives = 9;
  me.name = AlignText(PlayerName, 8, "C").substr(0, 8);
  if (me.sprite) me.sprite->Remove();
  me.score = 0;
  me.percent = 0;
  me.following = NoPlayer;
  me.lastX = StartPlaceX(MySlot, 32);
  me.lastY = StartY;
  me.room = LoungeRoom;

  int skin = SelectedSkin >= 0 && SelectedSkin <= SkinCount ? SelectedSkin : 0;
  me.sprite = sprite::Create(Skins[skin], 0, 0);
  me.sprite->SetColour(static_cast<float>(me.colourR), static_cast<float>(me.colourG), static_cast<float>(me.colourB));
  me.sprite->ResetHandle();
  me.sprite->SetPosition(StartX, StartY);
  me.skin = skin;
  if (Hosting) Slots[MySlot].skin = skin;

  Moved = 1;
  Game.room = Online() ? LoungeRoom : SinglePlayerRoom;
  Game.dayClock = DayClockStart;
  Game.amPm = "am";  // a new game starts in the morning, whatever the last one reached
  for (int& count : VisitCounts) count = 0;

  PlayReady = 0;
  WorldName = "";
  SelectWorld(1);
  EnterRoom();
  SaveEntryState();
  Game.fallDistance = -1;
  PlayReady = 1;
  IsAdmin = 0;

  if (Online()) AddChatLine("<<<          Welcome to the lobby.  press Y to chat           >>>", 1);
}

bool GameLoopPass() {
  PruneSfxChannels();
  if (!NetworkStep()) return false;

  QuitRequested = KeyHit(Key::Escape) > 0;
  MusicKeys();
  if (!QuitStep()) return false;

  Cls();
  DrawRoom();
  if (Online() && Hosting && MySlot == 0 && Game.room != LoungeRoom && KeyHit(Key::F2)) RequestNewGame();
  ChatEntryStep();
  if (!Game.awaitingRoomState) GameStep();

  ShowOwnSprite();
  sprite::DrawAll();
  DrawChatAndPlayerPanel();
  DrawNameTags();
  DrawHud();
  LoungeMenu();
  ResetDrawState();
  DrawFollowingOrLives();
  DrawFollowers();
  DrawRoomStateWait();
  DrawScoreTable();

  Flip();
  if (AnimCounter >= 4) AnimCounter = 0;
  FallingSound();
  return true;
}

void LeaveGame() {
  ClearRoomSprites();
  if (Online()) NetShutdown();
  AutoJoin = 0;
}

void PlayGame() {
  StartGame();
  while (GameLoopPass()) {
  }
  LeaveGame();
}

void ExitProgram() {
  CloseFile(ChatLog);
  if (MusicOn && MusicStream) {
    MusicStream->Pause();
    StopTune();
  }
  EndProgram(0);
}
