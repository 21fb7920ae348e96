// Plans of a single-player game: the world as its files hold it, and the game played in this process pass by pass with its keys recorded for the real program.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "client/client_records.h"
#include "client/game_session.h"
#include "client_test_support.h"
#include "platform/clock.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/stream.h"
#include "screen_support.h"
#include "world/game_modes.h"
#include "world/records.h"
#include "world/static_data.h"
#include "world/world_files.h"

namespace playtest {

// The start-up's version question answered "n", the title left with Space, F2 in the menu.
// The program is run with "/w", which skips the full-screen question.
inline const char* const StartupScript = "1 type n\n2 key 13\n8 key 32\n14 key 113\n";

// ---- The world as its files hold it --------------------------------------------------------

struct RoomFacts {
  std::string name;
  int up = 0, right = 0, down = 0, left = 0;
  bool rope = false;
  std::vector<int> floorGaps;  // columns of the bottom row a hero falls through
};

inline RoomFacts ReadRoomFacts(int room) {
  static const std::vector<uint8_t> rooms = ReadAll("incbin::maps.dat");
  RoomFacts facts;
  size_t base = static_cast<size_t>(room) * RoomRecordSize;
  if (base + RoomRecordSize > rooms.size()) return facts;
  std::string name(rooms.begin() + static_cast<long>(base + RoomNameOffset),
                   rooms.begin() + static_cast<long>(base + RoomNameOffset + RoomNameLength));
  facts.name = name;
  facts.up = rooms[base + RoomExitsOffset];
  facts.right = rooms[base + RoomExitsOffset + 1];
  facts.down = rooms[base + RoomExitsOffset + 2];
  facts.left = rooms[base + RoomExitsOffset + 3];
  facts.rope = rooms[base + RoomRopeFlagOffset] == 'Y';
  for (int column = 0; column < RoomColumns; ++column) {
    size_t at = base + RoomTilesOffset + (15 * RoomColumns + column) * 2;
    int tile = rooms[at] | rooms[at + 1] << 8;
    bool ground = (tile >= 1 && tile <= 303) || (tile >= 400 && tile <= 431);
    bool deadly = tile >= 304 && tile <= 351;
    if (!ground && !deadly) facts.floorGaps.push_back(column);
  }
  return facts;
}

// ---- Planning on the same world, in this process -------------------------------------------

// A sprite as it was drawn: picture, frame, top-left corner (the game's room sprites have their
// handle there), tint and facing.
struct Drawn {
  Image image;
  int frame = 0, x = 0, y = 0, r = 255, g = 255, b = 255, mirrored = 0;
};

inline Drawn AsDrawn(const sprite& s) {
  return Drawn{s.image, s.frame, static_cast<int>(s.x), static_cast<int>(s.y), static_cast<int>(s.red),
               static_cast<int>(s.green), static_cast<int>(s.blue), s.mirrored};
}

// What the game showed after one pass of its loop.
struct PassState {
  int room = 0, score = 0, lives = 0, dying = 0, falling = 0, fallDistance = -1;
  int x = 0, y = 0, heroHidden = 0, entryX = 0, entryY = 0;
  int enemiesShown = 0, pickupsShown = 0, rope = 0;
  std::vector<Drawn> enemies, pickups, ropeSegments;
};

// A single-player game played here, pass by pass, with its key events recorded. The world steps
// on passes 0, 3, 6 ... as in the program, whose flips are 1/60 s apart and whose steps need
// more than 40 ms.
class Plan {
 public:
  static void Prepare() {
    clienttest::OpenScreenWithPictures();
    static bool made = false;
    if (made) return;
    made = true;
    CreateClientRecords();
    FillModeTexts();
    ReadMovementTables();
    MouseSprite = sprite::Create(MouseImage, 0, 0);
  }

  Plan() {
    Prepare();
    FlushKeys();
    Game.singlePlayer = 1;  // the last game here was single play too: nothing online to close
    LeaveGame();
    // As the program's first game after the menu: fresh game state, the default name and skin.
    Game = GameVars();
    Game.singlePlayer = 1;
    MySlot = 0;
    Hosting = 0;
    SelectedSkin = 0;
    PlayerName = " Guest  ";
    for (ChatMessagesType& line : ChatLines) line = ChatMessagesType();
    for (PlayerType& player : Players) player.name.clear();
    StartGame();
    Pass();  // the first pass gets no keys: the menu flushed them on its way out
  }

