// The looks of the regions of a world: materials, backdrops, decoration, hazards, enemies, pickups.
#pragma once

#include <string>
#include <vector>

#include "assets/worlds/tile_values.h"

enum ThemeId {
  ThemeTown,
  ThemeSewers,
  ThemeSuburbs,
  ThemeWoods,
  ThemeBeach,
  ThemeDesert,
  ThemeFactory,
  ThemeLab,
  ThemeCaves,
  ThemeHills,
  ThemeCastle,
  ThemeIce,
  ThemeHaunted,
  ThemeSky,
  ThemeSpace,
  ThemeCount
};

struct Theme {
  ThemeId id;
  int wall;      // material of the outer walls
  int ground;    // material of floors
  int platform;  // material of platforms and shelves
  int stairs;    // material of stairs
  std::vector<int> backdrops;  // background tiles, the first the commonest
  std::vector<int> floorDecor;   // stands on a floor (bushes, barrels)
  std::vector<int> hangingDecor; // hangs from a ceiling (chains, cobwebs, lamps)
  std::vector<int> wallDecor;    // on the back wall (windows, posters)
  int hazard;       // the deadly tile of its pits
  bool indoor;      // has a ceiling
  // Enemy kinds 5 * id .. 5 * id + 4 (the 32 x 32 pictures are drawn in theme order).
  int FirstEnemyKind() const { return 5 * int(id) < 70 ? 5 * int(id) : 65; }
  std::vector<int> pickupKinds;  // kinds 0..24 of the pickup strip
};

const Theme& ThemeOf(ThemeId id);
