// The drawing layer run headless: frames, mask, tint, alpha, mirroring, rotation, collision, read-back.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/graphics.h"
#include "platform/stream.h"
#include "test_pictures.h"

namespace {

constexpr uint32_t Red = 0xFFFF0000, Green = 0xFF00FF00, Blue = 0xFF0000FF, White = 0xFFFFFFFF, Black = 0xFF000000;

class GraphicsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(Graphics(640, 480)); }
  void SetUp() override {
    SetMaskColor(0, 0, 0);
    AutoMidHandle(false);
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetBlend(BlendAlpha);
    SetScale(1, 1);
    SetRotation(0);
    SetClsColor(0, 0, 0);
    Cls();
  }
};

// Channel-wise closeness for blended results.
::testing::AssertionResult Near(uint32_t actual, uint32_t expected, int tolerance = 2) {
  for (int shift = 0; shift <= 16; shift += 8) {
    int a = (actual >> shift) & 255, e = (expected >> shift) & 255;
    if (std::abs(a - e) > tolerance)
      return ::testing::AssertionFailure() << std::hex << "pixel 0x" << actual << " expected 0x" << expected;
  }
  return ::testing::AssertionSuccess();
}

TEST_F(GraphicsTest, FramesAreCutInReadingOrder) {
  // Four cells across and two down, each of its own colour; frames start at cell 1.
  std::vector<uint32_t> sheet(8 * 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) sheet[y * 8 + x] = 0xFF000000 | (((y / 2) * 4 + x / 2 + 1) * 20) << 16;
  std::string url = RegisterTestPicture("test/sheet.png", 8, 4, sheet);
  Image image = LoadAnimImage(url, 2, 2, 1, 6);
  ASSERT_TRUE(image);
  EXPECT_EQ(ImageFrames(image), 6);
  EXPECT_EQ(ImageWidth(image), 2);
  EXPECT_EQ(ImageHeight(image), 2);
  for (int f = 0; f < 6; ++f) EXPECT_EQ(ReadImagePixel(image, f, 1, 1), 0xFF000000u | ((f + 2) * 20) << 16) << f;
  // Frame 3 is cell 4: the first cell of the second row.
  DrawImage(image, 100, 100, 3);
  EXPECT_EQ(ReadPixel(101, 101), static_cast<uint32_t>(100 << 16));
  // Asking for more cells than the picture has fails.
  EXPECT_FALSE(LoadAnimImage(url, 2, 2, 4, 5));
  // Frames out of range draw nothing.
  DrawImage(image, 200, 100, 6);
  DrawImage(image, 200, 100, -1);
  EXPECT_EQ(ReadPixel(200, 100), 0u);
}

TEST_F(GraphicsTest, BlackIsTransparentAndTheMaskColourCanChange) {
  std::vector<uint32_t> pixels = {Black, Red, Green, Black};
  std::string url = RegisterTestPicture("test/masked.png", 2, 2, pixels);
  SetClsColor(0, 0, 255);
  Cls();
  DrawImage(LoadImage(url), 10, 10);
  EXPECT_EQ(ReadPixel(10, 10), 0x0000FFu);  // black shows the background
  EXPECT_EQ(ReadPixel(11, 10), 0xFF0000u);
  EXPECT_EQ(ReadPixel(11, 11), 0x0000FFu);

  SetMaskColor(255, 0, 0);  // only images loaded later change
  Image redMasked = LoadImage(url);
  DrawImage(redMasked, 20, 10);
  EXPECT_EQ(ReadPixel(20, 10), 0x000000u);  // black now drawn
  EXPECT_EQ(ReadPixel(21, 10), 0x0000FFu);  // red now transparent
  EXPECT_EQ(ReadImagePixel(redMasked, 0, 1, 0), 0u);
  // Flags without the mask bit keep every pixel.
  EXPECT_EQ(ReadImagePixel(LoadImage(url, 0), 0, 1, 0), Red);
}

