// The sprite and its draw list, drawn headless: layer order, ties, mirroring, turning, wrap, groups.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/graphics.h"
#include "world/sprite.h"

namespace {

// A one-frame picture of one colour (0xAARRGGBB).
Image Solid(int width, int height, uint32_t argb) {
  Image image = CreateImage(width, height);
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, argb);
  WriteImagePixels(image, 0, pixels.data());
  return image;
}

class SpriteTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(Graphics(640, 480)); }
  void SetUp() override {
    sprite::RemoveAll();
    SetClsColor(0, 0, 0);
    Cls();
  }
  void TearDown() override { sprite::RemoveAll(); }
};

std::vector<int> Layers() {
  std::vector<int> layers;
  for (const SpriteRef& s : SpriteList) layers.push_back(s->layer);
  return layers;
}

TEST_F(SpriteTest, TheListKeepsDescendingLayersAndLayerZeroIsDrawnLast) {
  SpriteRef bottom = sprite::Create(Solid(4, 4, 0xFFFF0000), 0, 0);
  SpriteRef top = sprite::Create(Solid(4, 4, 0xFF00FF00), 5, 0);
  SpriteRef middle = sprite::Create(Solid(4, 4, 0xFF0000FF), 2, 0);
  EXPECT_EQ(Layers(), (std::vector<int>{5, 2, 0}));
  EXPECT_EQ(sprite::Count(), 3);
  for (const SpriteRef& s : {bottom, top, middle}) s->SetPosition(50, 50);
  sprite::DrawAll();
  EXPECT_EQ(ReadPixel(50, 50), 0xFF0000u);  // layer 0 on top
}

TEST_F(SpriteTest, EqualLayersKeepCreationOrderAndTheLaterIsDrawnOver) {
  SpriteRef first = sprite::Create(Solid(4, 4, 0xFFFF0000), 3, 0);
  SpriteRef second = sprite::Create(Solid(4, 4, 0xFF00FF00), 3, 0);
  SpriteRef low = sprite::Create(Solid(4, 4, 0xFF0000FF), 1, 0);
  SpriteRef third = sprite::Create(Solid(4, 4, 0xFFFFFFFF), 3, 0);
  EXPECT_EQ(SpriteList, (std::vector<SpriteRef>{first, second, third, low}));
  first->SetPosition(20, 20);
  second->SetPosition(20, 20);
  sprite::DrawAll();
  EXPECT_EQ(ReadPixel(20, 20), 0x00FF00u);
}

TEST_F(SpriteTest, OnlyCreateSorts) {
  SpriteRef a = sprite::Create(nullptr, 1, 0);
  SpriteRef b = sprite::Create(nullptr, 0, 0);
  b->layer = 9;
  EXPECT_EQ(SpriteList.front(), a);  // changing a layer does not move the sprite
  sprite::Create(nullptr, 4, 0);
  EXPECT_EQ(Layers(), (std::vector<int>{9, 4, 1}));  // the next Create sorts the whole list
  EXPECT_EQ(sprite::CompareLayer(*a, *b), 1);
  EXPECT_EQ(sprite::CompareLayer(*b, *a), 0);
  EXPECT_EQ(sprite::CompareLayer(*a, *a), 0);
}

TEST_F(SpriteTest, CreateTakesDefaultsAndExtentsFromTheImage) {
  Image image = Solid(20, 32, 0xFFFFFFFF);
  SpriteRef s = sprite::Create(image, 2, 7);
  EXPECT_EQ(s->group, 7);
  EXPECT_EQ(s->GetBlend(), 3);
  EXPECT_EQ(s->alpha, 1);
  EXPECT_EQ(s->red + s->green + s->blue, 765);
  EXPECT_EQ(s->scaleX, 1);
  EXPECT_EQ(s->hitHeight, 24);
  EXPECT_EQ(s->hitWidth, 12);
  EXPECT_EQ(s->halfHeight, 16);
  EXPECT_EQ(s->halfWidth, 10);
  EXPECT_EQ(s->width, 20);
  EXPECT_EQ(s->halfHeight2, 16);
  EXPECT_EQ(s->halfHeight3, 16);
  EXPECT_EQ(ImageXHandle(image), 10);  // mid-handled
  EXPECT_EQ(ImageYHandle(image), 16);
  s->ResetHandle();
  EXPECT_EQ(ImageXHandle(image), 0);
  EXPECT_EQ(s->GetWidth(), 20);
  s->SetScale(2, 0.5f);
  EXPECT_EQ(s->GetWidth(), 40);
  EXPECT_EQ(s->GetHeight(), 16);
}

TEST_F(SpriteTest, ASpriteWithoutAnImageHasNoExtentsAndIsNeverDrawn) {
  SpriteRef s = sprite::Create(nullptr, 0, 0);
  EXPECT_EQ(s->hitHeight + s->hitWidth + s->halfHeight + s->halfWidth + s->width + s->halfHeight2 + s->halfHeight3, 0);
  SetColor(1, 2, 3);
  s->Draw();
  sprite::DrawAll();
  EXPECT_EQ(ColorRed(), 1);  // the drawing state was not even touched
  EXPECT_EQ(s->GetWidth(), 0);
}

