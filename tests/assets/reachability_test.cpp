// What a hero can reach in each embedded world, searched over every movement state from the
// world's start positions: rooms, goals, pickups, doors; ways in that enemies leave clear; and
// the search's movement model checked against the game's own world step.
#include <gtest/gtest.h>

#include <string>

#include "assets/worlds/world_data.h"
#include "tests/assets/world_files.h"
#include "tests/assets/world_game.h"
#include "tests/assets/world_search.h"
#include "world/game_modes.h"

namespace {

using worlds::All;
using worlds::WorldFiles;

std::vector<WorldSearch::Node> Starts(int room, const std::vector<std::pair<int, int>>& places) {
  std::vector<WorldSearch::Node> starts;
  for (const auto& [x, y] : places) starts.push_back({room, model::StandingAt(x, y)});
  return starts;
}

std::vector<std::pair<int, int>> SlotPlaces() {
  std::vector<std::pair<int, int>> places;
  for (int slot = 0; slot <= 14; ++slot) places.push_back({slot * 32 + 32, 352});
  return places;
}

// The search of a world from its start positions, made once.
const WorldSearch& Searched(const std::string& name) {
  static std::map<std::string, std::unique_ptr<WorldSearch>> done;
  auto& slot = done[name];
  if (slot) return *slot;
  const WorldFiles& w = All().at(name);
  slot = std::make_unique<WorldSearch>(w.rooms);
  WorldSearch& s = *slot;
  std::vector<WorldSearch::Node> starts;
  if (name == "maps") {
    starts = Starts(32, {{32, 352}});
  } else if (name == "pitfall") {
    starts = Starts(1, {{32, 224}});
  } else if (name == "laboratory") {
    starts = Starts(1, {{32, 336}});
  } else if (name == "tower") {
    starts = Starts(1, {{32, 352}, {480, 352}});
  } else if (name == "original") {
    starts = Starts(1, {{32, 352}});
    // A door takes the hero into the next room once it touches the door.
    s.door = [&w](int room, const model::Hero& h, int& to, model::Hero& arrival) {
      for (const worlds::Enemy* e : w.EnemiesIn(room)) {
        if (e->kind != 75 || room >= 20) continue;
        if (!model::Overlap(h.x + 4, h.y + 2, 12, 28, e->x + 4, e->y + 144 + 4, 24, 24)) continue;
        to = room + 1;
        int x = 32, y = 352;
        if (to == 5) y = 176;
        if (to == 6) x = 448, y = 208;
        if (to == 13 || to == 18 || to == 20) x = 480;
        arrival = model::StandingAt(x, y);
        return true;
      }
      return false;
    };
  } else {
    starts = Starts(1, SlotPlaces());
  }
  s.Run(starts, true);
  return s;
}

std::string Listed(const std::vector<std::string>& lines) {
  std::string out;
  for (size_t i = 0; i < lines.size() && i < 20; ++i) out += "\n  " + lines[i];
  return out;
}
std::string Listed(const std::set<int>& rooms) {
  std::string out;
  for (int r : rooms) out += " " + std::to_string(r);
  return out;
}

TEST(Reachability, MainWorldReachesNineInTenRoomsAndEveryGoal) {
  const WorldSearch& s = Searched("maps");
  EXPECT_TRUE(s.problems.empty()) << Listed(s.problems);
  EXPECT_TRUE(s.roomsWithTraps.empty()) << "rooms with no way back to the start:" << Listed(s.roomsWithTraps);
  EXPECT_GE(s.ReachedCount(1, 252), 227);
  for (int room : {1, 81, 120, 255, 79, 133, 38, 159, 212, 27, 160}) EXPECT_TRUE(s.reached[size_t(room)]) << room;
  FillRaceRoomTable();
  for (int row = 1; row <= 9; ++row)
    for (int column = 0; column < 3; ++column)
      EXPECT_TRUE(s.reached[size_t(RaceRoomTable[row][column])]) << "race room " << RaceRoomTable[row][column];
  for (int room = 178; room <= 180; ++room) EXPECT_FALSE(s.reached[size_t(room)]) << "lobby room " << room;
}

TEST(Reachability, EveryPickupOfTheMainWorldCanBeTouched) {
  const WorldSearch& s = Searched("maps");
  const WorldFiles& w = All().at("maps");
  int missed = 0;
  std::string where;
  for (const worlds::Pickup& p : w.pickups)
    if (!s.Touchable(p.room, p.x, p.y + 144)) {
      ++missed;
      if (missed <= 10) where += " " + std::to_string(p.room) + "@" + std::to_string(p.x) + "," + std::to_string(p.y);
    }
  EXPECT_EQ(missed, 0) << where;
  // The two flags of capture the flag, where the game puts them.
  EXPECT_TRUE(s.Touchable(81, 208, 352));
  EXPECT_TRUE(s.Touchable(160, 432, 256));
}

TEST(Reachability, OnePickupWorldsLeadToTheirPickup) {
  for (const char* name : {"pitfall", "assault", "jailbreak", "laboratory", "tower"}) {
    const WorldSearch& s = Searched(name);
    const WorldFiles& w = All().at(name);
    EXPECT_TRUE(s.problems.empty()) << name << Listed(s.problems);
    EXPECT_TRUE(s.roomsWithTraps.empty()) << name << ": rooms with no way back:" << Listed(s.roomsWithTraps);
    for (const worlds::Pickup& p : w.pickups)
      EXPECT_TRUE(s.Touchable(p.room, p.x, p.y + 144)) << name << " pickup in room " << p.room;
  }
}

TEST(Reachability, BothTeamsOfTheTowerReachTheCrownRoom) {
  const WorldFiles& w = All().at("tower");
  for (int x : {32, 480}) {
    WorldSearch s(w.rooms);
    s.Run(Starts(1, {{x, 352}}), false);
    bool any = false;
    for (const worlds::Pickup& p : w.pickups) any = any || s.Touchable(p.room, p.x, p.y + 144);
    EXPECT_TRUE(any) << "from x " << x;
  }
}

TEST(Reachability, OriginalLeadsThroughItsDoorsToTheLastDoor) {
  const WorldSearch& s = Searched("original");
  const WorldFiles& w = All().at("original");
  EXPECT_TRUE(s.problems.empty()) << Listed(s.problems);
  for (int room = 1; room <= 20; ++room) {
    EXPECT_TRUE(s.reached[size_t(room)]) << room;
    for (const worlds::Pickup* p : w.PickupsIn(room))
      EXPECT_TRUE(s.Touchable(room, p->x, p->y + 144)) << "pickup in room " << room;
    for (const worlds::Enemy* e : w.EnemiesIn(room))
      if (e->kind == 75) {
        EXPECT_TRUE(s.Touchable(room, e->x + 8, e->y + 144 + 8)) << "door of room " << room;
      }
  }
  EXPECT_FALSE(s.reached[21]);
}

TEST(Reachability, EnemiesLeaveTheWaysInClear) {
  for (const std::string& name : worlds::Names()) {
    const WorldSearch& s = Searched(name);
    const WorldFiles& w = All().at(name);
    int blocked = 0;
    std::string where;
    for (const WorldSearch::Node& in : s.arrivals) {
      if (!in.hero.Standing()) continue;
      for (const worlds::Enemy* e : w.EnemiesIn(in.room)) {
        if (e->kind >= 72) continue;  // arrows cross whole rows; doors and carriers do not kill
        if (worlds::Overlaps(worlds::Sweep(*e), in.hero.x - 8, in.hero.y - 8, in.hero.x + 28, in.hero.y + 40)) {
          ++blocked;
          where += " " + std::to_string(in.room);
        }
      }
    }
    EXPECT_EQ(blocked, 0) << name << ":" << where;
  }
}

// The search's movement model against the game: the same keys from the same places must move
// the hero the same way, step for step, until it leaves the room or dies.
TEST(Reachability, TheSearchMovesLikeTheGame) {
  const WorldFiles& w = All().at("maps");
  const WorldSearch& s = Searched("maps");
  WorldRng rng(99);
  int compared = 0;
  for (int room = 2; room <= 252; room += 9) {
    if (w.RopeFlag(room) == 'Y' || !s.reached[size_t(room)]) continue;
    // A standing place of the search in this room.
    std::vector<model::Hero> places;
    for (uint64_t n : s.nodes)
      if (WorldSearch::RoomOf(n) == room) {
        model::Hero h = WorldSearch::HeroOf(n);
        if (h.Standing() && !h.onConveyor && !h.onStairs && h.y % 16 == 0) places.push_back(h);
      }
    if (places.empty()) continue;
    model::Room modelRoom;
    modelRoom.Load(w.rooms, room);
    for (int run = 0; run < 3; ++run) {
      const model::Hero& from = places[size_t(rng.Range(0, int(places.size()) - 1))];
      model::Hero h = model::StandingAt(from.x, from.y);
      worldgame::StartIn(room, float(h.x), float(h.y));
      model::Input input = model::NoKey;
      for (int step = 0; step < 150; ++step) {
        if (step % 7 == 0) input = model::Input(rng.Range(0, model::InputCount - 1));
        bool left = input == model::LeftKey || input == model::JumpLeft;
        bool right = input == model::RightKey || input == model::JumpRight;
        bool jump = input == model::JumpKey || input == model::JumpLeft || input == model::JumpRight;
        model::Stepper stepper(modelRoom, h);
        int dir = -1;
        model::Outcome outcome = stepper.Step(input, dir);
        worldgame::Step(left, right, jump);
        if (outcome == model::Exited) {
          EXPECT_EQ(Game.room, modelRoom.exits[dir]) << "room " << room << " step " << step;
          break;
        }
        if (outcome == model::Dead) {
          EXPECT_TRUE(Game.dying) << "room " << room << " step " << step;
          break;
        }
        ASSERT_EQ(Game.room, room) << "room " << room << " step " << step;
        const sprite& hero = *Players[0].sprite;
        ASSERT_EQ(int(hero.x), h.x) << "room " << room << " step " << step;
        ASSERT_EQ(int(hero.y), h.y) << "room " << room << " step " << step;
        ++compared;
      }
      worldgame::Finish();
    }
  }
  EXPECT_GT(compared, 1000);
}

TEST(Reachability, TheGameWalksOutOfTheStartRoom) {
  const WorldFiles& w = All().at("maps");
  int next = w.Exit(32, model::Right);
  ASSERT_NE(next, 0);
  worldgame::StartIn(32, 32, 352);
  for (int step = 0; step < 200 && Game.room == 32; ++step) worldgame::Step(false, true, false);
  EXPECT_EQ(Game.room, next);
  EXPECT_FALSE(Game.dying);
  worldgame::Finish();
}

}  // namespace
