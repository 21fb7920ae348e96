// The heroes: the default hero and fifty skins, 20 x 32 with four walking frames, facing left.
//
// Every hero is one body drawn with different hair, hats, faces, clothes and extras. Frames 0
// and 2 are strides, 1 and 3 the passing steps with the body a pixel higher. The unmirrored
// picture faces left (the game mirrors it for walking right); feet end on the bottom row.
#include <array>

#include "assets/art/palette.h"
#include "assets/art/picture_set.h"

namespace {

enum Headwear {
  SpikyHair, Cap, Helmet, Bald, TopHat, Crown, BunnyHood, Antenna, WizardHat, LongHair,
  Beanie, Horns, ChefHat, Bandana, Afro, HeadwearCount
};
enum Extra { NoExtra, Cape, Backpack, Scarf, Glasses, Beard, Belt, Tie, ExtraCount };

struct HeroLook {
  Colour skin;
  Colour hair;
  Colour shirt;
  Colour trousers;
  Colour shoes;
  Colour accent;
  int headwear;
  int extra;
};

void Thick(Canvas& c, int x1, int y1, int x2, int y2, Colour colour) {
  c.Line(x1, y1, x2, y2, colour);
  c.Line(x1 + 1, y1, x2 + 1, y2, colour);
}

void DrawLeg(Canvas& c, int hipX, int hipY, int footX, const HeroLook& look, bool far) {
  Colour trousers = far ? Shade(look.trousers, 75) : look.trousers;
  Colour shoes = far ? Shade(look.shoes, 75) : look.shoes;
  Thick(c, hipX, hipY, footX, 28, trousers);
  c.Fill(footX - 2, 29, 5, 2, shoes);  // toe to the left; the outline under it is row 31
  c.Set(footX - 2, 29, Shade(shoes, 130));
}

void DrawHeadwear(Canvas& c, const HeroLook& look, int top) {
  const int cx = 10;
  Colour hair = look.hair, accent = look.accent;
  switch (look.headwear) {
    case SpikyHair:
      c.Fill(6, top, 9, 3, hair);
      for (int i = 0; i < 4; ++i) c.Line(7 + 2 * i, top, 8 + 2 * i, top - 2, hair);
      c.Fill(13, top + 2, 2, 4, hair);
      break;
    case Cap:
      c.Fill(6, top - 1, 10, 3, accent);
      c.Fill(3, top + 1, 5, 2, Shade(accent, 75));  // the brim points the way the hero looks
      c.Set(11, top - 2, pal::White);
      break;
    case Helmet:
      c.Ellipse(cx, top + 2, 6, 4, accent);
      c.Fill(4, top + 3, 12, 2, Shade(accent, 70));
      c.Fill(5, top + 5, 4, 3, pal::Cyan);  // visor
      c.Set(6, top + 5, pal::White);
      break;
    case Bald:
      c.Set(8, top + 1, Shade(look.skin, 125));
      c.Set(9, top + 1, Shade(look.skin, 125));
      c.Fill(13, top + 4, 2, 4, hair);
      break;
    case TopHat:
      c.Fill(6, top - 6, 8, 7, pal::Grey1);
      c.Fill(6, top - 2, 8, 1, accent);
      c.Fill(4, top + 1, 12, 1, pal::Grey1);
      break;
    case Crown:
      c.Fill(6, top - 1, 9, 3, pal::Yellow);
      for (int i = 0; i < 3; ++i) c.Line(6 + 4 * i, top - 1, 6 + 4 * i, top - 3, pal::Yellow);
      c.Set(10, top, pal::Red3);
      c.Fill(13, top + 2, 2, 4, hair);
      break;
    case BunnyHood:
      c.Ellipse(cx, top + 3, 6, 5, accent);
      c.Fill(7, top - 6, 2, 7, accent);
      c.Fill(11, top - 7, 2, 8, accent);
      c.Set(7, top - 4, pal::Pink);
      c.Set(11, top - 5, pal::Pink);
      break;
    case Antenna:
      c.Line(9, top, 7, top - 4, pal::Grey3);
      c.Line(12, top, 14, top - 4, pal::Grey3);
      c.Disc(7, top - 5, 1, accent);
      c.Disc(14, top - 5, 1, accent);
      break;
    case WizardHat:
      for (int i = 0; i < 8; ++i) c.Fill(6 + i / 2, top - i, 10 - i, 1, accent);
      c.Fill(4, top + 1, 13, 1, Shade(accent, 70));
      c.Set(10, top - 3, pal::Yellow);
      break;
    case LongHair:
      c.Fill(6, top, 9, 3, hair);
      c.Fill(12, top + 2, 4, 12, hair);
      c.Fill(5, top + 3, 10, 1, accent);  // headband
      break;
    case Beanie:
      c.Ellipse(cx, top + 1, 5, 3, accent);
      c.Fill(5, top + 2, 11, 2, Shade(accent, 75));
      c.Disc(11, top - 3, 1, pal::White);
      break;
    case Horns:
      c.Ellipse(cx, top + 1, 5, 3, pal::Grey3);
      c.Fill(5, top + 3, 11, 1, pal::Brown2);
      c.Line(5, top + 1, 3, top - 3, pal::Cream);
      c.Line(15, top + 1, 17, top - 3, pal::Cream);
      break;
    case ChefHat:
      c.Fill(6, top - 2, 9, 4, pal::White);
      c.Disc(7, top - 3, 2, pal::White);
      c.Disc(10, top - 4, 2, pal::White);
      c.Disc(13, top - 3, 2, pal::White);
      break;
    case Bandana:
      c.Fill(6, top, 10, 3, accent);
      c.Line(16, top + 2, 18, top + 5, accent);
      c.Set(8, top + 1, pal::White);
      c.Set(12, top + 1, pal::White);
      break;
    default:  // afro
      c.Ellipse(cx + 1, top + 2, 7, 5, hair);
      break;
  }
}

Canvas DrawHero(const HeroLook& look, int frame) {
  Canvas c(20, 32);
  bool passing = frame % 2 == 1;
  int bob = passing ? -1 : 0;
  int headY = 8 + bob, top = 3 + bob;

  // Behind the body: the cape and the far arm.
  if (look.extra == Cape) {
    int flutter = frame % 2 ? 1 : 0;
    c.Fill(13, 13 + bob, 3, 10, Shade(look.accent, 80));
    c.Line(16, 13 + bob, 17 + flutter, 23 + bob, Shade(look.accent, 70));
    c.Fill(14, 22 + bob, 3 + flutter, 2, Shade(look.accent, 70));
  }

  // Legs: strides on frames 0 and 2, legs together on the passing frames.
  int frontFoot = passing ? 9 : 6, backFoot = passing ? 11 : 14;
  bool swap = frame >= 2;
  DrawLeg(c, 11, 21 + bob, swap ? frontFoot : backFoot, look, true);
  DrawLeg(c, 9, 21 + bob, swap ? backFoot : frontFoot, look, false);

  // Body.
  c.Fill(7, 13 + bob, 7, 8, look.shirt);
  c.Fill(6, 14 + bob, 9, 6, look.shirt);
  c.Fill(7, 13 + bob, 2, 6, Shade(look.shirt, 120));  // light falls from the front
  c.Fill(7, 20 + bob, 7, 2, look.trousers);
  if (look.extra == Backpack) {
    c.Fill(14, 14 + bob, 3, 6, look.accent);
    c.Fill(14, 14 + bob, 3, 1, Shade(look.accent, 130));
  }
  if (look.extra == Belt) {
    c.Fill(6, 19 + bob, 9, 1, pal::Brown1);
    c.Set(8, 19 + bob, pal::Yellow);
  }
  if (look.extra == Tie) c.Line(8, 14 + bob, 8, 18 + bob, look.accent);

  // Head, facing left: the nose and the eye sit on the left.
  c.Disc(10, headY, 5, look.skin);
  c.Fill(4, headY, 2, 2, look.skin);                       // nose
  c.Fill(6, headY - 2, 2, 3, pal::White);                   // eye
  c.Set(6, headY - 1, pal::Ink);
  c.Set(6, headY, pal::Ink);
  c.Set(12, headY - 1, Shade(look.skin, 80));               // ear
  c.Set(12, headY, Shade(look.skin, 80));
  c.Line(6, headY + 3, 8, headY + 3, Shade(look.skin, 60)); // mouth
  c.Set(5, headY + 2, Shade(look.skin, 60));
  if (look.extra == Glasses) {
    c.Frame(5, headY - 3, 4, 4, pal::Ink);
    c.Line(9, headY - 2, 12, headY - 2, pal::Ink);
  }
  if (look.extra == Beard) c.Ellipse(8, headY + 3, 4, 2, look.hair);
  DrawHeadwear(c, look, top);
  if (look.extra == Scarf) {
    c.Fill(6, 12 + bob, 9, 2, look.accent);
    c.Fill(14, 12 + bob, 3, 5 - (frame % 2), look.accent);
  }

  // The near arm swings against the near leg.
  int handX = passing ? 10 : (swap ? 6 : 14);
  Colour sleeve = Shade(look.shirt, 88);
  Thick(c, 10, 14 + bob, handX, 19 + bob, sleeve);
  c.Fill(handX, 19 + bob, 2, 2, look.skin);

  c.Outline(pal::Ink);
  return c;
}

HeroLook SkinLook(int skin) {
  const std::array<Colour, 5> skins = {pal::SkinLight, pal::SkinMid, pal::SkinDark, 0xa8e07a, 0xb8c8e0};
  const std::array<Colour, 6> hairs = {pal::Brown1, pal::Yellow, pal::Ink, pal::Orange2, pal::Grey4, pal::Purple2};
  const std::array<Colour, 12> shirts = {pal::Red2,   pal::Blue2,  pal::Green2,  pal::Yellow, pal::Purple2, pal::Orange2,
                                         pal::Teal2,  pal::Pink,   pal::Grey3,   pal::Sky,    pal::Brown3,  pal::White};
  const std::array<Colour, 6> trousers = {pal::Blue1, pal::Brown2, pal::Grey1, pal::Green1, pal::Purple1, pal::Red1};
  const std::array<Colour, 8> accents = {pal::Red3, pal::Blue3, pal::Green3, pal::Yellow, pal::Lilac, pal::Orange2, pal::Cyan, pal::Pink};
  if (skin == 0)  // the default hero: light clothes, so every player colour tints him well
    return {pal::SkinLight, pal::Brown2, pal::White, pal::Grey3, pal::Red2, pal::Red3, Cap, NoExtra};
  int i = skin - 1;
  HeroLook look;
  look.headwear = i % HeadwearCount;
  look.extra = (i / 2 + i / HeadwearCount) % ExtraCount;
  look.skin = look.headwear == Antenna ? skins[3] : look.headwear == Helmet ? skins[4] : skins[(i * 7 / 3) % 3];
  look.hair = hairs[(i * 5 + 1) % hairs.size()];
  look.shirt = shirts[(i * 5 + i / HeadwearCount) % shirts.size()];
  look.trousers = trousers[(i * 3 + 1) % trousers.size()];
  look.shoes = (i % 3 == 0) ? pal::Red1 : (i % 3 == 1) ? pal::Brown1 : pal::Grey1;
  look.accent = accents[(i * 3 + 2) % accents.size()];
  return look;
}

}  // namespace

Canvas HeroPicture(int skin) {
  HeroLook look = SkinLook(skin);
  std::vector<Canvas> frames;
  for (int f = 0; f < 4; ++f) frames.push_back(DrawHero(look, f));
  return AssembleStrip(frames, 20, 32, 4);
}
