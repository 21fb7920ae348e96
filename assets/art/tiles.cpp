// The tile picture: 528 cells of 16 x 16 (walls, stairs, platforms, hazards, decoration, belts).
//
// Every frame looks like what the worlds use it for (assets/worlds/tile_values.h names them);
// the values no world uses yet still get a fitting picture of their range.
#include "assets/art/picture_set.h"
#include "assets/art/tile_drawing.h"

using namespace tiledraw;

namespace {

constexpr int TileFrames = 528;
constexpr int BeltPhaseStep = 32;  // a belt's animation frame n is its value + 32 n

Canvas MaterialCell(int material, int tone = 100) {
  return Textured([material, tone](int x, int y) { return Shade(MaterialTexture(material, x, y), tone); });
}

// A lit top surface: grass on earth, snow on ice, a light lip on everything else.
void TopSurface(Canvas& cell, int material) {
  const Ramp& r = MaterialRamp(material);
  if (material == tile::Earth || material == tile::Moss) {
    for (int x = 0; x < S; ++x) {
      int depth = 3 + Noise(x, 0, 11, 3);
      for (int y = 0; y < depth; ++y) cell.Set(x, y, y == 0 ? pal::Green3 : pal::Green2);
      cell.Set(x, depth, pal::Green1);
    }
  } else if (material == tile::Ice || material == tile::Cloud) {
    cell.Fill(0, 0, S, 2, pal::White);
    for (int x = 1; x < S; x += 4) cell.Set(x, 2, pal::White);
  } else if (material == tile::Sand) {
    cell.Fill(0, 0, S, 1, pal::Cream);
    cell.Fill(0, 1, S, 1, r.light);
  } else {
    cell.Fill(0, 0, S, 1, Shade(r.light, 125));
    cell.Fill(0, 1, S, 1, r.light);
  }
}

void BottomEdge(Canvas& cell, int material) {
  cell.Fill(0, S - 2, S, 2, Shade(MaterialRamp(material).dark, 70));
  if (material == tile::Ice)
    for (int x = 2; x < S; x += 5) cell.Line(x, S - 2, x, S - 1, pal::White);
}

void SideEdge(Canvas& cell, int material, bool left) {
  const Ramp& r = MaterialRamp(material);
  cell.Fill(left ? 0 : S - 1, 0, 1, S, left ? r.light : Shade(r.dark, 70));
  cell.Fill(left ? 1 : S - 2, 0, 1, S, left ? r.mid : r.dark);
}

// Pieces of a material, from 1 + 8 * material: fill, top, alt, edge, then bottom, left, right, dark.
Canvas SolidTile(int material, int piece) {
  const Ramp& r = MaterialRamp(material);
  Canvas cell = MaterialCell(material);
  switch (piece) {
    case 1: TopSurface(cell, material); break;
    case 2:  // the patterned or cracked variant
      if (material == tile::Metal || material == tile::Tech || material == tile::Gold) {
        for (int y = 3; y < S; y += 8)
          for (int x = 3; x < S; x += 8) {
            cell.Fill(x, y, 2, 2, r.light);
            cell.Set(x + 1, y + 1, r.dark);
          }
        cell.Disc(8, 8, 2, material == tile::Tech ? pal::Green3 : r.light);
      } else if (material == tile::Pipe) {
        cell = Textured([material](int x, int y) { return MaterialTexture(material, y, x); });  // pipe across
      } else {
        cell.Line(3, 0, 7, 6, r.dark);
        cell.Line(7, 6, 5, 11, r.dark);
        cell.Line(7, 6, 12, 9, r.dark);
        cell.Line(12, 9, 14, 15, r.dark);
        cell.Set(8, 6, Shade(r.light, 110));
      }
      break;
    case 3:  // trim: an outlined block for borders
      cell.Frame(0, 0, S, S, pal::Ink);
      cell.Fill(1, 1, S - 2, 1, Shade(r.light, 120));
      cell.Fill(1, 1, 1, S - 2, r.light);
      cell.Fill(1, S - 2, S - 2, 1, r.dark);
      cell.Fill(S - 2, 1, 1, S - 2, r.dark);
      break;
    case 4: BottomEdge(cell, material); break;
    case 5: SideEdge(cell, material, true); break;
    case 6: SideEdge(cell, material, false); break;
    default: cell = MaterialCell(material, 65); break;  // deep inside, in shadow
  }
  return cell;
}

// Extra solid pieces (129..159): studded plates and a column per material.
Canvas ExtraSolidTile(int index) {
  int material = index % Materials;
  const Ramp& r = MaterialRamp(material);
  Canvas cell = MaterialCell(material, index < Materials ? 100 : 120);
  if (index < Materials) {
    for (int y = 0; y < S; ++y) {
      cell.Set(0, y, pal::Ink);
      cell.Set(1, y, r.light);
      cell.Set(14, y, r.dark);
      cell.Set(15, y, pal::Ink);
    }
  } else {
    for (int d = 0; d < 4; ++d) {
      cell.Line(8 - d, 4 + d, 8 + d, 4 + d, pal::Yellow);
      cell.Line(8 - d, 12 - d, 8 + d, 12 - d, pal::Orange2);
    }
  }
  return cell;
}

// Stairs of 4-pixel steps, matching the slope that room entry paints for the cell.
Canvas StairsTile(int material, bool risingRight, int tone) {
  const Ramp& r = MaterialRamp(material);
  Canvas cell(S, S);
  for (int y = 0; y < S; ++y) {
    int from = 12 - 4 * (y / 4);  // where the step of this band begins, for a rise to the right
    for (int x = 0; x < S; ++x) {
      int rx = risingRight ? x : S - 1 - x;
      if (rx < from) continue;
      Colour c = Shade(MaterialTexture(material, x, y), tone);
      if (y % 4 == 0) c = Shade(r.light, tone + 15);  // the tread of each step
      else if (rx == from) c = Shade(r.light, tone);  // its front
      cell.Set(x, y, c);
    }
  }
  return cell;
}

// Platforms: a thin surface on the top rows (the hero stands on row 0), pieces left end, middle,
// right end and single.
Canvas PlatformTile(int material, int piece) {
  const Ramp& r = MaterialRamp(material % Materials);
  Canvas cell(S, S);
  int thickness = material == tile::Cloud ? 7 : 5;
  for (int y = 0; y < thickness; ++y)
    for (int x = 0; x < S; ++x) {
      Colour c = MaterialTexture(material % Materials, x, y + 4);
      if (y == 0) c = Shade(r.light, 120);
      else if (y == thickness - 1) c = r.dark;
      cell.Set(x, y, c);
    }
  switch (material) {
    case tile::Cloud:
      for (int x = 2; x < S; x += 5) cell.Disc(x, thickness, 2, r.mid);
      break;
    case tile::Leaves:
    case tile::Moss:
    case tile::Earth:
      cell.Fill(0, 0, S, 2, pal::Green3);
      for (int x = 1; x < S; x += 5) cell.Line(x, thickness, x + 1, thickness + 3, pal::Green2);
      break;
    case tile::Metal:
    case tile::Tech:
      for (int x = 2; x < S; x += 6) cell.Set(x, 2, pal::Ink);  // girder holes
      break;
    case tile::Wood:
      for (int x = 7; x < S; x += 8) cell.Fill(x, 1, 1, thickness - 1, r.dark);
      break;
    default: break;
  }
  bool leftEnd = piece == 0 || piece == 3, rightEnd = piece == 2 || piece == 3;
  for (int y = 0; y < thickness + 4; ++y) {
    if (leftEnd && cell.Get(0, y)) cell.Set(0, y, y == 0 ? Transparent : pal::Ink);
    if (rightEnd && cell.Get(S - 1, y)) cell.Set(S - 1, y, y == 0 ? Transparent : pal::Ink);
  }
  if (leftEnd || rightEnd) {  // a bracket under the end that holds it
    int x = leftEnd ? 3 : 11;
    cell.Line(x, thickness, x + 2, thickness + 3, pal::Grey2);
  }
  return cell;
}

// Extra platforms (288..303): rope bridge, chain, bone and carpet, four pieces each.
Canvas ExtraPlatformTile(int kind, int piece) {
  Canvas cell(S, S);
  switch (kind) {
    case 0:  // rope bridge
      for (int x = 0; x < S; ++x) {
        cell.Set(x, 0, pal::Tan);
        cell.Fill(x, 1, 1, 3, x % 4 == 3 ? pal::Brown1 : pal::Brown3);
      }
      cell.Line(0, 4, 15, 4, pal::Tan);
      break;
    case 1:  // chain
      for (int x = 0; x < S; x += 4) cell.Frame(x, 0, 4, 4, (x / 4) % 2 ? pal::Grey4 : pal::Grey3);
      cell.Fill(0, 0, S, 1, pal::Grey4);
      break;
    case 2:  // bone
      cell.Fill(0, 0, S, 4, pal::Cream);
      cell.Fill(0, 3, S, 1, pal::Tan);
      break;
    default:  // carpet
      cell.Fill(0, 0, S, 4, 0xb03080);
      cell.Fill(0, 1, S, 1, pal::Yellow);
      for (int x = 1; x < S; x += 4) cell.Set(x, 4, pal::Yellow);
      break;
  }
  if (piece == 0 || piece == 3) cell.Fill(0, 0, 1, 5, Transparent);
  if (piece == 2 || piece == 3) cell.Fill(S - 1, 0, 1, 5, Transparent);
  cell.Outline(pal::Ink);
  return cell;
}

// Deadly tiles: the part that kills lies in the lower twelve rows (ceiling spikes hang from the top).
}  // namespace

