// The single-player game end to end: the real client program, headless and fast, steered by an
// input script that is planned by playing the same world in this process.
//
// The plan walks the hero and records the keys pass by pass; the program then gets those keys at
// the same frames of its game loop. Its screenshots are checked against the world files (room
// names), the HUD's fixed texts, score and lives, and against the same frames drawn here.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "assets/embedded_files.h"
#include "client_test_support.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/stream.h"
#include "screenshot_checks.h"
#include "single_player_plan.h"
#include "world/records.h"

namespace {

using namespace playtest;
using clienttest::ScratchFolder;

const std::vector<std::string> Windowed = {"/w"};

// Runs the program and returns the flip of its first game pass: the first frame whose HUD
// shows "Items collected     Time".
int FirstGameFlip() {
  static int found = -2;
  if (found != -2) return found;
  found = -1;
  ScratchFolder folder;
  std::string script = StartupScript;
  for (int flip = 10; flip <= 40; ++flip) script += std::to_string(flip) + " shot f" + std::to_string(flip) + ".png\n";
  script += "45 key 27\n55 key 121\n";
  clienttest::ClientRun run = clienttest::RunClient(folder.Path(), script, Windowed);
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  for (int flip = 10; flip <= 40; ++flip) {
    Image shot = LoadImage(folder.File("f" + std::to_string(flip) + ".png"), 0);
    if (!shot) continue;
    auto pixel = [&](int x, int y) { return ReadImagePixel(shot, 0, x, y) & 0xFFFFFF; };
    int opaque = 0;
    if (clienttest::TextMismatches(pixel, FontImage, "Items collected     Time", 0, 425, 255, 255, 255, &opaque, true) == 0 &&
        opaque > 0) {
      found = flip;
      break;
    }
  }
  return found;
}

// With QXR_E2E_SHOTS set to a folder, the screenshots of a run are kept there under name/.
void KeepShots(const ScratchFolder& folder, const std::string& name) {
  const char* keep = std::getenv("QXR_E2E_SHOTS");
  if (!keep || !*keep) return;
  std::string target = std::string(keep) + "/" + name;
  std::string command = "mkdir -p '" + target + "' && cp '" + folder.Path() + "'/*.png '" + target + "'/";
  if (std::system(command.c_str()) != 0) ADD_FAILURE() << "could not keep the screenshots in " << target;
}

// Runs the program on plan's keys with screenshots of shots, then draws the same frames here.
void RunPlanned(const Plan& plan, ScratchFolder& folder, const std::vector<int>& shots) {
  const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  const int first = FirstGameFlip();
  ASSERT_GT(first, 0) << "the game's HUD never appeared after F2";
  int end = plan.Passes();
  std::string leave = std::to_string(first + end) + " key 27\n" + std::to_string(first + end + 10) + " key 121\n";
  clienttest::ClientRun run = clienttest::RunClient(folder.Path(), plan.Script(first, shots, leave), Windowed);
  ASSERT_FALSE(run.timedOut) << run.errors;
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  plan.Replay(folder.Path(), shots);
  KeepShots(folder, test);
  for (int pass : shots) {
    Shot program(folder.File("pass" + std::to_string(pass) + ".png"));
    Shot here(folder.File("ref" + std::to_string(pass) + ".png"));
    ASSERT_TRUE(program.Loaded() && here.Loaded()) << "pass " << pass;
    EXPECT_EQ(FrameDifferences(program, here), 0) << "pass " << pass;
  }
}

// Every test needs the game's own world and pictures, embedded by the content generator.
class SinglePlayerGame : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterEmbeddedFiles();
    if (!EmbeddedFileExists("maps.dat") || !EmbeddedFileExists("pictures/font.png"))
      GTEST_SKIP() << "the game's world and pictures are not embedded in this build";
    Plan::Prepare();
  }
};

}  // namespace

