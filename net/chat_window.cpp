// The chat window: scrolling, player and system lines, and the chat log of player lines.
#include "net/chat_window.h"

#include "world/dedicated.h"
#include "world/records.h"
#include "world/text_utils.h"

namespace {

constexpr int WindowLines = 14;  // ChatLines[0..13]; line 14 is never used
constexpr int SystemColour = 99;

// A line of the log is one line of the file, whatever the text carries, and holds no control
// characters (below 32, 127 and the 8-bit ones up to 159) for whoever reads the file; the
// 8-bit characters from 160 on, which names may hold, stay.
std::string OneLogLine(std::string text) {
  for (char& c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || (byte >= 127 && byte < 160)) c = ' ';
  }
  return text;
}

}  // namespace

std::string ChatLineFor(int slot, const std::string& text) {
  std::string number = std::to_string(slot);
  if (number.size() < 2) number = "0" + number;
  return number + ":" + text;
}

bool IsSystemChatLine(const std::string& text) { return text.compare(0, SystemChatMark.size(), SystemChatMark) == 0; }

std::string JoinNotice(const std::string& name) { return SystemChatMark + name + " has just joined"; }

std::string PrintableChatLine(std::string line) {
  if (line.size() > static_cast<size_t>(LongestChatLine)) line.resize(LongestChatLine);
  for (char& c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte > 126) c = ' ';
  }
  return line;
}

int ChatLineSlot(const std::string& text) {
  int slot = -1;
  for (size_t i = 0; i < 2 && i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    slot = (slot < 0 ? 0 : slot * 10) + (text[i] - '0');
  }
  return ValidSlot(slot) ? slot : -1;
}

void AddChatLine(const std::string& text, int system) {
  if constexpr (Dedicated) {
    return;
  } else {
    int slot = SystemColour;
    std::string shown = text;
    if (!system) {
      slot = ChatLineSlot(text);
      if (slot < 0) return;
      shown = Players[slot].name + (text.size() > 2 ? text.substr(2) : std::string());
    }
    for (int i = 0; i < WindowLines - 1; ++i) ChatLines[i] = ChatLines[i + 1];
    ChatLines[WindowLines - 1] = {shown, slot};
    if (!system) AppendChatLog(OneLogLine(shown));
  }
}
