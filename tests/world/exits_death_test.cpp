// Room exits, enemy contact (pixel-exact), riding, the exit door, deadly tiles, the dying
// count-down, the respawn at the entry point, the blink and the lives.
#include "tests/world/hero_fixture.h"
#include "world/enemy_contact.h"
#include "world/team_rules.h"

namespace {

constexpr int WestRoom = 60, EastRoom = 61, HazardRoom = 70;

class ExitsDeathTest : public HeroTest {
 protected:
  void SetUp() override {
    HeroTest::SetUp();
    for (int room : {1, 5, SinglePlayerRoom, WestRoom, EastRoom, HazardRoom}) world_.FloorRoom(room);
  }
  // A stationary enemy of kind 0 standing on the floor at x; its opaque middle covers
  // x + 8 .. x + 23 and screen rows 360..375.
  void AddStandingEnemy(int room, int x, int kind = 0) {
    TestEnemy e;
    e.room = room;
    e.x = x;
    e.y = StandingY(15) - PlayfieldTop;
    e.boundX1 = e.boundX2 = x;
    e.boundY1 = e.boundY2 = StandingY(15);
    e.kind = kind;
    world_.AddEnemy(e);
  }
  void StepUntilDying(int maxSteps = 200) {
    for (int i = 0; i < maxSteps && !Game.dying; ++i) Step();
    ASSERT_EQ(Game.dying, 1) << "the hero did not die";
  }
  const EnemyPickk& FirstEnemy() { return RoomEnemies.front(); }
};

TEST_F(ExitsDeathTest, AnEnemyKillsAndTheHeroRespawnsWhereItEnteredTheRoom) {
  world_.SetExits(WestRoom, 0, EastRoom, 0, 0);
  AddStandingEnemy(EastRoom, 200);
  StartIn(WestRoom, 480, StandingY(15));
  Hold(Key::Right);
  for (int i = 0; i < 20 && Game.room != EastRoom; ++i) Step();
  ASSERT_EQ(Game.room, EastRoom);
  EXPECT_EQ(heroSprite().x, 8);
  EXPECT_EQ(Game.entryX, 8);
  EXPECT_EQ(Game.entryY, StandingY(15));
  EXPECT_EQ(Game.entryWalkDir, 2);

  StepUntilDying();
  // Pixel-exact: the enemy's opaque middle starts at x 208, the hero is 16 wide.
  EXPECT_EQ(heroSprite().x, 196);
  float deadX = heroSprite().x;
  Steps(25);
  EXPECT_EQ(Game.dying, 1) << "the hero lies dead for 26 steps";
  EXPECT_EQ(heroSprite().x, deadX);
  EXPECT_EQ(hero().lives, 9);
  Step();
  EXPECT_EQ(Game.dying, 0);
  EXPECT_EQ(hero().lives, 8);
  EXPECT_EQ(Game.room, EastRoom);
  EXPECT_EQ(heroSprite().x, 8);
  EXPECT_EQ(heroSprite().y, StandingY(15));
  EXPECT_EQ(Game.respawnBlink, 100);
  EXPECT_FALSE(KeyDown(Key::Right)) << "the keys are flushed";
}

TEST_F(ExitsDeathTest, ABlinkingHeroPassesEnemiesUnharmedButNotDeadlyTiles) {
  AddStandingEnemy(HazardRoom, 100);
  world_.SetTile(HazardRoom, 20, 14, TestHazard);
  StartIn(HazardRoom, 96, StandingY(15));
  Game.respawnBlink = 100;
  Steps(5);
  EXPECT_EQ(Game.dying, 0) << "standing in an enemy while blinking";
  std::vector<int> shown;
  for (int i = 0; i < 10; ++i) {
    Step();
    shown.push_back(heroSprite().hidden ? 0 : 1);
  }
  // Counts 94..85: shown while count mod 5 = 4.
  EXPECT_EQ(shown, (std::vector<int>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0}));
  heroSprite().SetPosition(320, StandingY(15));
  Step();
  EXPECT_EQ(Game.dying, 1) << "a deadly tile kills a blinking hero";
}

