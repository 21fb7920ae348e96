// The text-line editor: typed characters echoed with a blinking cursor, returned on Enter.
#include "client/line_editor.h"

#include "client/bitmap_text.h"
#include "platform/clock.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/termination.h"
#include "world/records.h"

std::string EditBuffer;

namespace {

// The line as Enter gives it back: an empty line comes back as one space so callers can tell
// "finished" from "still typing".
std::string FinishLine() {
  std::string line = EditBuffer.empty() ? std::string(" ") : EditBuffer;
  EditBuffer.clear();
  FlushKeys();
  return line;
}

}  // namespace

std::string TInput::Poll(const std::string& prompt, int x, int y, int maxLen) {
  int code = GetChar();
  if (code == Key::Enter || code == Key::Escape) return FinishLine();  // Escape accepts the line too
  if (code == Key::Backspace || code == 4) {
    if (!EditBuffer.empty()) EditBuffer.pop_back();
  } else if (code >= 32 && code <= 122) {
    if (static_cast<int>(EditBuffer.size()) < maxLen) EditBuffer.push_back(static_cast<char>(code));
  }

  std::string text = prompt + EditBuffer;
  if (static_cast<unsigned>(MilliSecs()) % 100u > 50u) text += "_";
  if (ValidSlot(MySlot))
    DrawPlayerName(MySlot, text, x, y, 0);
  else
    DrawSmallText(text, x, y, 255, 255, 255);
  return "";
}

std::string InputLine(const std::string& prompt, int x, int y, int maxLen, bool (*stop)()) {
  for (;;) {
    if (QuitSignalled() || (stop != nullptr && stop())) return FinishLine();
    std::string line = TInput::Poll(prompt, x, y, maxLen);
    if (!line.empty()) return line;
    Flip();
    Cls();
  }
}

std::string PollInputLine(const std::string& prompt, int x, int y, int maxLen) {
  return TInput::Poll(prompt, x, y, maxLen);
}

bool AnswerIsYes(const std::string& answer) { return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y'); }
