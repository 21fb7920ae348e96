// The HUD under the playfield: room title, score and clock, team scores, lives icons, followers, score table.
#include "client/hud.h"

#include "client/bitmap_text.h"
#include "client/game_session.h"
#include "net/dispatcher.h"
#include "net/envelope.h"
#include "platform/clock.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "world/records.h"
#include "world/text_utils.h"

namespace {

constexpr int UnitsPerHour = 14400;
constexpr int UnitsPerMinute = 240;
constexpr int DayClockStep = 5;       // per shown frame: 48 frames a minute
constexpr int MaxLivesIcons = 10;

bool TimedMode(int mode) { return (mode >= 10 && mode <= 19) || (mode >= 70 && mode <= 79); }

}  // namespace

std::string DayClockText(int dayClock, const std::string& amPm) {
  return std::to_string(dayClock / UnitsPerHour) + ":" +
         ZeroPad(std::to_string((dayClock / UnitsPerMinute) % 60), 2) + amPm;
}

std::string TickDayClock() {
  // 13:00 shows as 1:00 with the other suffix (so 12:xx keeps the suffix it had at 11:xx).
  if (Game.dayClock >= DayClockWrap) {
    Game.dayClock = UnitsPerHour;
    Game.amPm = Game.amPm == "am" ? "pm" : "am";
  }
  std::string text = DayClockText(Game.dayClock, Game.amPm);
  Game.dayClock += DayClockStep;
  return text;
}

std::string RoundClockText(int roundTime, int now) {
  int seconds = MsSince(now, roundTime) / 1000;
  return ZeroPad(std::to_string((seconds % 3600) / 60), 2) + ":" + ZeroPad(std::to_string(seconds % 60), 2);
}

void DrawHud() {
  const PlayerType& me = Players[MySlot];
  DrawBigText(RoomTitle, 0, 405, 255, 255, 0);
  DrawBigText("Items collected     Time", 0, 425, 255, 255, 255);
  DrawBigText(std::to_string(me.score), 252, 425, 255, 255, 0);
  std::string clock = TimedMode(Game.gameMode) ? RoundClockText(Game.roundTime, NetTime()) : TickDayClock();
  DrawBigText(clock, 410, 425, 0, 255, 255);

  if (Game.gameMode > 59 && Game.gameMode != 80) {
    DrawBigText("RED", 548, 380, 255, 0, 0);
    DrawBigText(ZeroPad(std::to_string(RedScore), 3), 550, 396, 255, 0, 0);
    DrawBigText("BLUE", 540, 425, 0, 0, 255);
    DrawBigText(ZeroPad(std::to_string(BlueScore), 3), 550, 441, 0, 0, 255);
  }
}

void DrawNameTags() {
  if (!Game.showNames) return;
  for (int slot = 0; slot < MaxPlayers; ++slot) {
    const PlayerType& player = Players[slot];
    if (player.name.empty() || !player.sprite) continue;
    bool shown = slot == MySlot ? (!Game.spectating || Game.room == Game.ownRoom) : player.room == Game.room;
    if (!shown) continue;
    DrawPlayerName(slot, player.name, static_cast<int>(player.sprite->x - 18), static_cast<int>(player.sprite->y - 9), 1);
  }
}

void DrawLivesIcons() {
  int skin = SelectedSkin >= 0 && SelectedSkin <= SkinCount ? SelectedSkin : 0;
  int icons = Players[MySlot].lives < MaxLivesIcons ? Players[MySlot].lives : MaxLivesIcons;
  for (int i = 0; i < icons; ++i) {
    SetColor(PlayerColourR[i], PlayerColourG[i], PlayerColourB[i]);
    DrawImage(Skins[skin], static_cast<float>(25 * i), 445.0f, AnimPhase);
  }
}

void DrawFollowingOrLives() {
  if (Game.spectating) {
    int viewed = ValidSlot(Game.viewedPlayer) ? Game.viewedPlayer : MySlot;
    DrawBigText("YOU ARE FOLLOWING " + Players[viewed].name, 25, 450, 255, 0, 0);
  } else {
    DrawLivesIcons();
  }
}

void DrawFollowers() {
  std::string names;
  for (int slot = 0; slot < MaxPlayers; ++slot) {
    if (!Players[slot].name.empty() && Players[slot].following == MySlot) names += Players[slot].name + " ";
  }
  if (!names.empty()) DrawSmallText("-OO- " + names, 300, 470, 0, 255, 255);
}

void DrawScoreTable() {
  if (ShowScores) {
    SetAlpha(0.8f);
    SetColor(192, 192, 192);
    DrawRect(32, 32, 576, 416, true);
    DrawScoreboard();
    if (KeyHit(Key::Tab)) ShowScores = 0;
  } else if (KeyHit(Key::Tab)) {
    ShowScores = 1;
  }
}

float WaitIconFrame = 0;

void DrawWaitingIcon() {
  WaitIconFrame += 0.1f;
  if (WaitIconFrame > 11) WaitIconFrame = 0;
  SetColor(255, 255, 255);
  DrawImage(ConnectImage, 608, 448, static_cast<int>(WaitIconFrame));
}