TEST_F(SinglePlayerGame, FromTheMenuIntoRoom32ThroughTheRightExitAndBackToTheMenu) {
  const RoomFacts start = ReadRoomFacts(SinglePlayerRoom);
  ASSERT_NE(start.right, 0) << "room 32 of maps has no right exit";
  const int next = start.right;

  Plan plan;
  bool arrived = Walk(plan, Key::Right, 3000, [&](const PassState& s) { return s.room == next; });
  ASSERT_TRUE(arrived) << "walking right from the start never reached room " << next;
  const int arrival = plan.Passes() - 1;
  for (const PassState& s : plan.States()) ASSERT_EQ(s.lives, 9) << "the walk to the next room cost a life";
  const int inNext = arrival + 6;
  for (int pass = plan.Passes(); pass <= inNext; ++pass) plan.Pass();
  const int quit = plan.Passes();
  plan.Tap(Key::Escape);
  EXPECT_FALSE(plan.Pass());

  const int first = FirstGameFlip();
  ASSERT_GT(first, 0) << "the game's HUD never appeared after F2";
  ScratchFolder folder;
  const std::vector<int> shots = {1, arrival - 3, inNext};
  std::string menuShot = std::to_string(first + quit + 5) + " shot menu.png\n" + std::to_string(first + quit + 8) + " key 121\n";
  clienttest::ClientRun run = clienttest::RunClient(folder.Path(), plan.Script(first, shots, menuShot), Windowed);
  ASSERT_FALSE(run.timedOut) << run.errors;
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  plan.Replay(folder.Path(), shots);
  KeepShots(folder, "FromTheMenuIntoRoom32");

  Shot opening(folder.File("pass1.png"));
  ASSERT_TRUE(opening.Loaded());
  EXPECT_EQ(TextWrong(opening, Title(SinglePlayerRoom), 0, 405, 255, 255, 0), 0) << Title(SinglePlayerRoom);
  EXPECT_EQ(TextWrong(opening, "Items collected     Time", 0, 425, 255, 255, 255), 0);
  EXPECT_EQ(TextWrong(opening, "0", 252, 425, 255, 255, 0), 0);
  EXPECT_EQ(TextWrong(opening, "7:00am", 410, 425, 0, 255, 255), 0);
  EXPECT_EQ(LivesIcons(opening), 9);
  EXPECT_GT(HeroMatch(opening, 32, 352), 0.9);

  Shot before(folder.File("pass" + std::to_string(arrival - 3) + ".png"));
  EXPECT_EQ(TextWrong(before, Title(SinglePlayerRoom), 0, 405, 255, 255, 0), 0);
  Shot after(folder.File("pass" + std::to_string(inNext) + ".png"));
  EXPECT_EQ(TextWrong(after, Title(next), 0, 405, 255, 255, 0), 0) << Title(next);
  EXPECT_GT(HeroMatch(after, plan.States()[inNext].x, plan.States()[inNext].y), 0.9);
  EXPECT_LT(plan.States()[inNext].x, 64);

  // The program drew the very frames the plan drew.
  for (int pass : shots) {
    Shot ref(folder.File("ref" + std::to_string(pass) + ".png"));
    EXPECT_EQ(FrameDifferences(Shot(folder.File("pass" + std::to_string(pass) + ".png")), ref), 0) << "pass " << pass;
  }

  Shot menu(folder.File("menu.png"));
  ASSERT_TRUE(menu.Loaded());
  EXPECT_EQ(TextWrong(menu, "F2...Single Player", 90, 114, 0, 255, 0), 0);
}

TEST_F(SinglePlayerGame, CollectingAPickupScoresOne) {
  std::unique_ptr<Plan> plan;
  ASSERT_TRUE(PlanUntil(plan, 4000, [](const PassState& s) { return s.score == 1; }))
      << "no walk from the start room collects a pickup";
  const int taken = plan->Passes() - 1;
  for (int i = 0; i < 3; ++i) plan->Pass();
  ScratchFolder folder;
  const std::vector<int> shots = {taken - 1, taken + 2};
  RunPlanned(*plan, folder, shots);

  Shot before(folder.File("pass" + std::to_string(taken - 1) + ".png"));
  Shot after(folder.File("pass" + std::to_string(taken + 2) + ".png"));
  EXPECT_EQ(TextWrong(before, "0", 252, 425, 255, 255, 0), 0);
  EXPECT_EQ(TextWrong(after, "1", 252, 425, 255, 255, 0), 0);
  EXPECT_EQ(TextWrong(after, "Items collected     Time", 0, 425, 255, 255, 255), 0);
  EXPECT_EQ(TextWrong(after, Title(plan->States()[taken + 2].room), 0, 405, 255, 255, 0), 0);
}

