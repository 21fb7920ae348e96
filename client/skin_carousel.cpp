// The skin carousel of the menu: a ring of 51 hero pictures, the selected one in the frame.
#include "client/skin_carousel.h"

#include "client/settings.h"
#include "world/records.h"

SpriteRef CarouselSprites[60];
int CarouselAnimCount = 0;

namespace {

void ShowWhenLeftOfLimit(sprite& s) {
  if (s.GetX() < CarouselShownBelowX)
    s.Show();
  else
    s.Hide();
}

}  // namespace

void BuildCarousel() {
  SelectedSkin = ValidSkin(SelectedSkin);
  // The selected skin goes to the eighth place, so the ring starts seven skins before it.
  int skin = SelectedSkin - 7;
  if (skin < 0) skin += SkinCount + 1;
  for (int k = 0; k <= SkinCount; ++k) {
    SpriteRef s = sprite::Create(Skins[skin], 0, 0);
    s->ResetHandle();
    s->SetPosition(static_cast<float>(CarouselFirstX + CarouselSpacing * k), static_cast<float>(CarouselY));
    ShowWhenLeftOfLimit(*s);
    CarouselSprites[skin] = s;
    skin = skin >= SkinCount ? 0 : skin + 1;
  }
  CarouselAnimCount = 0;
}

void CarouselRight() {
  for (int skin = 0; skin <= SkinCount; ++skin) {
    sprite* s = CarouselSprites[skin].get();
    if (!s) continue;
    float x = s->GetX() - CarouselSpacing;
    if (x < CarouselFirstX) {
      s->SetX(CarouselLastX);
      s->Hide();
    } else {
      s->SetX(x);
      ShowWhenLeftOfLimit(*s);
    }
  }
  SelectedSkin = SelectedSkin >= SkinCount ? 0 : SelectedSkin + 1;
}

void CarouselLeft() {
  for (int skin = 0; skin <= SkinCount; ++skin) {
    sprite* s = CarouselSprites[skin].get();
    if (!s) continue;
    float x = s->GetX() + CarouselSpacing;
    if (x < CarouselShownBelowX) {
      s->SetX(x);
      s->Show();
    } else if (x < CarouselLastX + CarouselSpacing) {
      s->SetX(x);
      s->Hide();
    } else {
      s->SetX(CarouselFirstX);
      s->Show();
    }
  }
  SelectedSkin = SelectedSkin <= 0 ? SkinCount : SelectedSkin - 1;
}

void AnimateCarousel() {
  if (++CarouselAnimCount <= 5) return;
  CarouselAnimCount = 0;
  sprite* selected = CarouselSprites[ValidSkin(SelectedSkin)].get();
  if (selected) selected->SetFrame(static_cast<float>((selected->GetFrame() + 1) % 4));
}

void HideCarousel() {
  for (int skin = 0; skin <= SkinCount; ++skin)
    if (CarouselSprites[skin]) CarouselSprites[skin]->Hide();
}

void ShowCarousel() {
  for (int skin = 0; skin <= SkinCount; ++skin)
    if (CarouselSprites[skin]) ShowWhenLeftOfLimit(*CarouselSprites[skin]);
}

void RemoveCarousel() {
  for (SpriteRef& s : CarouselSprites) {
    if (s) s->Remove();
    s.reset();
  }
}
