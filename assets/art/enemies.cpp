// The enemies: seventy 32 x 32 kinds of four frames, the carrier, the arrow, the big and tall ones,
// and the exit door. Unmirrored pictures face left; the game mirrors them when they go right.
#include <algorithm>
#include <array>
#include <cmath>

#include "assets/art/palette.h"
#include "assets/art/picture_set.h"

namespace {

constexpr int EnemyKinds = 70;
enum Archetype {
  Blob, Bat, Robot, Ghost, Spider, Fish, Eyeball, Mushroom, Bee, Skull, Snake, Crab, Jelly, Saw, ArchetypeCount
};

const std::array<Ramp, 5> Variants = {{
    {pal::Green1, pal::Green2, pal::Green3},
    {pal::Red1, pal::Red2, pal::Red3},
    {pal::Blue1, pal::Blue2, pal::Blue3},
    {pal::Purple1, pal::Purple2, pal::Lilac},
    {pal::Orange1, pal::Orange2, pal::Yellow},
}};

void Eye(Canvas& c, int x, int y, int look = -1, int size = 2) {
  c.Fill(x, y, size + 1, size + 1, pal::White);
  c.Fill(x + (look < 0 ? 0 : size - 1), y + 1, size - 1 > 0 ? size - 1 : 1, size - 1 > 0 ? size - 1 : 1, pal::Ink);
}

void DrawBlob(Canvas& c, const Ramp& r, int f) {
  int squash = f == 1 ? 2 : f == 3 ? -1 : 0;
  c.Ellipse(16, 22 + squash / 2, 12 + squash, 8 - squash, r.mid);
  c.Ellipse(13, 19, 5, 3, r.light);
  c.Fill(4, 27, 24, 3, r.dark);
  Eye(c, 8, 17 + squash, -1, 3);
  Eye(c, 15, 17 + squash, -1, 3);
  c.Line(10, 25, 14, 25, r.dark);
}

void DrawBat(Canvas& c, const Ramp& r, int f) {
  int wing = std::array<int, 4>{-6, 0, 5, 0}[f];
  c.Ellipse(16, 16, 6, 6, r.mid);
  for (int side = -1; side <= 1; side += 2)
    for (int i = 0; i < 10; ++i) {
      int x = 16 + side * (6 + i);
      int y = 14 + wing * i / 9;
      c.Line(x, y, x, y + 6 - i / 2, i % 3 == 2 ? r.dark : r.mid);
    }
  c.Fill(12, 8, 2, 4, r.mid);
  c.Fill(19, 8, 2, 4, r.mid);
  Eye(c, 11, 14, -1);
  Eye(c, 16, 14, -1);
  c.Set(13, 20, pal::White);
  c.Set(17, 20, pal::White);
}

void DrawRobot(Canvas& c, const Ramp& r, int f) {
  c.Fill(8, 8, 16, 14, pal::Grey3);
  c.Fill(8, 8, 16, 2, pal::Grey4);
  c.Fill(10, 11, 10, 5, pal::Ink);
  c.Fill(11 - (f % 2), 12, 3, 3, r.light);  // scanning eye
  c.Fill(10, 18, 12, 2, r.mid);
  c.Line(16, 8, 16, 3, pal::Grey2);
  c.Disc(16, 3, 1, f % 2 ? pal::Red3 : pal::Yellow);
  int step = f % 2 ? 2 : 0;
  c.Fill(10 - step, 22, 4, 6, pal::Grey2);
  c.Fill(18 + step, 22, 4, 6, pal::Grey2);
  c.Fill(8 - step, 28, 7, 2, r.dark);
  c.Fill(17 + step, 28, 7, 2, r.dark);
  c.Fill(4, 13 + (f % 2), 4, 3, r.mid);
}

void DrawGhost(Canvas& c, const Ramp& r, int f) {
  int lift = f % 2;
  c.Disc(16, 12 - lift, 9, r.light);
  c.Fill(7, 12 - lift, 19, 12, r.light);
  for (int x = 7; x < 26; ++x) {
    int wave = ((x + f * 2) / 3) % 2;
    c.Fill(x, 24 - lift, 1, 2 + wave * 2, r.light);
  }
  c.Fill(10, 9 - lift, 3, 4, pal::Ink);
  c.Fill(16, 9 - lift, 3, 4, pal::Ink);
  c.Ellipse(13, 17 - lift, 2, 1 + (f % 2), pal::Ink);
  c.Set(21, 10 - lift, r.mid);
}

void DrawSpider(Canvas& c, const Ramp& r, int f) {
  c.Line(16, 0, 16, 10, pal::Grey3);  // thread
  for (int i = 0; i < 4; ++i) {
    int kick = ((i + f) % 2) * 2;
    c.Line(11, 14 + i * 2, 3 + i, 10 + i * 5 - kick, r.dark);
    c.Line(21, 14 + i * 2, 29 - i, 10 + i * 5 - kick, r.dark);
  }
  c.Ellipse(16, 17, 7, 6, r.mid);
  c.Ellipse(16, 11, 4, 3, r.dark);
  Eye(c, 12, 15, -1);
  Eye(c, 17, 15, -1);
  c.Set(15, 21, pal::White);
  c.Set(18, 21, pal::White);
}

void DrawFish(Canvas& c, const Ramp& r, int f) {
  int tail = std::array<int, 4>{-3, 0, 3, 0}[f];
  c.Ellipse(14, 16, 10, 7, r.mid);
  c.Ellipse(13, 19, 8, 3, r.light);
  for (int i = 0; i < 7; ++i) c.Line(24, 16, 30, 10 + i * 2 + tail, r.dark);
  c.Line(12, 9, 18, 6, r.dark);
  c.Line(18, 6, 20, 10, r.dark);
  Eye(c, 7, 13, -1, 3);
  c.Line(4, 19, 7, 19, pal::Ink);
  for (int x = 12; x < 22; x += 3) c.Set(x, 14 + (x % 2), r.dark);
}

void DrawEyeball(Canvas& c, const Ramp& r, int f) {
  int bob = f % 2;
  c.Disc(16, 15 + bob, 10, pal::White);
  c.Disc(16, 15 + bob, 10, pal::White);
  for (int i = 0; i < 5; ++i) c.Line(24, 10 + i * 3 + bob, 20, 12 + i * 2 + bob, pal::Red3);
  int look = std::array<int, 4>{-4, -2, -4, -6}[f];
  c.Disc(16 + look, 15 + bob, 5, r.mid);
  c.Disc(16 + look, 15 + bob, 2, pal::Ink);
  c.Set(15 + look, 13 + bob, pal::White);
  c.Line(10, 26 + bob, 22, 26 + bob, r.dark);  // a shadow underneath
}

void DrawMushroom(Canvas& c, const Ramp& r, int f) {
  int step = f % 2 ? 2 : 0;
  c.Ellipse(16, 11, 13, 8, r.mid);
  c.Fill(3, 12, 27, 4, r.dark);
  c.Disc(10, 8, 2, pal::White);
  c.Disc(20, 6, 2, pal::White);
  c.Disc(25, 11, 1, pal::White);
  c.Fill(10, 16, 12, 9, pal::Cream);
  Eye(c, 11, 18, -1);
  Eye(c, 16, 18, -1);
  c.Fill(9 - step, 25, 5, 4, pal::Tan);
  c.Fill(18 + step, 25, 5, 4, pal::Tan);
}

void DrawBee(Canvas& c, const Ramp& r, int f) {
  int wing = f % 2;
  c.Ellipse(18, 8 + wing, 5, 4 - wing * 2, pal::Sky);
  c.Ellipse(24, 9 + wing, 4, 3 - wing, pal::Sky);
  c.Ellipse(16, 18, 11, 7, pal::Yellow);
  for (int x = 15; x < 27; x += 5)  // stripes across the body
    for (int y = 11; y < 26; ++y)
      if (c.Get(x, y) == pal::Yellow) c.Fill(x, y, 2, 1, r.dark);
  c.Line(27, 18, 30, 19, pal::Ink);  // the sting
  Eye(c, 7, 15, -1, 3);
  c.Line(6, 9, 8, 13, pal::Ink);
}

void DrawSkull(Canvas& c, const Ramp& r, int f) {
  int jaw = f % 2 ? 2 : 0;
  c.Disc(16, 13, 10, pal::Grey4);
  c.Fill(9, 18, 14, 5, pal::Grey4);
  c.Fill(10, 23 + jaw, 12, 4, pal::Grey3);
  for (int x = 11; x < 22; x += 2) c.Set(x, 23 + jaw, pal::Ink);
  c.Fill(9, 11, 5, 5, pal::Ink);
  c.Fill(17, 11, 5, 5, pal::Ink);
  c.Set(11, 13, r.light);
  c.Set(19, 13, r.light);
  c.Fill(15, 17, 2, 3, pal::Ink);
  c.Ellipse(16, 4, 8, 2, Shade(r.light, 110));  // an eerie glow on top
}

void DrawSnake(Canvas& c, const Ramp& r, int f) {
  for (int x = 8; x < 30; ++x) {
    double wave = std::sin((x + f * 3) * 0.45) * 3;
    int y = 23 + static_cast<int>(wave);
    c.Fill(x, y, 1, 5, x % 4 ? r.mid : r.light);
  }
  c.Ellipse(8, 19, 6, 5, r.mid);
  c.Ellipse(7, 21, 4, 2, r.light);
  Eye(c, 5, 16, -1);
  c.Line(2, 22, 0, 21 + (f % 2), pal::Red3);
  c.Line(2, 22, 0, 23 - (f % 2), pal::Red3);
}

void DrawCrab(Canvas& c, const Ramp& r, int f) {
  int snip = f % 2;
  c.Ellipse(16, 20, 11, 6, r.mid);
  c.Ellipse(16, 18, 8, 3, r.light);
  c.Line(10, 14, 9, 10, r.dark);
  c.Line(20, 14, 21, 10, r.dark);
  Eye(c, 8, 8, -1);
  Eye(c, 20, 8, -1);
  c.Disc(4, 14, 3, r.mid);
  c.Disc(28, 14, 3, r.mid);
  c.Line(2 + snip, 11, 5, 14, Transparent);
  c.Line(29 - snip, 11, 27, 14, Transparent);
  for (int i = 0; i < 3; ++i) {
    int kick = ((i + f) % 2);
    c.Line(8 + i * 3, 25, 5 + i * 3 - kick, 29, r.dark);
    c.Line(24 - i * 3, 25, 27 - i * 3 + kick, 29, r.dark);
  }
}

void DrawJelly(Canvas& c, const Ramp& r, int f) {
  int pulse = f % 2;
  c.Ellipse(16, 11, 11 - pulse, 8 + pulse, r.light);
  c.Ellipse(16, 13, 9 - pulse, 5, r.mid);
  c.Disc(12, 8, 2, pal::White);
  for (int i = 0; i < 5; ++i) {
    int x = 8 + i * 4;
    for (int y = 19; y < 30; ++y) c.Set(x + ((y + f * 2 + i) / 3) % 2, y, r.mid);
  }
  Eye(c, 10, 11, -1);
  Eye(c, 17, 11, -1);
}

void DrawSaw(Canvas& c, const Ramp& r, int f) {
  double turn = f * 3.14159265 / 8;
  for (int t = 0; t < 8; ++t) {
    double a = turn + t * 3.14159265 / 4;
    int x1 = 16 + static_cast<int>(std::lround(13 * std::cos(a))), y1 = 16 + static_cast<int>(std::lround(13 * std::sin(a)));
    int x2 = 16 + static_cast<int>(std::lround(9 * std::cos(a + 0.5))), y2 = 16 + static_cast<int>(std::lround(9 * std::sin(a + 0.5)));
    c.Line(16, 16, x1, y1, pal::Grey4);
    c.Line(x1, y1, x2, y2, pal::Grey4);
  }
  c.Disc(16, 16, 9, pal::Grey3);
  c.Disc(16, 16, 4, r.mid);
  c.Disc(16, 16, 1, pal::Ink);
  int sx = 16 + static_cast<int>(std::lround(6 * std::cos(turn))), sy = 16 + static_cast<int>(std::lround(6 * std::sin(turn)));
  c.Set(sx, sy, pal::White);
}

// The later colourings of a creature also change its shape a little: horns, spots or a crest.
void AddVariantFeature(Canvas& c, int archetype, int variant, const Ramp& r) {
  if (archetype == Saw || archetype == Eyeball || archetype == Spider) return;
  int top = -1, left = 32, right = -1;
  for (int y = 0; y < 32 && top < 0; ++y)
    for (int x = 0; x < 32; ++x)
      if (c.Get(x, y) != Transparent) {
        top = y;
        left = std::min(left, x);
        right = std::max(right, x);
      }
  if (top < 3) return;
  int width = right - left;
  switch (variant) {
    case 1:  // horns
      for (int i = 0; i < 3; ++i) {
        c.Fill(left + width / 4 - 1 + i / 2, top - i, 3 - i, 1, pal::Cream);
        c.Fill(right - width / 4 - 1 + i / 2, top - i, 3 - i, 1, pal::Cream);
      }
      break;
    case 3:  // spots
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
          if (c.Get(x, y) == r.mid && Hash(x / 3, y / 3, archetype) % 5 == 0 && x % 3 == 1 && y % 3 == 1) c.Set(x, y, r.light);
      break;
    case 4:  // a crest of spikes
      for (int x = left + width / 3; x <= right - width / 3; x += 2) c.Fill(x, top - 2, 1, 2, pal::Red3);
      break;
    default: break;
  }
}

Canvas EnemyFrame(int kind, int frame) {
  Canvas c(32, 32);
  const Ramp& r = Variants[kind / ArchetypeCount];
  switch (kind % ArchetypeCount) {
    case Blob: DrawBlob(c, r, frame); break;
    case Bat: DrawBat(c, r, frame); break;
    case Robot: DrawRobot(c, r, frame); break;
    case Ghost: DrawGhost(c, r, frame); break;
    case Spider: DrawSpider(c, r, frame); break;
    case Fish: DrawFish(c, r, frame); break;
    case Eyeball: DrawEyeball(c, r, frame); break;
    case Mushroom: DrawMushroom(c, r, frame); break;
    case Bee: DrawBee(c, r, frame); break;
    case Skull: DrawSkull(c, r, frame); break;
    case Snake: DrawSnake(c, r, frame); break;
    case Crab: DrawCrab(c, r, frame); break;
    case Jelly: DrawJelly(c, r, frame); break;
    default: DrawSaw(c, r, frame); break;
  }
  AddVariantFeature(c, kind % ArchetypeCount, kind / ArchetypeCount, r);
  c.Outline(pal::Ink);
  return c;
}

// The carrier the hero rides: its deck is the top row, where the hero's feet rest.
Canvas CarrierFrame(int frame) {
  Canvas c(32, 32);
  c.Fill(0, 0, 32, 3, pal::Tan);
  c.Fill(0, 0, 32, 1, pal::Cream);
  c.Fill(1, 3, 30, 4, pal::Brown2);
  for (int x = 3; x < 32; x += 6) c.Set(x, 4, pal::Brown1);
  c.Fill(6, 7, 20, 3, pal::Grey2);
  for (int i = 0; i < 2; ++i) {
    int x = 8 + i * 12;
    c.Fill(x, 10, 4, 3, pal::Grey3);
    int flame = 3 + (frame + i) % 4;
    for (int y = 0; y < flame; ++y) c.Fill(x + (y > 1 ? 1 : 0), 13 + y, y > 1 ? 2 : 4, 1, y < 2 ? pal::Yellow : pal::Orange2);
  }
  return c;
}

// The arrow flies left when unmirrored.
Canvas ArrowFrame(int frame) {
  Canvas c(32, 32);
  c.Fill(8, 15, 20, 2, pal::Brown3);
  c.Fill(8, 15, 20, 1, pal::Tan);
  for (int i = 0; i < 6; ++i) c.Line(2 + i, 16 - i, 2 + i, 15 + i, i == 0 ? pal::White : pal::Grey4);
  int flutter = frame % 2;
  c.Line(24, 15, 29, 11 + flutter, pal::Red3);
  c.Line(25, 15, 30, 11 + flutter, pal::Red2);
  c.Line(24, 16, 29, 20 - flutter, pal::Red3);
  c.Line(25, 16, 30, 20 - flutter, pal::Red2);
  c.Outline(pal::Ink);
  return c;
}

}  // namespace