TEST_F(GraphicsTest, TintMultipliesAndAlphaBlends) {
  Image white = LoadImage(RegisterTestPicture("test/white.png", 4, 4, Filled(4, 4, White)));
  SetColor(255, 128, 0);
  DrawImage(white, 0, 0);
  EXPECT_TRUE(Near(ReadPixel(1, 1), 0xFF8000));
  EXPECT_EQ(ColorGreen(), 128);

  SetClsColor(0, 0, 255);
  Cls();
  SetColor(255, 0, 0);
  SetAlpha(0.5f);
  DrawImage(white, 0, 0);
  EXPECT_TRUE(Near(ReadPixel(1, 1), 0x800080, 3));
  // The state persists: the next draw blends the same way without being told again.
  DrawImage(white, 10, 0);
  EXPECT_TRUE(Near(ReadPixel(11, 1), 0x800080, 3));
  // Rects take colour and alpha too.
  DrawRect(20, 0, 4, 4);
  EXPECT_TRUE(Near(ReadPixel(21, 1), 0x800080, 3));
  SetAlpha(1);
  SetColor(0, 255, 0);
  DrawLine(30, 5, 39, 5);
  EXPECT_EQ(ReadPixel(35, 5), 0x00FF00u);
}

TEST_F(GraphicsTest, NegativeScaleMirrorsAboutTheHandle) {
  // Left column red, the rest green.
  std::vector<uint32_t> pixels(4 * 2, Green);
  pixels[0] = pixels[4] = Red;
  Image image = LoadImage(RegisterTestPicture("test/mirror.png", 4, 2, pixels));
  SetScale(-1, 1);
  DrawImage(image, 104, 50);  // handle (0, 0): covers 100..103, red at the right
  EXPECT_EQ(ReadPixel(103, 50), 0xFF0000u);
  EXPECT_EQ(ReadPixel(100, 50), 0x00FF00u);
  EXPECT_EQ(ReadPixel(104, 50), 0u);
  SetScale(2, 1);
  DrawImage(image, 200, 50);
  EXPECT_EQ(ReadPixel(201, 50), 0xFF0000u);
  EXPECT_EQ(ReadPixel(202, 50), 0x00FF00u);
  EXPECT_EQ(ReadPixel(207, 50), 0x00FF00u);
  EXPECT_EQ(ReadPixel(208, 50), 0u);
}

TEST_F(GraphicsTest, RotationTurnsClockwiseAboutTheHandle) {
  // A red bar 8 wide and 2 high with a handle at its left end.
  Image bar = LoadImage(RegisterTestPicture("test/bar.png", 8, 2, Filled(8, 2, Red)));
  SetImageHandle(bar, 0, 1);
  SetRotation(90);
  DrawImage(bar, 300, 300);
  // Turned clockwise it hangs down from the handle.
  EXPECT_EQ(ReadPixel(300, 305), 0xFF0000u);
  EXPECT_EQ(ReadPixel(305, 300), 0u);
  EXPECT_EQ(ReadPixel(300, 295), 0u);
  SetRotation(0);
  DrawImage(bar, 300, 200);
  EXPECT_EQ(ReadPixel(305, 200), 0xFF0000u);
}

TEST_F(GraphicsTest, HandlesBelongToTheImage) {
  Image square = LoadImage(RegisterTestPicture("test/square.png", 4, 4, Filled(4, 4, Green)));
  MidHandleImage(square);
  EXPECT_EQ(ImageXHandle(square), 2);
  DrawImage(square, 50, 50);
  EXPECT_EQ(ReadPixel(48, 48), 0x00FF00u);
  EXPECT_EQ(ReadPixel(52, 52), 0u);
  AutoMidHandle(true);
  Image centred = LoadImage("incbin::test/square.png");
  EXPECT_EQ(ImageYHandle(centred), 2);
  EXPECT_EQ(ImageXHandle(square), 2);
}

