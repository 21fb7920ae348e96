// Text and geometry helpers: alignment, zero padding, box overlap, separators, the chat log.
#include "world/text_utils.h"

#include <cctype>

#include "platform/clock.h"

StreamPtr ChatLog;

namespace {

// The first width characters, without leading and trailing codes below 33.
std::string CutAndTrim(const std::string& text, int width) {
  return TrimText(text.substr(0, width > 0 ? static_cast<size_t>(width) : 0));
}

}  // namespace

int RectsOverlap(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2) {
  return (x2 + w2 >= x1 && x1 + w1 >= x2 && y2 + h2 >= y1 && y1 + h1 >= y2) ? 1 : 0;
}

std::string AlignText(const std::string& text, int width, const std::string& mode) {
  std::string s = CutAndTrim(text, width);
  if (width <= 0 || static_cast<int>(s.size()) == width) return s;
  auto fill = static_cast<size_t>(width) - s.size();
  char how = mode.empty() ? 0 : static_cast<char>(std::toupper(static_cast<unsigned char>(mode[0])));
  switch (how) {
    case 'C': {
      std::string t = std::string(fill / 2, ' ') + s;
      return t + std::string(static_cast<size_t>(width) - t.size(), ' ');
    }
    case 'L': return s + std::string(fill, ' ');
    case 'R': return std::string(fill, ' ') + s;
    default: return s;
  }
}

std::string ZeroPad(const std::string& text, int width) {
  std::string s = CutAndTrim(text, width);
  // A width below 0 can never be reached by padding: give the (empty) cut text back.
  if (width > static_cast<int>(s.size())) s.insert(0, static_cast<size_t>(width) - s.size(), '0');
  return s;
}

std::string TextBefore(const std::string& text, const std::string& separator) {
  if (separator.empty()) return "";
  size_t at = text.find(separator);
  return at == std::string::npos ? "" : text.substr(0, at);
}

void CreateChatLog() {
  StreamPtr fresh = WriteFile("Chat.txt");
  CloseFile(fresh);
  ChatLog = OpenFile("Chat.txt");  // kept open for reading and writing for the whole run
  AppendChatLog("Zarnaby Online Chat Log. Created " + FormatLocalTime("%d %b %Y") + "  " +
                FormatLocalTime("%H:%M:%S"));
}

void AppendChatLog(const std::string& line) {
  if (!ChatLog) return;
  SeekFile(*ChatLog, ChatLog->Size());
  WriteLine(*ChatLog, line);
  FlushFile(*ChatLog);  // a program that is killed keeps every line it logged
}

Image QernoFunctions::LoadAnimImage(const std::string& url, int cellWidth, int cellHeight, int firstCell,
                                    int cellCount, int flags) const {
  return ::LoadAnimImage(url, cellWidth, cellHeight, firstCell, cellCount, flags);
}

Image QernoFunctions::LoadImage(const std::string& url, int flags) const { return ::LoadImage(url, flags); }

int QernoFunctions::RectsOverlap(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2) const {
  return ::RectsOverlap(x1, y1, w1, h1, x2, y2, w2, h2);
}
