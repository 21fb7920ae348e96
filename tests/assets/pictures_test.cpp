// The embedded pictures, loaded as the client loads them: sizes, frame counts, fonts, heroes, tiles.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "assets/art/png_file.h"
#include "assets/embedded_files.h"
#include "platform/graphics.h"
#include "platform/stream.h"

namespace {

struct Strip {
  const char* name;
  int cellWidth, cellHeight, frames;
};

const Strip Strips[] = {
    {"pictures/tiles.png", 16, 16, 528},     {"pictures/font.png", 16, 16, 96},
    {"pictures/inversefont.png", 16, 16, 96}, {"pictures/font2.png", 8, 8, 96},
    {"pictures/invfont2.png", 8, 8, 96},      {"pictures/pickups.png", 16, 16, 100},
    {"pictures/32x32.png", 32, 32, 288},      {"pictures/64x64.png", 64, 64, 4},
    {"pictures/32x64.png", 32, 64, 4},        {"pictures/tunkodoor.png", 32, 32, 4},
    {"pictures/connect.png", 32, 32, 12},     {"pictures/goldengorbo.png", 10, 16, 4},
    {"pictures/flag_blue.png", 32, 32, 7},    {"pictures/flag_red.png", 32, 32, 7},
    {"pictures/gorbo.png", 20, 32, 4},
};

class PicturesTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegisterEmbeddedFiles();
    SetMaskColor(0, 0, 0);
  }
  static Image Load(const std::string& name, int w, int h, int frames) {
    return LoadAnimImage("incbin::" + name, w, h, 0, frames, 1);
  }
};

bool Opaque(const Image& image, int frame, int x, int y) { return (ReadImagePixel(image, frame, x, y) >> 24) != 0; }

int OpaqueCount(const Image& image, int frame) {
  int count = 0;
  for (int y = 0; y < ImageHeight(image); ++y)
    for (int x = 0; x < ImageWidth(image); ++x) count += Opaque(image, frame, x, y);
  return count;
}

std::vector<uint32_t> Pixels(const Image& image, int frame) {
  std::vector<uint32_t> pixels;
  for (int y = 0; y < ImageHeight(image); ++y)
    for (int x = 0; x < ImageWidth(image); ++x) pixels.push_back(ReadImagePixel(image, frame, x, y));
  return pixels;
}

int Brightness(uint32_t argb) { return ((argb >> 16) & 255) + ((argb >> 8) & 255) + (argb & 255); }

}  // namespace

TEST_F(PicturesTest, EveryStripHasItsCellSizeAndFrameCount) {
  for (const Strip& strip : Strips) {
    Image image = Load(strip.name, strip.cellWidth, strip.cellHeight, strip.frames);
    ASSERT_TRUE(image) << strip.name;
    EXPECT_EQ(ImageWidth(image), strip.cellWidth) << strip.name;
    EXPECT_EQ(ImageHeight(image), strip.cellHeight) << strip.name;
    EXPECT_EQ(ImageFrames(image), strip.frames) << strip.name;
  }
  for (const std::string& skin : EmbeddedSkinNames()) {
    Image image = Load(skin, 20, 32, 4);
    ASSERT_TRUE(image) << skin;
    EXPECT_EQ(ImageFrames(image), 4) << skin;
  }
}

TEST_F(PicturesTest, TheBackgroundsFillTheScreenAndTheSmallPicturesAreWhole) {
  for (const char* name : {"pictures/title.png", "pictures/selectgorbo.png", "pictures/loading.png", "pictures/server.png"}) {
    Image image = LoadImage(std::string("incbin::") + name);
    ASSERT_TRUE(image) << name;
    EXPECT_EQ(ImageWidth(image), 640) << name;
    EXPECT_EQ(ImageHeight(image), 480) << name;
  }
  Image icon = LoadImage("incbin::pictures/icon.png");
  ASSERT_TRUE(icon);
  EXPECT_EQ(ImageWidth(icon), 32);
  EXPECT_EQ(ImageHeight(icon), 32);
  for (const char* name : {"pictures/mouse.png", "pictures/rope.png"}) {
    Image image = LoadImage(std::string("incbin::") + name);
    ASSERT_TRUE(image) << name;
    EXPECT_GT(OpaqueCount(image, 0), 0) << name;
  }
  // The pointer's tip is its top-left pixel, where the mouse is.
  EXPECT_TRUE(Opaque(LoadImage("incbin::pictures/mouse.png"), 0, 0, 0));
}