Canvas Enemies32Picture() {
  std::vector<Canvas> cells;
  for (int kind = 0; kind < EnemyKinds; ++kind)
    for (int f = 0; f < 4; ++f) cells.push_back(EnemyFrame(kind, f));
  for (int f = 0; f < 4; ++f) cells.push_back(CarrierFrame(f));  // 280..283
  for (int f = 0; f < 4; ++f) cells.push_back(ArrowFrame(f));    // 284..287
  return AssembleStrip(cells, 32, 32, 16);
}

Canvas Enemies64Picture() {
  // A big stomping robot-dragon.
  std::vector<Canvas> cells;
  for (int f = 0; f < 4; ++f) {
    Canvas c(64, 64);
    int step = f % 2 ? 3 : 0, jaw = (f == 1 || f == 2) ? 3 : 0;
    c.Ellipse(36, 36, 20, 16, pal::Green2);
    c.Ellipse(34, 40, 14, 9, pal::Green3);
    for (int i = 0; i < 5; ++i) c.Fill(30 + i * 6, 16 - (i % 2) * 2, 4, 6, pal::Orange2);  // spines
    c.Ellipse(16, 24, 14, 10, pal::Green2);
    c.Fill(2, 28 + jaw, 18, 5, pal::Green1);
    for (int x = 3; x < 18; x += 3) {
      c.Line(x, 27, x + 1, 30, pal::White);
      c.Line(x, 33 + jaw, x + 1, 30 + jaw, pal::White);
    }
    c.Fill(11, 17, 6, 5, pal::Yellow);
    c.Fill(11, 18, 3, 3, pal::Red2);
    c.Line(8, 14, 18, 17, pal::Green1);
    c.Fill(20 - step, 48, 10, 12, pal::Green1);
    c.Fill(42 + step, 48, 10, 12, pal::Green1);
    c.Fill(16 - step, 58, 14, 4, pal::Grey2);
    c.Fill(40 + step, 58, 14, 4, pal::Grey2);
    c.Line(54, 40, 62, 30 + step, pal::Green2);
    c.Line(55, 41, 63, 31 + step, pal::Green2);
    c.Outline(pal::Ink);
    cells.push_back(c);
  }
  return AssembleStrip(cells, 64, 64, 4);
}

