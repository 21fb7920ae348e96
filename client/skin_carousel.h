// The skin carousel of the menu: a ring of 51 hero pictures, the selected one in the frame.
#pragma once

#include "world/sprite.h"

inline constexpr int CarouselY = 350;
inline constexpr int CarouselFirstX = 135;     // position k is at x = 135 + 25 k
inline constexpr int CarouselSpacing = 25;
inline constexpr int CarouselLastX = 1385;     // position 50
inline constexpr int CarouselShownBelowX = 485;// only the 14 positions left of this show
inline constexpr int CarouselSelectedX = 310;  // position 7, inside the selection frame

// Entries 0..50 are the carousel sprites, index = skin index.
extern SpriteRef CarouselSprites[60];
// Menu frames since the selected sprite last changed its frame.
extern int CarouselAnimCount;

// Makes a fresh set of 51 sprites with SelectedSkin in the frame.
void BuildCarousel();
// Right: every sprite one place left, SelectedSkin + 1 (wrapping). Left: the reverse.
void CarouselRight();
void CarouselLeft();
// Advances the selected hero's walking frame every sixth menu frame.
void AnimateCarousel();
void HideCarousel();
// Shows the sprites left of x 485 and hides the others.
void ShowCarousel();
// Removes every carousel sprite from the sprite list.
void RemoveCarousel();