TEST_F(SpriteTest, AMirroredSpriteIsDrawnFlippedAtXPlusWidth) {
  // 16 wide: the left column red, the rest green; handle at the top-left corner.
  Image image = CreateImage(16, 1);
  std::vector<uint32_t> pixels(16, 0xFF00FF00);
  pixels[0] = 0xFFFF0000;
  WriteImagePixels(image, 0, pixels.data());
  SpriteRef s = sprite::Create(image, 0, 0);
  s->ResetHandle();
  s->SetPosition(100, 60);
  s->mirrored = 1;
  s->Draw();
  EXPECT_EQ(ReadPixel(115, 60), 0xFF0000u);  // scale (-1, 1) at x 116
  EXPECT_EQ(ReadPixel(100, 60), 0x00FF00u);
  EXPECT_EQ(ReadPixel(116, 60), 0u);
  EXPECT_EQ(ReadPixel(99, 60), 0u);
}

TEST_F(SpriteTest, DrawLeavesItsStateBehind) {
  SpriteRef s = sprite::Create(Solid(2, 2, 0xFFFFFFFF), 0, 0);
  s->SetColour(200, 100.7f, 50);
  s->SetAlpha(0.5f);
  s->Draw();
  EXPECT_EQ(ColorRed(), 200);
  EXPECT_EQ(ColorGreen(), 100);  // colours are drawn as integers
  s->Hide();
  EXPECT_EQ(s->IsHidden(), 1);
  SetColor(0, 0, 0);
  s->Draw();
  EXPECT_EQ(ColorRed(), 0);
  s->Show();
  EXPECT_EQ(s->IsHidden(), 0);
}

TEST_F(SpriteTest, TurnKeepsTheRotationWithinAFullCircle) {
  SpriteRef s = sprite::Create(nullptr, 0, 0);
  s->SetRotation(350);
  s->Turn(30);
  EXPECT_FLOAT_EQ(s->GetRotation(), 20);
  s->SetRotation(10);
  s->Turn(-30);
  EXPECT_FLOAT_EQ(s->GetRotation(), 340);
  s->SetRotation(360);
  s->Turn(0);
  EXPECT_FLOAT_EQ(s->GetRotation(), 360);
}

TEST_F(SpriteTest, WrapAndScroll) {
  sprite s;
  s.y = -1;
  WrapSpriteY(s);
  EXPECT_EQ(s.y, 511);
  s.y = 513;
  WrapSpriteY(s);
  EXPECT_EQ(s.y, 1);
  s.y = 512;
  WrapSpriteY(s);
  EXPECT_EQ(s.y, 512);

  SpriteRef both = sprite::Create(nullptr, 0, 0);
  SpriteRef fixedX = sprite::Create(nullptr, 0, 0);
  fixedX->scrollX = 0;
  both->SetPosition(10, 5);
  fixedX->SetPosition(10, 5);
  sprite::ScrollAll(3, -10);
  EXPECT_EQ(both->GetX(), 13);
  EXPECT_EQ(both->GetY(), 507);
  EXPECT_EQ(fixedX->GetX(), 10);
  EXPECT_EQ(fixedX->GetY(), 507);
}

TEST_F(SpriteTest, GroupOperationsTouchOnlyTheirGroup) {
  SpriteRef a = sprite::Create(nullptr, 0, 1);
  SpriteRef b = sprite::Create(nullptr, 0, 2);
  sprite::MoveGroup(1, 5, 6);
  sprite::HideGroup(1);
  sprite::SetGroupAlpha(1, 0.25f);
  EXPECT_EQ(a->GetX(), 5);
  EXPECT_EQ(a->GetY(), 6);
  EXPECT_EQ(a->IsHidden(), 1);
  EXPECT_EQ(a->GetAlpha(), 0.25f);
  EXPECT_EQ(b->GetX(), 0);
  EXPECT_EQ(b->IsHidden(), 0);
  EXPECT_EQ(b->GetAlpha(), 1);
  sprite::ShowGroup(1);
  EXPECT_EQ(a->IsHidden(), 0);
}

TEST_F(SpriteTest, MotionFramesAndRemoval) {
  SpriteRef s = sprite::Create(Solid(2, 2, 0xFFFFFFFF), 0, 0);
  s->SetMotion(2, 90, 5);
  EXPECT_EQ(s->direction, 90);
  EXPECT_NEAR(s->velX, 0, 1e-5);
  EXPECT_NEAR(s->velY, 2, 1e-5);
  EXPECT_EQ(s->motionExtra, 5);
  s->SetSpeed(4);
  EXPECT_NEAR(s->velY, 4, 1e-5);
  s->SetDirection(180.7f);
  EXPECT_EQ(s->direction, 180);
  EXPECT_NEAR(s->velX, -4, 1e-5);
  s->SetFrame(2.9f);
  EXPECT_EQ(s->GetFrame(), 2);

  SpriteRef other = sprite::Create(nullptr, 0, 0);
  EXPECT_EQ(s->Remove(), 1);
  EXPECT_FALSE(s->GetImage());
  EXPECT_EQ(SpriteList, (std::vector<SpriteRef>{other}));
  sprite::RemoveAll();
  EXPECT_EQ(sprite::Count(), 0);
}

TEST_F(SpriteTest, WalksSkipEntriesThatAreNotSprites) {
  SpriteRef s = sprite::Create(Solid(2, 2, 0xFFFFFFFF), 0, 3);
  SpriteList.push_back(nullptr);
  sprite::DrawAll();
  sprite::MoveGroup(3, 1, 1);
  sprite::ScrollAll(1, 1);
  sprite::Create(nullptr, 1, 0);
  EXPECT_EQ(SpriteList.back(), nullptr);  // sorted below every sprite
  EXPECT_EQ(s->GetX(), 2);
}

}  // namespace