TEST_F(ExitsDeathTest, ContactIsPixelExactAndCheatModeProtects) {
  AddStandingEnemy(HazardRoom, 200);
  StartIn(HazardRoom, 186, StandingY(15));
  EnemyCollisions();
  EXPECT_EQ(Game.dying, 0) << "the boxes overlap, the opaque pixels do not";
  heroSprite().SetPosition(193, StandingY(15));
  Game.cheatMode = 1;
  EnemyCollisions();
  EXPECT_EQ(Game.dying, 0);
  Game.cheatMode = 0;
  EnemyCollisions();
  EXPECT_EQ(Game.dying, 1);
}

TEST_F(ExitsDeathTest, AHiddenArrowOrASpectatorIsNotTouched) {
  TestEnemy arrow;
  arrow.room = HazardRoom;
  arrow.x = 100;
  arrow.y = StandingY(15) - PlayfieldTop;
  arrow.kind = ArrowKindI;
  arrow.facing = 2;
  world_.AddEnemy(arrow);
  StartIn(HazardRoom, 100, StandingY(15));
  EnemyCollisions();
  EXPECT_EQ(Game.dying, 0);
  RoomEnemies.front().sprite->Show();
  Game.spectating = 1;
  EnemyCollisions();
  EXPECT_EQ(Game.dying, 0);
  Game.spectating = 0;
  EnemyCollisions();
  EXPECT_EQ(Game.dying, 1);
}

TEST_F(ExitsDeathTest, TheTenthDeathGivesNineLivesAndReturnsToTheStartRoom) {
  world_.SetTile(HazardRoom, 10, 14, TestHazard);
  StartIn(HazardRoom, 160, StandingY(15));
  for (int death = 1; death <= 10; ++death) {
    StepUntilDying();
    for (int i = 0; i < 30 && Game.dying; ++i) Step();
    ASSERT_EQ(Game.dying, 0);
    if (death < 10) {
      ASSERT_EQ(hero().lives, 9 - death) << "death " << death;
      ASSERT_EQ(Game.room, HazardRoom);
      ASSERT_EQ(heroSprite().x, 160);
    }
  }
  EXPECT_EQ(hero().lives, 9);
  EXPECT_EQ(Game.room, SinglePlayerRoom);
  EXPECT_EQ(heroSprite().x, 32);
  EXPECT_EQ(heroSprite().y, StandingY(15));
  EXPECT_EQ(Game.entryX, 32) << "the start room is the new entry point";
  EXPECT_EQ(Game.respawnBlink, 100);
}

TEST_F(ExitsDeathTest, ModeRulesForLosingLives) {
  world_.SetTile(HazardRoom, 10, 14, TestHazard);
  StartIn(HazardRoom, 160, StandingY(15), 35);
  StepUntilDying();
  Steps(26);
  EXPECT_EQ(hero().lives, 9) << "mode 35 never costs a life";

  Game.gameMode = 33;
  hero().lives = 0;
  StepUntilDying();
  Steps(26);
  EXPECT_EQ(hero().lives, 9);
  EXPECT_EQ(Game.room, 1);
  EXPECT_EQ(heroSprite().x, 32);
  EXPECT_EQ(heroSprite().y, 224);
}