Canvas Enemies32x64Picture() {
  // A tall stalking totem with glowing eyes.
  std::vector<Canvas> cells;
  for (int f = 0; f < 4; ++f) {
    Canvas c(32, 64);
    int sway = std::array<int, 4>{0, 1, 0, -1}[f];
    for (int part = 0; part < 3; ++part) {
      int top = 6 + part * 16;
      Colour face = part == 0 ? pal::Red2 : part == 1 ? pal::Teal2 : pal::Yellow;
      c.Fill(6 + sway * (2 - part), top, 20, 15, face);
      c.Fill(6 + sway * (2 - part), top, 20, 2, Shade(face, 130));
      c.Fill(9 + sway * (2 - part), top + 4, 5, 4, pal::Ink);
      c.Fill(18 + sway * (2 - part), top + 4, 5, 4, pal::Ink);
      c.Fill(10 + sway * (2 - part), top + 5, 2, 2, f % 2 ? pal::White : pal::Yellow);
      c.Fill(19 + sway * (2 - part), top + 5, 2, 2, f % 2 ? pal::White : pal::Yellow);
      c.Fill(11 + sway * (2 - part), top + 10, 10, 2, pal::Ink);
    }
    c.Fill(2 + sway * 2, 8, 4, 3, pal::Orange2);
    c.Fill(26 + sway * 2, 8, 4, 3, pal::Orange2);
    int step = f % 2 ? 2 : 0;
    c.Fill(8 - step, 54, 6, 8, pal::Brown2);
    c.Fill(18 + step, 54, 6, 8, pal::Brown2);
    c.Outline(pal::Ink);
    cells.push_back(c);
  }
  return AssembleStrip(cells, 32, 64, 4);
}

Canvas DoorPicture() {
  // The exit door: it animates only once the room is cleared, so its lights chase round.
  std::vector<Canvas> cells;
  for (int f = 0; f < 4; ++f) {
    Canvas c(32, 32);
    c.Fill(2, 0, 28, 32, pal::Grey2);
    c.Fill(2, 0, 28, 2, pal::Grey4);
    c.Fill(6, 4, 20, 28, pal::Brown2);
    c.Fill(6, 4, 20, 2, pal::Brown3);
    c.Fill(8, 8, 7, 10, pal::Brown1);
    c.Fill(17, 8, 7, 10, pal::Brown1);
    c.Fill(8, 21, 16, 8, pal::Brown1);
    c.Disc(21, 19, 1, pal::Yellow);
    for (int i = 0; i < 6; ++i) {
      int x = 4 + i * 5;
      c.Fill(x, 1, 2, 2, i % 4 == f ? pal::Green3 : pal::Green1);
    }
    c.Fill(11, 11, 10, 3, f % 2 ? pal::Green3 : pal::Yellow);  // "EXIT" plate
    cells.push_back(c);
  }
  return AssembleStrip(cells, 32, 32, 4);
}