TEST_F(PicturesTest, EveryPrintableGlyphOfEveryFontIsDrawnAndDiffersFromTheOthers) {
  for (const Strip& font : {Strips[1], Strips[2], Strips[3], Strips[4]}) {
    Image image = Load(font.name, font.cellWidth, font.cellHeight, font.frames);
    ASSERT_TRUE(image) << font.name;
    std::vector<uint32_t> space = Pixels(image, 0);
    std::set<std::vector<uint32_t>> seen;
    for (int code = 33; code <= 126; ++code) {
      std::vector<uint32_t> glyph = Pixels(image, code - 32);
      EXPECT_NE(glyph, space) << font.name << " code " << code;
      EXPECT_TRUE(seen.insert(glyph).second) << font.name << " code " << code << " repeats another glyph";
    }
  }
}

TEST_F(PicturesTest, PlainFontsAreLightInkOnNothingAndInverseFontsDarkInkOnLight) {
  for (const Strip& font : {Strips[1], Strips[3]}) {
    Image image = Load(font.name, font.cellWidth, font.cellHeight, font.frames);
    EXPECT_EQ(OpaqueCount(image, 0), 0) << font.name << ": the space is empty";
    // The brightest pixel of a letter is near white, so the drawing colour shows true.
    int brightest = 0;
    for (uint32_t p : Pixels(image, 'A' - 32)) brightest = std::max(brightest, Brightness(p));
    EXPECT_GT(brightest, 3 * 230) << font.name;
  }
  for (const Strip& font : {Strips[2], Strips[4]}) {
    Image image = Load(font.name, font.cellWidth, font.cellHeight, font.frames);
    int cells = font.cellWidth * font.cellHeight;
    EXPECT_EQ(OpaqueCount(image, 0), cells) << font.name << ": the space is a full light block";
    int dark = 0;
    for (uint32_t p : Pixels(image, 'A' - 32)) dark += Brightness(p) < 3 * 64;
    EXPECT_GT(dark, 0) << font.name;
    EXPECT_LT(dark, cells / 2) << font.name;
  }
}

TEST_F(PicturesTest, FiftyOneDistinctHeroesWalkOnTheBottomRow) {
  std::vector<std::string> heroes = {"pictures/gorbo.png"};
  heroes.insert(heroes.end(), EmbeddedSkinNames().begin(), EmbeddedSkinNames().end());
  std::set<std::vector<uint32_t>> looks;
  for (const std::string& name : heroes) {
    Image hero = Load(name, 20, 32, 4);
    ASSERT_TRUE(hero) << name;
    EXPECT_TRUE(looks.insert(Pixels(hero, 0)).second) << name << " looks like another hero";
    std::set<std::vector<uint32_t>> frames;
    for (int f = 0; f < 4; ++f) {
      frames.insert(Pixels(hero, f));
      // Placed by its top-left corner 32 pixels above the floor, a hero's feet are on row 31.
      bool feet = false;
      for (int x = 0; x < 20; ++x) feet = feet || Opaque(hero, f, x, 31);
      EXPECT_TRUE(feet) << name << " frame " << f;
      EXPECT_GT(OpaqueCount(hero, f), 20 * 32 / 4) << name << " frame " << f;
    }
    EXPECT_GE(frames.size(), 3u) << name << ": the four frames walk";
  }
}