  // Keys take effect in the next pass (the first pass cannot get any: the menu flushes them).
  void Hold(int vk) {
    Record("down", vk);
    InjectKeyDown(vk);
  }
  void Release(int vk) {
    Record("up", vk);
    InjectKeyUp(vk);
  }
  void Tap(int vk) {
    Record("key", vk);
    InjectKeyHit(vk);
  }

  // One pass; false when the game was left.
  bool Pass() {
    LastStepTime = passes_ % 3 == 0 ? MilliSecs() - 1000 : MilliSecs();
    bool going = GameLoopPass();
    ++passes_;
    states_.push_back(Observe());
    return going;
  }

  int Passes() const { return passes_; }
  const PassState& Now() const { return states_.back(); }
  const std::vector<PassState>& States() const { return states_; }

  // The program's script: the start-up, then the keys and screenshots of the game's passes.
  // The first pass of the game ends with flip firstFlip; an event before pass i runs at flip
  // firstFlip + i - 1, a screenshot of pass i is taken at flip firstFlip + i.
  std::string Script(int firstFlip, const std::vector<int>& shotPasses, const std::string& after = "") const {
    std::ostringstream script;
    script << StartupScript << events_;
    for (int pass : shotPasses) script << firstFlip + pass << " shot pass" << pass << ".png\n";
    std::string text = script.str();
    // Pass numbers in the recorded events become flips.
    std::ostringstream out;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
      if (line.rfind("P", 0) == 0) {
        size_t space = line.find(' ');
        out << firstFlip + std::stoi(line.substr(1, space - 1)) - 1 << line.substr(space) << "\n";
      } else {
        out << line << "\n";
      }
    }
    return out.str() + after;
  }

  // A fresh game that has played this plan's keys up to, not including, pass upTo: the game is
  // deterministic, so it stands where this one stood then. Only one game lives at a time: this
  // plan's game is gone afterwards.
  std::unique_ptr<Plan> Rewound(int upTo) const {
    std::vector<std::pair<int, std::string>> events;
    std::istringstream lines(events_);
    std::string line;
    while (std::getline(lines, line)) {
      size_t space = line.find(' ');
      events.emplace_back(std::stoi(line.substr(1, space - 1)), line.substr(space + 1));
    }
    auto again = std::make_unique<Plan>();
    size_t next = 0;
    for (int pass = 1; pass < upTo; ++pass) {
      while (next < events.size() && events[next].first == pass) again->Apply(events[next++].second);
      if (!again->Pass()) break;
    }
    // Keys pressed or let go after the last of those passes belong to where it stood.
    while (next < events.size() && events[next].first == upTo) again->Apply(events[next++].second);
    return again;
  }

  // Plays the recorded keys again from a fresh game, saving the frames of shotPasses here as
  // "<folder>/ref<pass>.png".
  void Replay(const std::string& folder, const std::vector<int>& shotPasses) const {
    std::set<int> shots(shotPasses.begin(), shotPasses.end());
    std::string scriptPath = folder + "/ref_script.txt";
    std::ostringstream script;
    const int base = FlipCount();  // pass p ends with flip base + p + 1
    for (int pass : shots) script << base + pass + 1 << " shot " << folder << "/ref" << pass << ".png\n";
    clienttest::WriteText(scriptPath, script.str());
    setenv("QXR_INPUT_SCRIPT", scriptPath.c_str(), 1);
    Rewound(shots.empty() ? 1 : *shots.rbegin() + 1);
    unsetenv("QXR_INPUT_SCRIPT");
  }

