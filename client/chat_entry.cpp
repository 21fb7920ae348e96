// The chat line of the game screen: opening it, polling the line editor, local commands, sending.
#include "client/chat_entry.h"

#include "client/line_editor.h"
#include "net/chat_window.h"
#include "net/dispatcher.h"
#include "net/envelope.h"
#include "net/messages.h"
#include "platform/input.h"
#include "world/records.h"
#include "world/text_utils.h"

namespace {

// The first count characters, a-z upper-cased (the command words may be typed in any case).
std::string CommandPart(const std::string& line, size_t count) {
  std::string part = line.substr(0, count);
  for (char& c : part) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return part;
}

// Hands the administrator role to the player named in the rest of the line.
void HandOverAdmin(const std::string& line) {
  std::string name = TrimText(line.substr(6));
  // A blank name names nobody: the role stays.
  for (int slot = 0; slot < MaxPlayers && !name.empty(); ++slot) {
    if (slot == MySlot || TrimText(Players[slot].name) != name) continue;
    WriteMessage(MsgAdminHandOver{slot});
    NetSend(-1);
    IsAdmin = 0;
    AddChatLine("Player " + name + " is now the admin ", 1);
    return;
  }
  AddChatLine("Player " + name + " not found ", 1);
}

// The goal of the current game as a system line.
void ShowGoal() {
  if (Game.gameMode >= 50 && Game.gameMode <= 59) {
    int index = Game.chainIndex >= 0 && Game.chainIndex < 6 ? Game.chainIndex : 5;
    int room = ChainTargets[index];
    AddChatLine(">>> GOTO ROOM >>>" + (ValidRoom(room) ? RoomNames[room] : std::string()), 1);
  } else {
    AddChatLine(TrimText(Game.bannerTitle) + " " + TrimText(Game.bannerGoal), 1);
  }
}

void SendChat(const std::string& line) {
  if (Game.singlePlayer || TrimText(line).empty()) return;
  std::string text = ChatLineFor(MySlot, line);
  WriteMessage(MsgChat{text});
  NetSendChat();
  // The host does not receive its own line back.
  if (Hosting) AddChatLine(text, 0);
}

}  // namespace

void HandleChatLine(const std::string& line) {
  if (IsAdmin && CommandPart(line, 6) == "/ADMIN") {
    HandOverAdmin(line);
  } else if (CommandPart(line, 5) == "/GAME") {
    ShowGoal();
  } else if (CommandPart(line, 8) == "CHEAT ON" || CommandPart(line, 9) == "CHEAT OFF") {
    // Consumed and never sent; neither switches the cheat on.
    Game.cheatMode = 0;
  } else {
    SendChat(line);
  }
  Game.chatEntryOpen = 0;
}

void ChatEntryStep() {
  if (!Game.chatEntryOpen) {
    if (KeyHit('Y') || KeyHit(Key::Enter)) {
      Game.chatEntryOpen = 1;
      FlushKeys();
    }
    return;
  }
  std::string line = PollInputLine("TEXT : ", 0, 128, ChatTextLength);
  if (!line.empty()) HandleChatLine(line);
}