TEST_F(PicturesTest, TilesLookLikeTheirCellClasses) {
  Image tiles = Load("pictures/tiles.png", 16, 16, 528);
  ASSERT_TRUE(tiles);
  EXPECT_EQ(OpaqueCount(tiles, 0), 0) << "tile 0 is empty space";
  for (int value = 1; value <= 128; ++value) EXPECT_EQ(OpaqueCount(tiles, value), 256) << "solid tile " << value;
  // A stairs tile covers the slope that room entry paints for it, band by band.
  for (int value = 160; value <= 223; ++value)
    for (int band = 0; band < 4; ++band) {
      int left = value % 2 == 0 ? 12 - 4 * band : 4 * band;
      for (int y = 4 * band; y < 4 * band + 4; ++y)
        for (int x = left; x < left + 4; ++x) EXPECT_TRUE(Opaque(tiles, value, x, y)) << "stairs " << value;
      // ... and leaves the air above the slope open.
      int above = value % 2 == 0 ? 0 : 15;
      if (band > 0) {
        EXPECT_FALSE(Opaque(tiles, value, above, 4 * band - 1)) << "stairs " << value;
      }
    }
  // Platforms are stood on at their top row.
  for (int value = 224; value <= 303; ++value) {
    int top = 0;
    for (int x = 0; x < 16; ++x) top += Opaque(tiles, value, x, 0) || Opaque(tiles, value, x, 1);
    EXPECT_GE(top, 12) << "platform " << value;
  }
  for (int value = 304; value <= 399; ++value) EXPECT_GT(OpaqueCount(tiles, value), 0) << "tile " << value;
  // A belt tile is drawn as frames value, +32, +64, +96 as it runs: four different frames.
  for (int value = 400; value <= 431; ++value) {
    std::set<std::vector<uint32_t>> phases;
    for (int phase = 0; phase < 4; ++phase) phases.insert(Pixels(tiles, value + 32 * phase));
    EXPECT_EQ(phases.size(), 4u) << "belt " << value;
  }
}

TEST_F(PicturesTest, EnemyKindsDifferAndTheRiddenCarrierHasItsDeckOnTop) {
  Image enemies = Load("pictures/32x32.png", 32, 32, 288);
  ASSERT_TRUE(enemies);
  std::set<std::vector<uint32_t>> kinds;
  for (int kind = 0; kind < 72; ++kind) {
    int frame = kind == 70 ? 280 : kind == 71 ? 284 : kind * 4;  // the carrier and the arrow too
    EXPECT_TRUE(kinds.insert(Pixels(enemies, frame)).second) << "kind frame " << frame;
    for (int f = frame; f < frame + 4; ++f) EXPECT_GT(OpaqueCount(enemies, f), 40) << "frame " << f;
  }
  // A hero rides 32 pixels above the carrier's top: the deck is the carrier's first row.
  for (int f = 280; f < 284; ++f) {
    int deck = 0;
    for (int x = 0; x < 32; ++x) deck += Opaque(enemies, f, x, 0);
    EXPECT_GE(deck, 24) << "carrier frame " << f;
  }
  for (const Strip& big : {Strips[7], Strips[8], Strips[9]}) {
    Image image = Load(big.name, big.cellWidth, big.cellHeight, big.frames);
    for (int f = 0; f < 4; ++f) EXPECT_GT(OpaqueCount(image, f), big.cellWidth * big.cellHeight / 8) << big.name;
  }
}