Canvas TilesPicture() {
  std::vector<Canvas> cells(TileFrames, Canvas(S, S));
  for (int material = 0; material < Materials; ++material)
    for (int piece = 0; piece < 8; ++piece) cells[tile::SolidFill(material) + piece] = SolidTile(material, piece);
  for (int value = tile::SolidFill(Materials); value < 160; ++value) cells[value] = ExtraSolidTile(value - tile::SolidFill(Materials));
  for (int style = 0; style < 32; ++style) {
    int material = style % Materials, tone = style < Materials ? 100 : 75;
    cells[160 + 2 * style] = StairsTile(material, true, tone);
    cells[161 + 2 * style] = StairsTile(material, false, tone);
  }
  for (int material = 0; material < Materials; ++material)
    for (int piece = 0; piece < 4; ++piece) cells[tile::PlatformLeft(material) + piece] = PlatformTile(material, piece);
  for (int kind = 0; kind < 4; ++kind)
    for (int piece = 0; piece < 4; ++piece) cells[tile::PlatformLeft(Materials) + kind * 4 + piece] = ExtraPlatformTile(kind, piece);
  const int hazardOrder[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};  // spikes, spikes down, fire, water, lava, acid, sparks, saw, thorns, laser
  for (int value = 304; value < 352; ++value) {
    int index = value - 304;
    cells[value] = DeadlyTile(hazardOrder[index % 10], index >= 10 && (index / 10) % 2 == 1);
  }
  for (int value = 352; value < 400; ++value) cells[value] = DecorTile(value);
  for (int phase = 0; phase < 4; ++phase)
    for (int style = 0; style < 4; ++style)
      for (int piece = 0; piece < 4; ++piece) {
        int offset = phase * BeltPhaseStep + style * 4 + piece;
        cells[400 + offset] = BeltTile(style, piece, true, phase);
        cells[416 + offset] = BeltTile(style, piece, false, phase);
      }
  return AssembleStrip(cells, S, S, 32);
}