 private:
  // A recorded event ("down 39") done again.
  void Apply(const std::string& recorded) {
    std::istringstream event(recorded);
    std::string verb;
    int vk = 0;
    event >> verb >> vk;
    if (verb == "down") Hold(vk);
    else if (verb == "up") Release(vk);
    else Tap(vk);
  }
  void Record(const char* verb, int vk) {
    events_ += "P" + std::to_string(passes_) + " " + verb + " " + std::to_string(vk) + "\n";
  }
  static PassState Observe() {
    PassState s;
    const PlayerType& hero = Players[MySlot];
    s.room = Game.room;
    s.score = hero.score;
    s.lives = hero.lives;
    s.dying = Game.dying;
    s.falling = hero.falling;
    s.fallDistance = Game.fallDistance;
    s.x = static_cast<int>(hero.sprite->x);
    s.y = static_cast<int>(hero.sprite->y);
    s.heroHidden = hero.sprite->hidden;
    s.entryX = Game.entryX;
    s.entryY = Game.entryY;
    for (const EnemyPickk& e : RoomEnemies)
      if (e.sprite && !e.sprite->hidden) s.enemies.push_back(AsDrawn(*e.sprite));
    for (const Pickk& p : RoomPickups)
      if (p.sprite && !p.sprite->hidden) s.pickups.push_back(AsDrawn(*p.sprite));
    s.rope = Game.ropeRoom && Rope.anchor != nullptr;
    if (s.rope)
      for (const SpriteRef& segment : Rope.segments)
        if (segment && !segment->hidden) s.ropeSegments.push_back(AsDrawn(*segment));
    s.enemiesShown = static_cast<int>(s.enemies.size());
    s.pickupsShown = static_cast<int>(s.pickups.size());
    return s;
  }

  int passes_ = 0;
  std::string events_;  // "P<pass> <verb> <vk>" lines
  std::vector<PassState> states_;
};

// How a walk goes: the direction key, and when the hero jumps besides against a wall: every
// jumpEvery passes, and when a deadly thing lies dangerFrom..dangerTo pixels ahead.
struct WalkStyle {
  int key = Key::Right;
  int jumpEvery = 0;
  int dangerFrom = 0, dangerTo = -1;
};

// Pixels from the hero's front to the nearest deadly thing ahead at the hero's height or just
// under its feet (enemies that kill, deadly tiles); a large number when there is none.
inline int DangerAhead(int key) {
  const sprite& hero = *Players[MySlot].sprite;
  int front = key == Key::Right ? static_cast<int>(hero.x) + 20 : static_cast<int>(hero.x);
  int top = static_cast<int>(hero.y) - 8, bottom = static_cast<int>(hero.y) + 48;
  int nearest = 1 << 20;
  auto consider = [&](const sprite& s) {
    if (s.hidden || !s.image) return;
    int left = static_cast<int>(s.x), right = left + ImageWidth(s.image);
    int y0 = static_cast<int>(s.y), y1 = y0 + ImageHeight(s.image);
    if (y1 < top || y0 > bottom) return;
    int d = key == Key::Right ? left - front : front - right;
    if (d >= 0 && d < nearest) nearest = d;
  };
  for (const EnemyPickk& e : RoomEnemies)
    if (e.sprite && e.kind != 72 && e.kind != 75) consider(*e.sprite);
  for (const Pickk& h : RoomHazards)
    if (h.sprite) consider(*h.sprite);
  return nearest;
}

// Walks as style says until done() holds (true) or limit passes went by (false).
inline bool Walk(Plan& plan, const WalkStyle& style, int limit, const std::function<bool(const PassState&)>& done) {
  plan.Hold(style.key);
  int lastX = -1, still = 0;
  for (int n = 0; n < limit; ++n) {
    if (plan.Passes() % 3 == 0) {
      const PassState& s = plan.Now();
      bool standing = !s.dying && !s.falling && !Players[MySlot].jumping;
      still = standing && s.x == lastX ? still + 1 : 0;
      lastX = s.x;
      int danger = DangerAhead(style.key);
      bool jump = still >= 2 || (style.jumpEvery > 0 && plan.Passes() % style.jumpEvery == 0) ||
                  (danger >= style.dangerFrom && danger <= style.dangerTo);
      if (standing && jump) {
        plan.Tap(Key::Space);
        still = 0;
      }
    }
    if (!plan.Pass()) return false;
    if (done(plan.Now())) {
      plan.Release(style.key);
      return true;
    }
  }
  plan.Release(style.key);
  return false;
}

