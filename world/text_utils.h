// Text and geometry helpers both programs share: fixed-width alignment, zero padding, box
// overlap, cutting at a separator, the chat log, and the image-loading forwarders.
#pragma once

#include <string>

#include "platform/graphics.h"
#include "platform/stream.h"
#include "platform/text.h"

// The chat log "Chat.txt", open for the whole run (made by each program's start-up).
extern StreamPtr ChatLog;

// 1 when the boxes overlap; edges count, so boxes that only touch overlap.
int RectsOverlap(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2);
// The first width characters of text, trimmed of codes below 33 at both ends, then aligned
// in width characters: mode "C" centres, "L" pads on the right, "R" on the left (first
// character of mode, either case); any other mode returns the trimmed text unpadded.
std::string AlignText(const std::string& text, int width, const std::string& mode);
// The first width characters of text, trimmed as AlignText does, with zeros in front up to width.
std::string ZeroPad(const std::string& text, int width);
// What comes before the first separator; "" when it does not occur or stands first.
std::string TextBefore(const std::string& text, const std::string& separator);
// Empties "Chat.txt" (or makes it), keeps it open as ChatLog and writes its banner line.
void CreateChatLog();
// Appends line and CR LF at the end of the chat log, on disk at once; nothing when no log is
// open.
void AppendChatLog(const std::string& line);

// The utility object the mains create: image loading and the box test, forwarded.
class QernoFunctions {
 public:
  Image LoadAnimImage(const std::string& url, int cellWidth, int cellHeight, int firstCell, int cellCount,
                      int flags = -1) const;
  Image LoadImage(const std::string& url, int flags = -1) const;
  int RectsOverlap(int x1, int y1, int w1, int h1, int x2, int y2, int w2, int h2) const;
};
