// The main menu: name, skin carousel, sound switches, the address check, and the ways into play.
#include "client/main_menu.h"

#include <vector>

#include "client/bitmap_text.h"
#include "client/settings.h"
#include "client/skin_carousel.h"
#include "client/sound_effects.h"
#include "client/version_check.h"
#include "net/game_list.h"
#include "net/hosting.h"
#include "net/server_browser.h"
#include "net/service_reply.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/termination.h"
#include "world/records.h"
#include "world/text_utils.h"

std::string ExternalIpText;

namespace {

// Click codes of one pass: the F-key number of the button clicked, 0 for none.
enum Click { NoClick = 0, ClickName = 1, ClickSingle = 2, ClickHost = 3, ClickConnect = 4, ClickSfx = 5,
             ClickMusic = 6, ClickAddress = 7, ClickExit = 10 };

constexpr int MenuX = 90;
// Small-font characters that fit between "IP: " and the right edge of the screen.
constexpr size_t LongestShownAddress = 36;

void EnterMenu() {
  Game.singlePlayer = 0;
  PlayTune();
  Game.statusText.clear();
  Game.bannerTitle.clear();
  Game.gameMode = 0;
  Game.tagEventTime = 0;

  FlushKeys();
  LoadSettings();
  BuildCarousel();

  for (PlayerType& player : Players) {
    player.name.clear();
    if (player.sprite) player.sprite->SetPosition(999, 999);
  }
  for (ChatMessagesType& line : ChatLines) {
    line.colour = 0;
    line.text.clear();
  }
}

const std::string& CurrentTuneName() {
  static const std::string none;
  return TuneIndex >= 0 && TuneIndex < MaxTunes ? Tunes[TuneIndex] : none;
}

// Draws the menu screen and its buttons; returns the click code of the pass.
int DrawMenu() {
  Cls();
  SetScale(1, 1);
  SetAlpha(1);
  SetRotation(0);
  SetColor(255, 255, 255);
  DrawImage(MenuImage, 0, 0);

  int click = NoClick;
  if (TextButton("F1...Set Player Name", MenuX, 96, 0, 255, 0)) click = ClickName;
  if (TextButton("F2...Single Player", MenuX, 114, 0, 255, 0)) click = ClickSingle;
  if (TextButton("F3...Host Game", MenuX, 132, 0, 255, 0)) click = ClickHost;
  if (TextButton("F4...Connect to Game", MenuX, 150, 0, 255, 0)) click = ClickConnect;

  // The selection frame around the carousel's eighth place, with a white shadow.
  SetColor(255, 255, 255);
  DrawRect(312, 342, 20, 52);
  SetColor(255, 0, 0);
  DrawRect(310, 340, 20, 52);

  if (MouseSprite) MouseSprite->SetPosition(static_cast<float>(MouseX()), static_cast<float>(MouseY()));
  sprite::DrawAll();

  if (!NoSound) {
    if (TextButton(SfxOn ? "F5...SFX ON" : "F5...SFX OFF", MenuX, 186, 0, 255, 0)) click = ClickSfx;
    if (TextButton("F6...Music " + CurrentTuneName(), MenuX, 204, 0, 255, 0)) click = ClickMusic;
  }
  if (TextButton("F7...Get Your IP Address", MenuX, 220, 0, 255, 0)) click = ClickAddress;
  DrawSmallText("IP: " + ExternalIpText, 320, 236, 0, 255, 0);
  if (TextButton("F10...Exit", MenuX, 310, 0, 255, 0)) click = ClickExit;
  return click;
}

void CheckExternalAddress() {
  Cls();
  DrawBigText("Checking your External IP", 90, 310, 0, 255, 0);
  Flip();
  // A service that gives no answer leaves the shown address as it was; the answer is cut to
  // what fits on the screen after "IP: ".
  std::vector<std::string> lines;
  if (!FetchReplyLines(AddressHost(), "/ip.php", 1, LongestShownAddress, lines)) return;
  ExternalIpText = lines.empty() ? "" : lines[0];
}

enum class PassResult { Stay, Play, Exit };

PassResult MenuPass() {
  // A termination signal ends the program before anything else is started from here.
  if (QuitSignalled()) return PassResult::Exit;
  int click = DrawMenu();

  if (!NoSound && (KeyHit(Key::F6) || click == ClickMusic)) NextTune(0);
  if (KeyHit(Key::F1) || click == ClickName) AskPlayerName();
  if (KeyHit(Key::F7) || click == ClickAddress) CheckExternalAddress();
  if (KeyHit(Key::Right)) CarouselRight();
  if (KeyHit(Key::Left)) CarouselLeft();
  AnimateCarousel();
  if (KeyHit(Key::F5) || click == ClickSfx) SfxOn = 1 - SfxOn;

  if (KeyHit(Key::F2) || click == ClickSingle) {
    FlushKeys();
    MySlot = 0;
    Game.singlePlayer = 1;
    return PassResult::Play;
  }
  if (KeyHit(Key::F3) || click == ClickHost) {
    FlushKeys();
    StopTune();
    HostSetup();
    // A set-up that did not make this client the host leaves nothing to play.
    if (Hosting) {
      PlayerName = AlignText(PlayerName, 8, "C");
      Players[0].name = PlayerName;
      Slots[0].name = PlayerName;
      Game.singlePlayer = 0;
      MySlot = 0;
      return PassResult::Play;
    }
  }
  if (KeyHit(Key::F4) || AutoJoin || click == ClickConnect) {
    FlushKeys();
    StopTune();
    HideCarousel();
    if (ServerBrowser() == 1) {
      Game.singlePlayer = 0;
      return PassResult::Play;
    }
    // The browser may have chosen single play (a short address).
    if (Game.singlePlayer) return PassResult::Play;
    AutoJoin = 0;
    ShowCarousel();
  }
  // Closing the window leaves the menu as F10 does, so the program ends now.
  if (KeyHit(Key::F10) || KeyHit(Key::Escape) || click == ClickExit || AppTerminate()) {
    FlushKeys();
    return PassResult::Exit;
  }
  Flip();
  return PassResult::Stay;
}

}  // namespace

MenuResult RunMainMenu() {
  EnterMenu();
  PassResult result;
  while ((result = MenuPass()) == PassResult::Stay) {
  }
  RemoveCarousel();
  FlushKeys();
  PlayTune();
  return result == PassResult::Exit ? MenuResult::Exit : MenuResult::Play;
}
