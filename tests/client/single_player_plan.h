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
  ~Plan() {
    FlushKeys();
    LeaveGame();
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

    std::vector<std::pair<int, std::string>> events;
    std::istringstream lines(events_);
    std::string line;
    while (std::getline(lines, line)) {
      size_t space = line.find(' ');
      events.emplace_back(std::stoi(line.substr(1, space - 1)), line.substr(space + 1));
    }
    Plan again;
    size_t next = 0;
    const int last = shots.empty() ? 0 : *shots.rbegin();
    for (int pass = 1; pass <= last; ++pass) {
      while (next < events.size() && events[next].first == pass) {
        std::istringstream event(events[next++].second);
        std::string verb;
        int vk = 0;
        event >> verb >> vk;
        if (verb == "down") InjectKeyDown(vk);
        else if (verb == "up") InjectKeyUp(vk);
        else InjectKeyHit(vk);
      }
      if (!again.Pass()) break;
    }
    unsetenv("QXR_INPUT_SCRIPT");
  }

 private:
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

// Walks toward key (Left or Right) until done() holds or limit passes went by; jumps when the
// hero stands still against something, and every jumpEvery passes when that is set.
inline bool Walk(Plan& plan, int key, int limit, const std::function<bool(const PassState&)>& done, int jumpEvery = 0) {
  plan.Hold(key);
  int lastX = -1, still = 0;
  for (int n = 0; n < limit; ++n) {
    if (plan.Passes() % 3 == 0 && plan.Passes() > 0) {
      const PassState& s = plan.Now();
      bool standing = !s.dying && !s.falling && !Players[MySlot].jumping;
      still = standing && s.x == lastX ? still + 1 : 0;
      lastX = s.x;
      if (standing && (still >= 2 || (jumpEvery > 0 && plan.Passes() % jumpEvery == 0))) {
        plan.Tap(Key::Space);
        still = 0;
      }
    }
    if (!plan.Pass()) return false;
    if (done(plan.Now())) {
      plan.Release(key);
      return true;
    }
  }
  plan.Release(key);
  return false;
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

// The rooms from `from` to the nearest rope room through left and right exits; empty when none.
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
    for (int next : {facts.right, facts.left})
      if (ValidRoom(next) && cameFrom[next] < 0 && next != BriefingRoom && next != TeamRoom && next != LoungeRoom) {
        cameFrom[next] = room;
        queue.push_back(next);
      }
  }
  return {};
}

}  // namespace playtest
