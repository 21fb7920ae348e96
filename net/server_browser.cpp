// The server browser: the published games, a typed address, connecting, the welcome and the join.
#include "net/server_browser.h"

#include <string>
#include <vector>

#include "client/bitmap_text.h"
#include "client/hud.h"
#include "client/line_editor.h"
#include "client/settings.h"
#include "client/sound_effects.h"
#include "net/chat_window.h"
#include "net/dispatcher.h"
#include "net/envelope.h"
#include "net/game_list.h"
#include "net/messages.h"
#include "net/net_globals.h"
#include "platform/clock.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/system.h"
#include "platform/termination.h"
#include "world/records.h"
#include "world/text_utils.h"

namespace {

constexpr int RowHeight = 16;
constexpr int LeaveDelayMs = 1500;

// Library events of the connection attempt.
constexpr int AttemptFailed = 17;
constexpr int NoFreeIncomingConnections = 23;
constexpr int InvalidPassword = 24;

enum class Choice { Back, Picked, Manual };

std::vector<ListedGame> Listed;  // the rows of the list, row 1 first

void Refresh() {
  Cls();
  DrawBigText("Contacting Game List server", 90, 310, 0, 255, 0);
  Flip();
  // A list that cannot be had leaves the rows shown as they are.
  FetchGameList(Listed);
}

bool MouseIn(int left, int right, int top, int bottom) {
  const int x = MouseX(), y = MouseY();
  return x > left && x < right && y >= top && y <= bottom;
}

// A yellow button of the list screen: inverse while the mouse is over its box; true while held.
bool ListButton(const std::string& text, int x, int left, int right) {
  const bool over = MouseIn(left, right, 411, 427);
  if (over) DrawBigTextInverse(text, x, 411, 255, 255, 0);
  else DrawBigText(text, x, 411, 255, 255, 0);
  return over && MouseDown(1);
}

// One pass of the list; sets picked to the chosen row's address.
bool ListPass(Choice& choice, std::string& picked) {
  if (KeyHit(Key::Escape) || QuitSignalled()) {
    choice = Choice::Back;
    return true;
  }
  Cls();
  SetColor(255, 255, 255);
  DrawImage(ServerImage, 0, 0);
  for (int i = 1; i <= static_cast<int>(Listed.size()); ++i) {
    const ListedGame& game = Listed[i - 1];
    if (game.ip.empty()) break;
    const int y = RowHeight * i;
    if (MouseY() > y && MouseY() < y + RowHeight) {
      DrawBigTextInverse(game.description, 32, y, 0, 255, 0);
      DrawBigTextInverse(game.ip, 385, y, 0, 255, 0);
      if (MouseDown(1)) {
        picked = game.ip;
        choice = Choice::Picked;
        return true;
      }
    } else {
      DrawBigText(game.description, 32, y, 0, 255, 0);
      DrawBigText(game.ip, 385, y, 0, 255, 0);
    }
  }
  const bool manual = ListButton("Manual IP", 53, 53, 191);
  const bool refresh = ListButton("Refresh", 470, 479, 579);
  if (KeyHit(Key::F4) || manual) {
    choice = Choice::Manual;
    return true;
  }
  if (KeyHit(Key::F5) || refresh) Refresh();
  if (MouseSprite) MouseSprite->SetPosition(static_cast<float>(MouseX()), static_cast<float>(MouseY()));
  sprite::DrawAll();
  Flip();
  return false;
}

// Another protocol version: say goodbye, tell the player both versions and close.
void LeaveOtherVersion(int version) {
  StopTune();
  NetFreePacket();
  WriteMessage(MsgLeave{MySlot});
  NetSend(-1);
  Delay(LeaveDelayMs);
  Notify("You are trying to connect to a version 2." + std::to_string(version) +
         " server.  You are on version 2." + std::to_string(ProtocolVersion));
  NetShutdown();
}

enum class Wait { Going, Welcomed, Ended };

// One pass of the wait for the host's welcome.
Wait WaitPass() {
  if (KeyHit(Key::Escape) || QuitSignalled()) {
    NetShutdown();
    return Wait::Ended;
  }
  if (NetReceive()) {
    const int first = NetReadByte();
    if (first == GameMessageId && NetReadByte() == MsgWelcome::type) {
      MsgWelcome welcome;
      ReadMessage(welcome);
      MySlot = static_cast<Byte>(welcome.slot);
      SetGameClock(welcome.hostTime);
      if (welcome.version != ProtocolVersion) {
        LeaveOtherVersion(welcome.version);
        return Wait::Ended;
      }
      NetFreePacket();
      if (ValidSlot(welcome.slot)) return Wait::Welcomed;
      Notify("COULD NOT CONNECT TO " + LastHostAddress);
      NetShutdown();
      return Wait::Ended;
    }
    NetFreePacket();
    const char* refusal = first == InvalidPassword           ? "Incorrect Password"
                          : first == NoFreeIncomingConnections ? "The game is full"
                          : first == AttemptFailed             ? "COULD NOT CONNECT TO "
                                                               : nullptr;
    if (refusal != nullptr) {
      Notify(first == AttemptFailed ? refusal + LastHostAddress : std::string(refusal));
      NetShutdown();
      return Wait::Ended;
    }
  }
  Cls();
  DrawWaitingIcon();
  Flip();
  return Wait::Going;
}

void Join() {
  PlayerName = AlignText(PlayerName, 8, "C");
  Players[MySlot].name = PlayerName.substr(0, 8);
  Game.viewedPlayer = MySlot;
  WriteMessage(MsgJoin{.nameAndSlot = PlayerName + std::to_string(MySlot), .skin = SelectedSkin});
  NetSend(-1);
  WriteMessage(MsgChat{JoinNotice(PlayerName)});
  NetSendChat();
  PingTimer = MilliSecs();
  Moved = 1;
}

}  // namespace

int ServerBrowser() {
  MySlot = 0;
  Listed.clear();
  std::string password;
  if (!AutoJoin) {
    Choice choice = Choice::Back;
    std::string picked;
    while (!ListPass(choice, picked)) {
    }
    Cls();
    Flip();
    if (choice == Choice::Back) return 0;
    FlushKeys();
    FlushMouse();
    if (choice == Choice::Manual) {
      EditBuffer = LastHostAddress;
      LastHostAddress = InputLine("Enter IP of Host: ", 140, 180, HostAddressLength);
      // A blank entry goes back; any address or host name is tried, however short.
      if (TrimText(LastHostAddress).empty()) return 0;
      EditBuffer = ConnectPassword;
      ConnectPassword = InputLine("Enter password: ", 140, 180, ConnectPasswordLength);
      if (QuitSignalled()) return 0;  // the program is ending: connect nowhere
      password = TrimText(ConnectPassword);
    } else {
      LastHostAddress = picked;
    }
  }
  LastHostAddress = TrimText(LastHostAddress);
  if (LastHostAddress.empty()) {
    MySlot = 0;
    Game.singlePlayer = 1;
    return 0;
  }

  Disconnected = 0;
  if (NetConnect(LastHostAddress, GamePortNumber(), password) == 0) {
    Notify("COULD NOT CONNECT TO " + LastHostAddress);
    NetShutdown();
    return 0;
  }
  SaveSettings();

  Wait wait;
  while ((wait = WaitPass()) == Wait::Going) {
  }
  if (wait == Wait::Ended) return 0;
  Join();
  return 1;
}