TEST_F(PicturesTest, PickupsFlagsAndTheGoldenPickupAnimate) {
  Image pickups = Load("pictures/pickups.png", 16, 16, 100);
  std::set<std::vector<uint32_t>> kinds;
  for (int kind = 0; kind < 25; ++kind) {
    EXPECT_TRUE(kinds.insert(Pixels(pickups, kind * 4)).second) << "pickup kind " << kind;
    for (int f = 0; f < 4; ++f) EXPECT_GT(OpaqueCount(pickups, kind * 4 + f), 12) << "pickup kind " << kind;
    EXPECT_NE(Pixels(pickups, kind * 4), Pixels(pickups, kind * 4 + 1)) << "pickup kind " << kind;
  }
  for (const Strip& strip : {Strips[11], Strips[12], Strips[13], Strips[10]}) {
    Image image = Load(strip.name, strip.cellWidth, strip.cellHeight, strip.frames);
    std::set<std::vector<uint32_t>> frames;
    for (int f = 0; f < strip.frames; ++f) frames.insert(Pixels(image, f));
    EXPECT_EQ(static_cast<int>(frames.size()), strip.frames) << strip.name;
  }
  // The two team flags are told apart by colour: red and blue cloth.
  Image red = Load("pictures/flag_red.png", 32, 32, 7), blue = Load("pictures/flag_blue.png", 32, 32, 7);
  long redness = 0, blueness = 0;
  for (uint32_t p : Pixels(red, 0)) redness += static_cast<long>((p >> 16) & 255) - (p & 255);
  for (uint32_t p : Pixels(blue, 0)) blueness += static_cast<long>(p & 255) - ((p >> 16) & 255);
  EXPECT_GT(redness, 0);
  EXPECT_GT(blueness, 0);
}

TEST_F(PicturesTest, TheRopeTableHoldsItsTwoHundredAndFiftySixBytes) {
  // Horizontal steps 0..85, then vertical steps 0..85 from byte 128; every other byte is 0.
  const int horizontal[86] = {
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 0..31
      1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,                                                              // 32..43
      2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2,                                // 44..65
      1, 2, 2, 1, 1, 2, 1, 1, 2, 2, 3, 2, 3, 2,                                                        // 66..79
      3, 3, 3, 3, 3, 3};                                                                               // 80..85
  const int vertical[86] = {
      6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6,  // 0..23
      6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6,  // 24..47
      4, 6, 6, 4, 6, 4, 6, 4, 6, 4, 4, 4, 6,                                    // 48..60
      4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4};  // 61..85
  std::vector<uint8_t> table = ReadAll("incbin::pictures/rope.bin");
  ASSERT_EQ(table.size(), 256u);
  for (int i = 0; i < 128; ++i) {
    EXPECT_EQ(table[i], i < 86 ? horizontal[i] : 0) << "horizontal " << i;
    EXPECT_EQ(table[128 + i], i < 86 ? vertical[i] : 0) << "vertical " << i;
  }
}

TEST(PngWriter, PicturesReachTheGamesLoaderPixelForPixel) {
  Canvas picture(5, 3);
  const Colour colours[] = {0xff0000, 0x00ff00, 0x0000ff, Opaque(0), 0x123456};
  for (int x = 0; x < 5; ++x) picture.Set(x, 0, colours[x]);
  picture.Set(2, 2, 0xffffff);  // everything else stays transparent
  static const std::vector<uint8_t> bytes = EncodePicture(picture);  // outlives the registration
  EXPECT_EQ(EncodePicture(picture), bytes);
  RegisterEmbeddedFile("tests/png_writer.png", bytes.data(), bytes.size());
  SetMaskColor(0, 0, 0);
  Image image = LoadImage("incbin::tests/png_writer.png");
  ASSERT_TRUE(image);
  ASSERT_EQ(ImageWidth(image), 5);
  ASSERT_EQ(ImageHeight(image), 3);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(ReadImagePixel(image, 0, x, 0), 0xff000000u | colours[x]) << x;
  EXPECT_EQ(ReadImagePixel(image, 0, 2, 2), 0xffffffffu);
  EXPECT_EQ(ReadImagePixel(image, 0, 0, 1) >> 24, 0u);  // transparent is the mask colour
  EXPECT_EQ(ReadImagePixel(image, 0, 4, 2) >> 24, 0u);
}
