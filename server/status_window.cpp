// The status line: drawn in the window and printed when it changes.
#include "server/status_window.h"

#include <cstdio>

#include "client/bitmap_text.h"
#include "platform/graphics.h"

namespace {
std::string LastShown;
}

void ShowStatus(const std::string& text) {
  DrawSmallText(text, 0, 0, 255, 0, 0);
  Flip();
  Cls();
  if (text == LastShown) return;
  LastShown = text;
  std::printf("%s\n", text.c_str());
  std::fflush(stdout);
}
