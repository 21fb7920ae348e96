// The text-line editor: typed characters echoed with a blinking cursor, returned on Enter.
#pragma once

#include <string>

// The line being edited. Callers may put a default text in it before prompting; it is
// emptied whenever a line is returned.
extern std::string EditBuffer;

class TInput {
 public:
  // One step of editing: takes one typed character, draws prompt + line (+ cursor) at (x, y)
  // and returns "" while the line is being typed. Enter or Escape return the line, or " "
  // when it is empty, flush the keyboard and draw nothing.
  static std::string Poll(const std::string& prompt, int x, int y, int maxLen);
};

// Modal: polls, flips and clears until a line is finished; never returns "". A termination
// signal (or stop(), when given, returning true) finishes the line at once as Enter would;
// callers that must not act on such an answer test QuitSignalled().
std::string InputLine(const std::string& prompt, int x, int y, int maxLen, bool (*stop)() = nullptr);
// True when the answer to a yes-or-no question means yes: its first character is y or Y.
bool AnswerIsYes(const std::string& answer);
// Exactly one Poll; the game loop's chat line calls it once per frame.
std::string PollInputLine(const std::string& prompt, int x, int y, int maxLen);
