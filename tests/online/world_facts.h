// What the online tests need to know of the main world, read from its files as the game reads
// them: the pickups and the enemies of a room, and where a room's enemy is drawn in a screenshot.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "online_checks.h"
#include "platform/stream.h"
#include "world/records.h"

namespace onlinetest {

struct PickupFact {
  int index = 0, x = 0, y = 0, kind = 0;  // y in room rows; the sprite is drawn PlayfieldTop lower
  int room = 0;
};

struct EnemyFact {
  int x = 0, y = 0, top = 0, bottom = 0, kind = 0;  // screen y: the patrol's bounds
  int speed = 0;                                    // pixels a world step
  Rgb colour;
};

inline int Short(const std::vector<uint8_t>& bytes, size_t at) {
  return static_cast<int16_t>(bytes[at] | bytes[at + 1] << 8);
}

inline std::vector<PickupFact> RoomPickupFacts(int room) {
  static const std::vector<uint8_t> file = ReadAll("incbin::maps_p.dat");
  std::vector<PickupFact> found;
  for (size_t i = 0; (i + 1) * 7 <= file.size(); ++i) {
    const size_t at = i * 7;
    if (file[at] != room) continue;
    found.push_back({static_cast<int>(i), Short(file, at + 1), Short(file, at + 3), Short(file, at + 5) & 255, room});
  }
  return found;
}

inline std::vector<EnemyFact> RoomEnemyFacts(int room) {
  static const std::vector<uint8_t> file = ReadAll("incbin::maps_e.dat");
  std::vector<EnemyFact> found;
  for (size_t at = 0; at + 20 <= file.size(); at += 20) {
    if (file[at] != room) continue;
    EnemyFact e;
    e.x = Short(file, at + 1);
    e.y = Short(file, at + 3) + PlayfieldTop;
    e.top = Short(file, at + 7);
    e.bottom = Short(file, at + 11);
    e.kind = file[at + 13];
    e.speed = file[at + 15] == 8 ? 1 : file[at + 15] + 4;
    e.colour = {file[at + 16], file[at + 17], file[at + 18]};
    found.push_back(e);
  }
  return found;
}

// A pickup of the room drawn in the screenshot, in any of its frames.
inline bool PickupShown(const Shot& shot, const PickupFact& p) {
  for (int frame = p.kind * 4; frame < p.kind * 4 + 4; ++frame) {
    playtest::Drawn d{PickupImage, frame, p.x, p.y + PlayfieldTop, 255, 255, 255, 0};
    if (playtest::SpriteSeen(shot, d) > 0.8) return true;
  }
  return false;
}

// The screen y at which a patrolling enemy (of the 32-pixel kinds) is drawn; -1 when it is not seen.
inline int EnemyShownAt(const Shot& shot, const EnemyFact& e) {
  int bestY = -1;
  double best = 0.8;
  for (int y = e.top - 4; y <= e.bottom + 4; ++y)
    for (int frame = e.kind * 4; frame < e.kind * 4 + 4; ++frame)
      for (int mirrored = 0; mirrored < 2; ++mirrored) {
        playtest::Drawn d{Enemy32Image, frame, e.x, y, e.colour.r, e.colour.g, e.colour.b, mirrored};
        const double seen = playtest::SpriteSeen(shot, d);
        if (seen > best) {
          best = seen;
          bestY = y;
        }
      }
  return bestY;
}

}  // namespace onlinetest
