// The lounge chooser of game modes, the lobby texts, and the start of a chosen mode.
#include <string>

#include "net/dispatcher.h"
#include "net/envelope.h"
#include "net/messages.h"
#include "net/net_globals.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "world/dedicated.h"
#include "world/exits_death.h"
#include "world/game_modes.h"
#include "world/records.h"
#include "world/team_rules.h"
#include "world/text_utils.h"
#include "world/world_files.h"
#ifndef QXR_DEDICATED
#include "client/bitmap_text.h"
#include "client/hud.h"
#endif

namespace {

constexpr int RacePage = 3;
constexpr int BackItem = 11;
constexpr int CountDownMs = 10000;
constexpr int SilentHostMs = 6000;  // no states for longer than this: the waiting icon shows
constexpr int FirstFKey = 112;      // F1; F1..F9 are 112..120, F10 is 121
constexpr int F10Key = 121;

#ifndef QXR_DEDICATED

// The chooser's item buttons of the page shown; returns the item clicked (1..9), else 0.
int DrawItems(int page) {
  int clicked = 0;
  for (int i = 0; i < 10; ++i) {
    const std::string& text = ModeTexts[page][i];
    if (text.empty()) continue;
    const bool hit = page == RacePage ? SmallTextButton(text, 40, i * 12 + 194, 0, 255, 0)
                                      : TextButton(text, 85, i * 18 + 194, 0, 255, 0);
    if (hit) clicked = i + 1;
  }
  if (page != 0 && TextButton("F10.. Back", 85, 356, 255, 255, 0)) clicked = BackItem;
  return clicked;
}

// The F-key hit of F1..F9 as 1..9; 0 when none.
int FunctionKeyHit() {
  int hit = 0;
  for (int k = 1; k <= 9; ++k) {
    if (KeyHit(FirstFKey + k - 1) && hit == 0) hit = k;
  }
  return hit;
}

void FlickeringStatus(int y) {
  if (!Game.statusText.empty()) DrawBigText(Game.statusText, 0, y, Rand(0, 255), 0, 0);
}

void Chooser() {
  FlickeringStatus(169);
  int clicked = DrawItems(Game.menuPage);
  if (KeyHit(F10Key) || clicked == BackItem) {
    Game.menuPage = 0;
    clicked = 0;
  }
  const int key = FunctionKeyHit();
  const int item = key != 0 ? key : clicked;
  if (Game.menuPage == 0) {
    if (item >= 1 && item <= 9) Game.menuPage = item;
    FlushMouse();
    return;
  }
  if (item >= 1 && item <= 9 && !ModeTexts[Game.menuPage][item - 1].empty())
    StartGameMode((Game.menuPage - 1) * 10 + item);
}

// The announced game in the lounge, and joining it with F1.
void LoungeNotice() {
  FlickeringStatus(196);
  if (Game.bannerTitle.empty()) {
    DrawBigText("No game started ", 128, 224, 0, 255, 255);
    return;
  }
  DrawBigText(Game.bannerTitle, 2, 216, 0, 255, 0);
  DrawBigText(Game.bannerGoal, 2, 232, 0, 255, 0);
  const bool started = Game.bannerTitle == AlignText("Game has", 32, "C");
  DrawBigText(started ? "Wait for game End" : "Press F1 to join", 128, 284, 0, 255, Rand(0, 255));
  if (KeyHit(FirstFKey) && Game.gameMode == 0) {
    for (int i = 0; i <= LastPickup; ++i) Pickups[i].present = 0;
    WriteMessage(MsgGameStateRequest{});
    NetSend(-1);
  }
}

void CountDown(bool onlyUnderAMinute) {
  DrawBigText(Game.bannerTitle, 2, 216, 0, 255, 0);
  DrawBigText(Game.bannerGoal, 2, 232, 0, 255, 0);
  const int seconds = MsSince(NetTime(), Game.roundTime) / 1000;
  if (!onlyUnderAMinute || (seconds >= 0 && seconds <= 59))
    DrawBigText(std::to_string(seconds), 240, 254, 0, 255, 255);
}

#endif

}  // namespace

bool OfferedMode(int mode) {
  return (mode >= 1 && mode <= 18) || (mode >= 20 && mode <= 28) || (mode >= 30 && mode <= 37) ||
         (mode >= 40 && mode <= 48) || (mode >= 50 && mode <= 53) || (mode >= 60 && mode <= 68) ||
         (mode >= 70 && mode <= 78) || mode == 80 || mode == 81;
}

void LoungeMenu() {
#ifndef QXR_DEDICATED
  if (MouseSprite) {
    MouseSprite->SetPosition(static_cast<float>(MouseX()), static_cast<float>(MouseY()));
    MouseSprite->Hide();
  }
  if (Game.singlePlayer) return;
  if (Game.room == LoungeRoom) {
    if (MouseSprite) MouseSprite->Show();
    const bool chooser = (Hosting && MySlot == 0) || (IsAdmin && Game.bannerTitle.empty());
    if (chooser) Chooser();
    else LoungeNotice();
  } else if (Game.room == TeamRoom) {
    CountDown(true);
  } else if (Game.room == BriefingRoom) {
    CountDown(false);
  }
  if (!Hosting && LastStatesTime != 0 && MsSince(LastStatesTime, NetTime()) > SilentHostMs) DrawWaitingIcon();
#endif
}

void StartGameMode(int menuNumber) {
  if (MouseSprite) MouseSprite->Hide();
  const int mode = menuNumber > 9 ? menuNumber - 1 : menuNumber;
  if (IsAdmin) {
    SelectWorld(mode);
    WriteMessage(MsgStartGame{mode});
    NetSend(-1);
  } else if (Hosting) {
    for (int i = 0; i <= LastPickup; ++i) Pickups[i].present = 1;
    HostMode = static_cast<Byte>(mode);
    Game.gameMode = static_cast<Byte>(mode);
    ModeSetTime = NetTime();
    RoundStartTime = MsAfter(ModeSetTime, CountDownMs);
    RoundRunning = 0;
    SelectWorld(mode);
    WriteMessage(MsgGameMode{.gameMode = mode, .roundStart = RoundStartTime, .running = RoundRunning});
    NetSend(-1);
    PickChainTargets();
    Game.chainIndex = 0;
    Game.roundTime = RoundStartTime;
    Moved = 1;
    for (int& visits : VisitCounts) visits = 0;
    Players[MySlot].score = 0;
    Players[MySlot].percent = 0;
    Players[MySlot].lives = 9;
    SetModeBanner(mode);
    Game.room = mode < 60 ? BriefingRoom : TeamRoom;
    BluePickupCount = 0;
    RedPickupCount = 0;
    PlaceAtRoomStart();
    for (int slot = 0; slot < MaxPlayers; ++slot) SetPlayerTeamColour(slot, TeamNone);
  }
  Game.statusText.clear();
  Game.inGame = 0;
  Game.goalReached = 0;
}
