// The skin carousel: which skins show where, the selected one in the frame, wrap-around, animation.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "client/skin_carousel.h"
#include "screen_support.h"
#include "world/records.h"

namespace {

class Carousel : public ::testing::Test {
 protected:
  void SetUp() override { clienttest::OpenScreenWithPictures(); }
  void TearDown() override { RemoveCarousel(); }

  // Skins shown, from left to right.
  static std::vector<int> ShownSkins() {
    std::vector<std::pair<float, int>> shown;
    for (int skin = 0; skin <= 50; ++skin)
      if (!CarouselSprites[skin]->IsHidden()) shown.push_back({CarouselSprites[skin]->GetX(), skin});
    std::sort(shown.begin(), shown.end());
    std::vector<int> skins;
    for (auto& [x, skin] : shown) skins.push_back(skin);
    return skins;
  }
  static std::vector<float> Places() {
    std::vector<float> xs;
    for (int skin = 0; skin <= 50; ++skin) xs.push_back(CarouselSprites[skin]->GetX());
    return xs;
  }
};

TEST_F(Carousel, SkinZeroSitsInTheFrameWithFortyFourAtTheLeft) {
  SelectedSkin = 0;
  BuildCarousel();
  EXPECT_EQ(CarouselSprites[44]->GetX(), 135);
  EXPECT_EQ(CarouselSprites[0]->GetX(), CarouselSelectedX);
  EXPECT_EQ(CarouselSprites[0]->GetY(), CarouselY);
  EXPECT_EQ(ShownSkins(), (std::vector<int>{44, 45, 46, 47, 48, 49, 50, 0, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(CarouselSprites[7]->GetX(), 485);
  EXPECT_TRUE(CarouselSprites[7]->IsHidden());
  EXPECT_EQ(CarouselSprites[43]->GetX(), 1385);
  // Sprites are placed by their top-left corner and show their own skin.
  EXPECT_EQ(ImageXHandle(CarouselSprites[0]->GetImage()), 0);
  EXPECT_EQ(CarouselSprites[12]->GetImage(), Skins[12]);
}

TEST_F(Carousel, TheLastSkinSelectedShowsFortyThreeToFive) {
  SelectedSkin = 50;
  BuildCarousel();
  EXPECT_EQ(ShownSkins(), (std::vector<int>{43, 44, 45, 46, 47, 48, 49, 50, 0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(CarouselSprites[50]->GetX(), CarouselSelectedX);
}

TEST_F(Carousel, RightMovesTheRingLeftAndWrapsTheSelection) {
  SelectedSkin = 50;
  BuildCarousel();
  CarouselRight();
  EXPECT_EQ(SelectedSkin, 0);
  EXPECT_EQ(CarouselSprites[0]->GetX(), CarouselSelectedX);
  EXPECT_EQ(CarouselSprites[43]->GetX(), 1385);  // left end went round to the far right
  EXPECT_TRUE(CarouselSprites[43]->IsHidden());
  EXPECT_EQ(ShownSkins(), (std::vector<int>{44, 45, 46, 47, 48, 49, 50, 0, 1, 2, 3, 4, 5, 6}));
  CarouselLeft();
  EXPECT_EQ(SelectedSkin, 50);
  EXPECT_EQ(ShownSkins(), (std::vector<int>{43, 44, 45, 46, 47, 48, 49, 50, 0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(CarouselSprites[43]->GetX(), 135);
}

TEST_F(Carousel, FiftyOneStepsEitherWayComeBackToTheStart) {
  SelectedSkin = 9;
  BuildCarousel();
  std::vector<float> start = Places();
  for (int i = 0; i < 51; ++i) CarouselRight();
  EXPECT_EQ(Places(), start);
  EXPECT_EQ(SelectedSkin, 9);
  for (int i = 0; i < 51; ++i) {
    CarouselLeft();
    EXPECT_EQ(CarouselSprites[SelectedSkin]->GetX(), CarouselSelectedX);
  }
  EXPECT_EQ(Places(), start);
  EXPECT_EQ(SelectedSkin, 9);
  CarouselLeft();
  EXPECT_EQ(SelectedSkin, 8);
  EXPECT_EQ(ShownSkins().size(), 14u);
}

TEST_F(Carousel, TheSelectedHeroWalksOneFrameEverySixMenuFrames) {
  SelectedSkin = 3;
  BuildCarousel();
  std::vector<int> frames;
  for (int pass = 0; pass < 30; ++pass) {
    AnimateCarousel();
    frames.push_back(CarouselSprites[3]->GetFrame());
  }
  EXPECT_EQ(frames[4], 0);
  EXPECT_EQ(frames[5], 1);
  EXPECT_EQ(frames[11], 2);
  EXPECT_EQ(frames[17], 3);
  EXPECT_EQ(frames[23], 0);
  EXPECT_EQ(CarouselSprites[4]->GetFrame(), 0);
}

TEST_F(Carousel, HidingAndShowingKeepTheWindowOfFourteen) {
  SelectedSkin = 20;
  BuildCarousel();
  HideCarousel();
  EXPECT_TRUE(ShownSkins().empty());
  ShowCarousel();
  EXPECT_EQ(ShownSkins(), (std::vector<int>{13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26}));
}

TEST_F(Carousel, RemovingTakesTheSpritesOffTheDrawList) {
  int before = sprite::Count();
  SelectedSkin = 0;
  BuildCarousel();
  EXPECT_EQ(sprite::Count(), before + 51);
  RemoveCarousel();
  EXPECT_EQ(sprite::Count(), before);
  EXPECT_FALSE(CarouselSprites[0]);
}

}  // namespace