TEST_F(SinglePlayerGame, DyingOnAnEnemyOrHazardCostsALifeAndRespawnsAtTheEntryPoint) {
  std::unique_ptr<Plan> plan;
  int deathPass = -1;
  bool found = false;
  const struct { int key, jumpEvery; } walks[] = {{Key::Right, 0}, {Key::Left, 0}, {Key::Right, 24}, {Key::Left, 24}};
  for (const auto& walk : walks) {
    plan = std::make_unique<Plan>();
    deathPass = -1;
    // Walking stops at the first death; the hero lies still until the respawn. A fall from more
    // than 80 pixels is not what this is about.
    if (!Walk(*plan, walk.key, 4000, [&](const PassState& s) { return s.dying != 0; }, walk.jumpEvery)) continue;
    size_t n = plan->States().size();
    if (n >= 2 && plan->States()[n - 2].fallDistance > 80) continue;
    deathPass = static_cast<int>(n) - 1;
    for (int i = 0; i < 200 && plan->Now().lives == 9; ++i) plan->Pass();
    if (plan->Now().lives == 8) {
      found = true;
      break;
    }
  }
  ASSERT_TRUE(found) << "no walk from the start room meets an enemy or a deadly tile";
  const int respawn = plan->Passes() - 1;
  const PassState& back = plan->Now();
  EXPECT_EQ(back.x, back.entryX);
  EXPECT_EQ(back.y, back.entryY);
  // A frame of the blink in which the hero shows.
  int visible = -1;
  for (int i = 0; i < 60 && visible < 0; ++i) {
    plan->Pass();
    if (!plan->Now().heroHidden) visible = plan->Passes() - 1;
  }
  ASSERT_GE(visible, 0);
  ScratchFolder folder;
  const std::vector<int> shots = {deathPass - 1, respawn, visible};
  RunPlanned(*plan, folder, shots);

  Shot alive(folder.File("pass" + std::to_string(deathPass - 1) + ".png"));
  Shot dead(folder.File("pass" + std::to_string(respawn) + ".png"));
  Shot blink(folder.File("pass" + std::to_string(visible) + ".png"));
  EXPECT_EQ(LivesIcons(alive), 9);
  EXPECT_EQ(LivesIcons(dead), 8);
  EXPECT_EQ(LivesIcons(blink), 8);
  const PassState& shown = plan->States()[visible];
  EXPECT_GT(HeroMatch(blink, shown.entryX, shown.entryY), 0.9);
}

TEST_F(SinglePlayerGame, EnemiesPickupsAndTheRopeOfARopeRoom) {
  ASSERT_FALSE(RouteToRopeRoom(SinglePlayerRoom).empty()) << "no rope room can be reached from room 32";
  auto plan = std::make_unique<Plan>();
  std::string trouble;
  ASSERT_TRUE(WalkToRopeRoom(plan, &trouble)) << trouble;
  const int ropeRoom = plan->Now().room;
  for (int i = 0; i < 12; ++i) plan->Pass();
  const int ropeShot = plan->Passes() - 1;

  int busyShot = -1;
  const std::vector<PassState>& states = plan->States();
  for (int pass = 1; pass < static_cast<int>(states.size()) && busyShot < 0; ++pass)
    // Not a frame of arrival: that one still shows the last room's tiles under the new room's things.
    if (states[pass].enemiesShown > 0 && states[pass].pickupsShown > 0 && !states[pass].dying &&
        states[pass].room == states[pass - 1].room)
      busyShot = pass;
  ASSERT_GE(busyShot, 0) << "no room on the way showed enemies and pickups together";

  ScratchFolder folder;
  RunPlanned(*plan, folder, {busyShot, ropeShot});

  Shot busy(folder.File("pass" + std::to_string(busyShot) + ".png"));
  EXPECT_GE(SpritesSeen(busy, states[busyShot].enemies), 1);
  EXPECT_GE(SpritesSeen(busy, states[busyShot].pickups), 1);
  Shot rope(folder.File("pass" + std::to_string(ropeShot) + ".png"));
  EXPECT_EQ(TextWrong(rope, Title(ropeRoom), 0, 405, 255, 255, 0), 0) << Title(ropeRoom);
  EXPECT_TRUE(states[ropeShot].rope);
  EXPECT_GE(SpritesSeen(rope, states[ropeShot].ropeSegments), 24);
}

