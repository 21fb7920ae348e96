// Test helpers of the client suite that draw: a headless screen with the game's pictures, and
// checks of drawn text against the font pictures pixel by pixel.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "assets/embedded_files.h"
#include "client/pictures.h"
#include "platform/graphics.h"
#include "world/records.h"

namespace clienttest {

// Opens the 640 x 480 screen (headless under the dummy driver) and loads the pictures once.
inline void OpenScreenWithPictures() {
  static bool opened = false;
  if (opened) return;
  opened = true;
  setenv("QXR_FAST", "1", 0);  // flips advance the clock instead of waiting
  RegisterEmbeddedFiles();
  ASSERT_TRUE(Graphics(640, 480));
  LoadPictures();
  ASSERT_NE(ImageFrames(FontImage), 0) << "the font pictures did not load";
}

inline int Red(uint32_t rgb) { return (rgb >> 16) & 255; }
inline int Green(uint32_t rgb) { return (rgb >> 8) & 255; }
inline int Blue(uint32_t rgb) { return rgb & 255; }

// The screen pixel a font pixel gives when drawn tinted with (r, g, b) over black.
inline uint32_t TintedOverBlack(uint32_t argb, int r, int g, int b) {
  int a = static_cast<int>(argb >> 24);
  auto channel = [a](int value, int tint) { return value * tint / 255 * a / 255; };
  return static_cast<uint32_t>(channel(Red(argb), r) << 16 | channel(Green(argb), g) << 8 | channel(Blue(argb), b));
}

inline bool Near(uint32_t got, uint32_t want) {
  return std::abs(Red(got) - Red(want)) <= 2 && std::abs(Green(got) - Green(want)) <= 2 &&
         std::abs(Blue(got) - Blue(want)) <= 2;
}

// Counts the pixels of text's box at (x, y) on a black background that differ from what the
// font's frames give in colour (r, g, b). readPixel reads the screen (or a screenshot) as
// 0xRRGGBB. Characters without a frame must leave their cell black. opaque counts the glyph
// pixels seen, so a caller can tell a real check from an empty one. With glyphsOnly the
// background may be a picture: only the glyphs' own pixels are compared.
template <typename ReadPixelFn>
int TextMismatches(ReadPixelFn readPixel, const Image& font, const std::string& text, int x, int y, int r, int g,
                   int b, int* opaque = nullptr, bool glyphsOnly = false) {
  int width = ImageWidth(font), height = ImageHeight(font);
  int wrong = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    int frame = static_cast<unsigned char>(text[i]) - 32;
    bool drawn = frame >= 0 && frame <= 95;
    for (int py = 0; py < height; ++py)
      for (int px = 0; px < width; ++px) {
        uint32_t source = drawn ? ReadImagePixel(font, frame, px, py) : 0;
        if ((source >> 24) != 0 && opaque) ++*opaque;
        if (glyphsOnly && (source >> 24) != 255) continue;
        uint32_t want = (source >> 24) ? TintedOverBlack(source, r, g, b) : 0;
        uint32_t got = readPixel(x + static_cast<int>(i) * width + px, y + py);
        if (!Near(got, want)) ++wrong;
      }
  }
  return wrong;
}

// Whether the screenshot at path shows text drawn in font at (x, y) in (r, g, b): every glyph
// pixel as the font's, and enough of them that no blank passes.
inline bool ShotShowsText(const std::string& path, const Image& font, const std::string& text, int x, int y, int r,
                          int g, int b) {
  const Image shot = LoadImage(path, 0);
  const auto pixel = [&](int px, int py) { return ReadImagePixel(shot, 0, px, py) & 0xFFFFFF; };
  int opaque = 0;
  const int wrong = TextMismatches(pixel, font, text, x, y, r, g, b, &opaque, true);
  return opaque > 4 * static_cast<int>(text.size()) && wrong == 0;
}

inline int ScreenTextMismatches(const Image& font, const std::string& text, int x, int y, int r, int g, int b,
                                int* opaque = nullptr) {
  return TextMismatches([](int px, int py) { return ReadPixel(px, py); }, font, text, x, y, r, g, b, opaque);
}

}  // namespace clienttest