TEST_F(ExitsDeathTest, RidingKeepsTheHeroOnTopOfItsCarrier) {
  TestEnemy lift;
  lift.room = HazardRoom;
  lift.x = 150;
  lift.y = 320 - PlayfieldTop;
  lift.boundX1 = 150;
  lift.boundX2 = 150;
  lift.boundY1 = 250;
  lift.boundY2 = 330;
  lift.kind = RiddenKind;
  lift.facing = 0;  // up
  lift.speedCode = 8;
  lift.moveType = 2;
  world_.AddEnemy(lift);
  StartIn(HazardRoom, 156, 240);
  for (int i = 0; i < 30 && !hero().riding; ++i) Step();
  ASSERT_EQ(hero().riding, 1);
  const sprite& carrier = *FirstEnemy().sprite;
  for (int i = 0; i < 120; ++i) {
    Step();
    ASSERT_EQ(heroSprite().y, carrier.y - 32) << "step " << i;
    ASSERT_EQ(hero().falling, 0);
    ASSERT_EQ(Game.dying, 0);
  }
  EXPECT_EQ(heroSprite().x, 156) << "the carrier does not move the hero sideways";

  Hold(Key::Right);
  for (int i = 0; i < 20 && hero().riding; ++i) Step();
  Release(Key::Right);
  EXPECT_EQ(hero().riding, 0) << "walking off the carrier ends the ride";
  EXPECT_GT(heroSprite().x, carrier.x + 32);
}

TEST_F(ExitsDeathTest, OnlyAHeroAboveTheCarrierGetsOn) {
  TestEnemy carrier;
  carrier.room = HazardRoom;
  carrier.x = 200;
  carrier.y = StandingY(15) - PlayfieldTop;
  carrier.boundX1 = carrier.boundX2 = 200;
  carrier.boundY1 = carrier.boundY2 = StandingY(15);
  carrier.kind = RiddenKind;
  world_.AddEnemy(carrier);
  StartIn(HazardRoom, 190, StandingY(15));
  EnemyCollisions();
  EXPECT_EQ(hero().riding, 0) << "touching from the side";
  EXPECT_EQ(Game.dying, 0) << "the carrier never kills";
}

TEST_F(ExitsDeathTest, LeavingAtTheTopInMidJumpKeepsTheRowOffset) {
  world_.SetExits(EastRoom, WestRoom, 0, 0, 0);
  StartIn(EastRoom, 200, StandingY(15));
  heroSprite().SetPosition(200, 132);  // 132 mod 16 = 4
  hero().jumping = 1;
  hero().jumpStep = 5;
  RoomExitCheck();
  EXPECT_EQ(Game.room, WestRoom);
  EXPECT_EQ(heroSprite().y, 356);
  EXPECT_EQ(Game.entryJumping, 1);
  EXPECT_EQ(Game.entryJumpStep, 5);

  // Back out at the bottom, then up again standing.
  world_.SetExits(WestRoom, EastRoom, 0, 0, 0);
  world_.SelectAsMain();
  EnterRoom();
  heroSprite().SetPosition(200, 140);
  hero().jumping = 0;
  hero().jumpStep = 0;
  RoomExitCheck();
  EXPECT_EQ(Game.room, EastRoom);
  EXPECT_EQ(heroSprite().y, 352);
}

TEST_F(ExitsDeathTest, AnEdgeWithoutAnExitHoldsTheHeroAndKeepsTheEntryState) {
  StartIn(WestRoom, 400, StandingY(15));
  Hold(Key::Right);
  Steps(40);
  Release(Key::Right);
  EXPECT_EQ(Game.room, WestRoom);
  EXPECT_GT(heroSprite().x, 494);
  EXPECT_EQ(Game.entryX, 400);
}

TEST_F(ExitsDeathTest, ADyingHeroLeavesNoRoom) {
  world_.SetExits(WestRoom, 0, EastRoom, 0, 0);
  StartIn(WestRoom, 496, StandingY(15));
  hero().walkDir = 2;
  Game.dying = 1;
  RoomExitCheck();
  EXPECT_EQ(Game.room, WestRoom);
}