inline bool Walk(Plan& plan, int key, int limit, const std::function<bool(const PassState&)>& done, int jumpEvery = 0) {
  return Walk(plan, WalkStyle{key, jumpEvery}, limit, done);
}

// Tries the walks in turn, each from a fresh game, until one reaches the goal.
inline bool PlanUntil(std::unique_ptr<Plan>& plan, int limit, const std::function<bool(const PassState&)>& goal) {
  const struct { int key, jumpEvery; } walks[] = {
      {Key::Right, 0}, {Key::Left, 0}, {Key::Right, 24}, {Key::Left, 24}, {Key::Right, 9}, {Key::Left, 9}};
  for (const auto& walk : walks) {
    plan = std::make_unique<Plan>();
    if (Walk(*plan, walk.key, limit, goal, walk.jumpEvery)) return true;
  }
  return false;
}

// The rooms from `from` to the nearest rope room through side exits and holes in the floor
// that lead down; empty when there is no such way.
inline std::vector<int> RouteToRopeRoom(int from) {
  std::vector<int> cameFrom(RoomCount, -1);
  std::vector<int> queue = {from};
  cameFrom[from] = from;
  for (size_t i = 0; i < queue.size(); ++i) {
    int room = queue[i];
    RoomFacts facts = ReadRoomFacts(room);
    if (facts.rope) {
      std::vector<int> route;
      for (int r = room; r != from; r = cameFrom[r]) route.insert(route.begin(), r);
      route.insert(route.begin(), from);
      return route;
    }
    std::vector<int> ways = {facts.right, facts.left};
    if (!facts.floorGaps.empty()) ways.push_back(facts.down);
    for (int next : ways)
      if (ValidRoom(next) && cameFrom[next] < 0 && next != BriefingRoom && next != TeamRoom && next != LoungeRoom) {
        cameFrom[next] = room;
        queue.push_back(next);
      }
  }
  return {};
}

// The direction key that leads from the hero's place in room to the next room: toward its side
// exit, or toward the nearest hole of the floor when next lies below.
inline int KeyToward(int room, int next, int heroX) {
  RoomFacts facts = ReadRoomFacts(room);
  if (next == facts.right) return Key::Right;
  if (next == facts.left) return Key::Left;
  int best = facts.floorGaps.empty() ? 0 : facts.floorGaps.front();
  for (int column : facts.floorGaps)
    if (std::abs(column * 16 - heroX) < std::abs(best * 16 - heroX)) best = column;
  return best * 16 + 8 >= heroX + 10 ? Key::Right : Key::Left;
}

// Plays on from plan's game along the way to the nearest rope room, one room at a time; each
// room is tried with a few ways of jumping until one gets through without a death. Plan is
// replaced by the game that got there. False when a room could not be crossed.
inline bool WalkToRopeRoom(std::unique_ptr<Plan>& plan, std::string* trouble) {
  const WalkStyle styles[] = {{0, 0, 0, -1}, {0, 0, 4, 20}, {0, 0, 12, 28}, {0, 0, 20, 36}, {0, 24, 0, -1},
                              {0, 0, 0, 8},  {0, 12, 0, -1}};
  for (int leg = 0; leg < 40; ++leg) {
    int room = plan->Now().room;
    if (ReadRoomFacts(room).rope) return true;
    std::vector<int> route = RouteToRopeRoom(room);
    if (route.size() < 2) {
      *trouble = "no way on from room " + std::to_string(room);
      return false;
    }
    const int next = route[1], start = plan->Passes(), lives = plan->Now().lives;
    bool crossed = false;
    for (size_t i = 0; i < std::size(styles) && !crossed; ++i) {
      if (i > 0) plan = plan->Rewound(start);
      WalkStyle style = styles[i];
      style.key = KeyToward(room, next, plan->Now().x);
      bool died = false;
      crossed = Walk(*plan, style, 1500, [&](const PassState& s) {
        died = died || s.dying || s.lives != lives;
        return died || s.room != room;
      });
      crossed = crossed && !died && plan->Now().room == next;
    }
    if (!crossed) {
      *trouble = "could not get from room " + std::to_string(room) + " to room " + std::to_string(next);
      return false;
    }
  }
  *trouble = "too many rooms on the way";
  return false;
}

}  // namespace playtest