TEST_F(GraphicsTest, CollisionIsPixelExactAndHonoursHandles) {
  // 4x4 with only the left half opaque.
  std::vector<uint32_t> half(16, Black);
  for (int y = 0; y < 4; ++y) half[y * 4] = half[y * 4 + 1] = Red;
  Image a = LoadImage(RegisterTestPicture("test/half.png", 4, 4, half));
  Image b = LoadImage(RegisterTestPicture("test/full.png", 4, 4, Filled(4, 4, Red)));

  // b's left edge against a's opaque pixels: touching is not a collision, one pixel is.
  EXPECT_FALSE(ImagesCollide(a, 0, 0, 0, b, 2, 0, 0));
  EXPECT_TRUE(ImagesCollide(a, 0, 0, 0, b, 1, 0, 0));
  EXPECT_FALSE(ImagesCollide(a, 0, 0, 0, b, 0, 4, 0));
  EXPECT_TRUE(ImagesCollide(a, 0, 0, 0, b, 0, 3, 0));
  // Boxes that overlap only on a's transparent half do not collide.
  EXPECT_FALSE(ImagesCollide(a, 0, 0, 0, b, 2, 2, 0));
  EXPECT_TRUE(ImagesCollide(a, 0, 0, 0, b, 1, 3, 0));

  // A handle moves the image: b handled at (2, 0) drawn at x 3 starts at x 1.
  SetImageHandle(b, 2, 0);
  EXPECT_TRUE(ImagesCollide(a, 0, 0, 0, b, 3, 0, 0));
  EXPECT_FALSE(ImagesCollide(a, 0, 0, 0, b, 4, 0, 0));
  // Mirroring is ignored.
  SetScale(-1, 1);
  EXPECT_FALSE(ImagesCollide(a, 0, 0, 0, b, 4, 0, 0));
  EXPECT_FALSE(ImagesCollide(a, 0, 0, 0, nullptr, 0, 0, 0));
  EXPECT_FALSE(ImagesCollide(a, 0, 0, 1, b, 0, 0, 0));
}

TEST_F(GraphicsTest, CreatedImagesTakeWrittenPixelsAndRedraw) {
  Image image = CreateImage(2, 1, 2);
  ASSERT_TRUE(image);
  EXPECT_EQ(ReadImagePixel(image, 1, 0, 0), 0u);
  uint32_t pixels[2] = {Blue, Blue};
  WriteImagePixels(image, 1, pixels);
  DrawImage(image, 5, 5, 1);
  EXPECT_EQ(ReadPixel(5, 5), 0x0000FFu);
  pixels[0] = Green;
  WriteImagePixels(image, 1, pixels);  // the texture follows the new pixels
  DrawImage(image, 5, 5, 1);
  EXPECT_EQ(ReadPixel(5, 5), 0x00FF00u);
  EXPECT_EQ(ReadImagePixel(image, 1, 5, 0), 0u);
}

TEST_F(GraphicsTest, ScreenshotHoldsTheBackBuffer) {
  SetColor(10, 200, 30);
  DrawRect(0, 0, 640, 480);
  SetColor(255, 0, 0);
  DrawRect(600, 400, 1, 1);
  EXPECT_EQ(ReadPixel(-1, 0), 0u);
  EXPECT_EQ(ReadPixel(640, 0), 0u);
  std::string path = "/tmp/qxr_platform_shot_" + std::to_string(getpid()) + ".png";
  ASSERT_TRUE(SaveScreenshot(path));
  Image shot = LoadImage(path, 0);
  std::remove(path.c_str());
  ASSERT_TRUE(shot);
  EXPECT_EQ(ImageWidth(shot), 640);
  EXPECT_EQ(ImageHeight(shot), 480);
  EXPECT_EQ(ReadImagePixel(shot, 0, 3, 3), 0xFF0AC81Eu);
  EXPECT_EQ(ReadImagePixel(shot, 0, 600, 400), 0xFFFF0000u);
}

TEST_F(GraphicsTest, ImagesLoadedBeforeTheScreenDrawAfterReopening) {
  Image image = LoadImage(RegisterTestPicture("test/early.png", 2, 2, Filled(2, 2, Green)));
  DrawImage(image, 0, 0);
  EndGraphics();
  EXPECT_FALSE(GraphicsOpen());
  DrawImage(image, 0, 0);  // no screen: nothing happens
  ASSERT_TRUE(Graphics(640, 480, 32));  // full screen is a window when headless
  EXPECT_EQ(GraphicsWidth(), 640);
  DrawImage(image, 7, 7);
  EXPECT_EQ(ReadPixel(7, 7), 0x00FF00u);
}

TEST(ImageLoading, MissingOrBrokenPicturesAreNull) {
  EXPECT_FALSE(LoadImage("incbin::no/such.png"));
  EXPECT_FALSE(LoadImage("/no/such/file.png"));
  static const uint8_t junk[] = {1, 2, 3, 4};
  RegisterEmbeddedFile("test/junk.png", junk, sizeof junk);
  EXPECT_FALSE(LoadImage("incbin::test/junk.png"));
  EXPECT_EQ(ImageWidth(nullptr), 0);
  DrawImage(nullptr, 0, 0);
}

}  // namespace
