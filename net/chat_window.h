// The 14-line chat window of the game screen and the chat log it feeds.
#pragma once

#include <string>

// Adds a line at the bottom of the window (the oldest goes). A system line (system 1) is drawn
// white and never logged. A player line begins with the writer's slot (two digits, or one digit
// and a separator); it is shown and logged as the writer's name followed by the rest of the
// text, in the writer's colour. A player line that names no slot 0..15 is dropped. Nothing in
// the server build, which shows no chat.
void AddChatLine(const std::string& text, int system);

// The longest text a player can type into a chat line, and the longest chat line that a
// player's client sends: two-digit slot, ":", the text.
inline constexpr int ChatTextLength = 57;
inline constexpr int LongestChatLine = 3 + ChatTextLength;

// The chat line sent for slot's text: two-digit slot, ":", the text.
std::string ChatLineFor(int slot, const std::string& text);

// A player line as the host passes it on: every byte outside the printable characters 32 to
// 126 becomes a space, and the line is cut to LongestChatLine.
std::string PrintableChatLine(std::string line);

// The slot a player chat line begins with: the number its first two characters start with;
// -1 when they start with no digit or the number is not a slot.
int ChatLineSlot(const std::string& text);

// The system-line mark of chat texts ("£$" in the game's 8-bit characters).
inline const std::string SystemChatMark = "\xA3$";

// True when text is a system line: it begins with SystemChatMark.
bool IsSystemChatLine(const std::string& text);
// The system line a client sends once it has joined with name (8 characters).
std::string JoinNotice(const std::string& name);
