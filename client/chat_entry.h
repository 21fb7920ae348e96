// The one-line chat entry of the game screen and its local commands.
#pragma once

#include <string>

// One frame of the chat entry: Y or Enter opens it; while open, the line editor runs and a
// finished line is handled.
void ChatEntryStep();
// A finished line: a local command, or a chat line sent when online. Closes the entry.
void HandleChatLine(const std::string& line);
