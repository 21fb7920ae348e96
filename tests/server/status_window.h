// The dedicated server's status window as its screenshots show it: text in the server's small
// font, loaded here as the server loads it.
#pragma once

#include <string>

#include "../client/screen_support.h"
#include "assets/embedded_files.h"
#include "platform/graphics.h"

namespace servertest {

inline const Image& SmallFont() {
  static const Image font = [] {
    RegisterEmbeddedFiles();
    Graphics(400, 32);
    SetMaskColor(0, 0, 0);
    return LoadAnimImage("incbin::pictures/font2.png", 8, 8, 0, 96, 1);
  }();
  return font;
}

// Text drawn in white at the window's top-left corner (where a question and its answer are
// shown) of the screenshot at path.
inline bool ShownAtTheTop(const std::string& shot, const std::string& text) {
  return clienttest::ShotShowsText(shot, SmallFont(), text, 0, 0, 255, 255, 255);
}

}  // namespace servertest