TEST_F(ExitsDeathTest, SavedEntryStateComesBackWithTheJumpInProgress) {
  StartIn(WestRoom, 32, StandingY(15));
  heroSprite().SetPosition(101, 299);
  hero().jumping = 1;
  hero().jumpStep = 7;
  hero().walkDir = 1;
  JumpPhase = 2;
  heroSprite().mirrored = 1;
  SaveEntryState();
  EXPECT_EQ(Game.entryX, 100) << "snapped to the 4-pixel grid";
  EXPECT_EQ(Game.entryY, 299) << "y is left alone in mid-jump";

  heroSprite().SetPosition(300, 200);
  hero().jumping = 0;
  hero().jumpStep = 0;
  hero().onRope = 1;
  hero().onConveyor = 1;
  JumpPhase = 0;
  Game.dying = 1;
  RestoreEntryState();
  EXPECT_EQ(heroSprite().x, 100);
  EXPECT_EQ(heroSprite().y, 299);
  EXPECT_EQ(hero().jumping, 1);
  EXPECT_EQ(hero().jumpStep, 7);
  EXPECT_EQ(hero().walkDir, 1);
  EXPECT_EQ(heroSprite().mirrored, 1);
  EXPECT_EQ(JumpPhase, 2);
  EXPECT_EQ(hero().onRope, 0);
  EXPECT_EQ(hero().onConveyor, 0);
  EXPECT_EQ(Game.dying, 0);
}

class DoorTest : public ExitsDeathTest {
 protected:
  void BuildDoorRoom(int room) {
    world_.FloorRoom(room);
    world_.FloorRoom(room + 1 <= 255 ? room + 1 : room);
    AddStandingEnemy(room, 300, DoorKind);
  }
};

TEST_F(DoorTest, TheDoorOpensOnlyOnceTheRoomsPickupsAreTaken) {
  BuildDoorRoom(4);
  world_.AddPickup(4, 100, StandingY(15) - PlayfieldTop + 16, 0);
  StartIn(4, 300, StandingY(15));
  ASSERT_EQ(RoomPickupCount, 1);
  int frame = FirstEnemy().sprite->frame;
  Steps(3);
  EXPECT_EQ(Game.room, 4) << "a pickup remains";
  EXPECT_EQ(FirstEnemy().sprite->frame, frame) << "and the door does not animate";

  heroSprite().SetPosition(96, StandingY(15));
  Step();
  ASSERT_EQ(RoomPickupCount, 0);
  heroSprite().SetPosition(300, StandingY(15));
  Step();
  EXPECT_EQ(Game.room, 5);
  EXPECT_EQ(heroSprite().x, 32);
  EXPECT_EQ(heroSprite().y, 176) << "room 5 has its own arrival point";
  EXPECT_EQ(Game.entryY, 176);
}

TEST_F(DoorTest, TheDoorOfTheLastRoomLeadsNowhereAndADyingHeroCannotUseIt) {
  BuildDoorRoom(255);
  StartIn(255, 300, StandingY(15));
  Step();
  EXPECT_EQ(Game.room, 255);

  BuildDoorRoom(8);
  StartIn(8, 300, StandingY(15));
  Game.dying = 1;
  EnemyCollisions();
  EXPECT_EQ(Game.room, 8);
  Game.dying = 0;
  EnemyCollisions();
  EXPECT_EQ(Game.room, 9);
}

TEST_F(ExitsDeathTest, EnemiesCycleFourFramesAtTheirOwnPace) {
  TestEnemy slow;
  slow.room = HazardRoom;
  slow.x = 400;
  slow.y = 100;
  slow.boundX1 = slow.boundX2 = 400;
  slow.boundY1 = slow.boundY2 = 244;
  slow.kind = 3;
  slow.speedCode = 2;  // speed 6: a new frame every 3 steps
  world_.AddEnemy(slow);
  StartIn(HazardRoom, 32, StandingY(15));
  const EnemyPickk& e = FirstEnemy();
  EXPECT_EQ(e.stepDelayReload, 3);
  std::vector<int> frames;
  for (int i = 0; i < 15; ++i) {
    EnemyCollisions();
    frames.push_back(e.sprite->frame);
  }
  EXPECT_EQ(frames, (std::vector<int>{12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15, 12, 12, 12, 13}));
}

}  // namespace
