// The pickup loader (short, empty and oversized files), the room's pickup and flag sprites,
// collecting with its animation and scoring, and the room-state pickup lists.
#include "tests/world/hero_fixture.h"
#include "tests/world/sent_message.h"
#include "world/team_rules.h"

namespace {

constexpr int PickupRoom = 3, OtherRoom = 7, FlagRoomBlue = 81;
const int PickupY = StandingY(15) - PlayfieldTop + 8;  // at the standing hero's middle

class PickupsTest : public HeroTest {
 protected:
  void SetUp() override {
    HeroTest::SetUp();
    BindNetOnce();
    world_.FloorRoom(PickupRoom);
    world_.FloorRoom(OtherRoom);
    world_.FloorRoom(FlagRoomBlue);
  }
  // Pickups 0 and 1 in PickupRoom (x 100 and 300), pickup 2 in OtherRoom.
  void ThreePickups() {
    world_.AddPickup(PickupRoom, 100, PickupY, 0x0103);
    world_.AddPickup(PickupRoom, 300, PickupY, 2);
    world_.AddPickup(OtherRoom, 50, PickupY, 4);
  }
  int Shown() { return static_cast<int>(RoomPickups.size()); }
};

TEST_F(PickupsTest, TheLoaderReadsRecordsAndTheFirstPickupOfEachRoom) {
  ThreePickups();
  world_.SelectAsMain();
  ASSERT_EQ(LastPickup, 2);
  EXPECT_EQ(FirstPickupOfRoom[PickupRoom], 0);
  EXPECT_EQ(FirstPickupOfRoom[OtherRoom], 2);
  EXPECT_EQ(FirstPickupOfRoom[5], -1);
  EXPECT_EQ(Pickups[0].x, 100);
  EXPECT_EQ(Pickups[0].y, PickupY);
  EXPECT_EQ(Pickups[0].kind, 3) << "only the low byte of the kind";
  EXPECT_EQ(Pickups[2].room, OtherRoom);
  for (int i = 0; i <= LastPickup; ++i) EXPECT_EQ(Pickups[i].present, 1) << "single play: all present";

  Game.singlePlayer = 0;
  LoadPickups();
  EXPECT_EQ(Pickups[0].present, 0) << "a joined client learns presence from room states";
  Hosting = 1;
  LoadPickups();
  EXPECT_EQ(Pickups[0].present, 1);
}

TEST_F(PickupsTest, TheLoaderIgnoresAShortTailAndStopsAtTheTableSize) {
  ThreePickups();
  world_.PickupFile().resize(world_.PickupFile().size() - 3);
  world_.SelectAsMain();
  EXPECT_EQ(LastPickup, 1);
  EXPECT_EQ(FirstPickupOfRoom[OtherRoom], -1);

  TestWorld big;
  for (int i = 0; i < MaxPickups + 100; ++i) big.AddPickup(1 + i / 10, i % 500, 16, 1);
  big.SelectAsMain();
  EXPECT_EQ(LastPickup, MaxPickups - 1);
  EXPECT_EQ(FirstPickupOfRoom[110], 1090);
  EXPECT_EQ(FirstPickupOfRoom[111], -1) << "records past the table are not read";

  TestWorld empty;
  empty.SelectAsMain();
  EXPECT_EQ(LastPickup, -1);
  EXPECT_EQ(FirstPickupOfRoom[1], -1);
}

TEST_F(PickupsTest, EnteringARoomShowsItsPresentPickups) {
  ThreePickups();
  StartIn(PickupRoom, 32, StandingY(15));
  EXPECT_EQ(Shown(), 2);
  Pickups[1].present = 0;
  EnterRoom();
  ASSERT_EQ(Shown(), 1);
  EXPECT_EQ(RoomPickupCount, 1);
  const Pickk& p = RoomPickups.front();
  EXPECT_EQ(p.pickupIndex, 0);
  EXPECT_EQ(p.sprite->x, 100);
  EXPECT_EQ(p.sprite->y, PickupY + PlayfieldTop);
  EXPECT_EQ(p.sprite->frame, 12);
  EXPECT_EQ(p.sprite->image, PickupImage);
}

TEST_F(PickupsTest, CaptureTheFlagAddsTheFlagOnlyToARoomWithPickups) {
  ThreePickups();
  StartIn(FlagRoomBlue, 32, StandingY(15), 80);
  EXPECT_EQ(Shown(), 0) << "room 81 holds no pickup records here";

  world_.AddPickup(FlagRoomBlue, 400, PickupY, 1);
  StartIn(FlagRoomBlue, 32, StandingY(15), 80);
  ASSERT_EQ(Shown(), 2);
  const Pickk& flag = RoomPickups.back();
  EXPECT_EQ(flag.pickupIndex, 2);
  EXPECT_EQ(flag.sprite->image, FlagBlueImage);
  EXPECT_EQ(flag.sprite->x, 208);
  EXPECT_EQ(flag.sprite->y, 352);
  EXPECT_EQ(RoomPickupCount, 1) << "the flag is not counted";
  EXPECT_EQ(Pickups[2].present, 1);
}

TEST_F(PickupsTest, AloneACollectionCountsButSendsAndWinsNothing) {
  ThreePickups();
  StartIn(PickupRoom, 32, StandingY(15), 1);
  hero().score = 29;
  MarkNothingSent();
  heroSprite().SetPosition(88, StandingY(15));
  Step();
  EXPECT_EQ(hero().score, 30);
  EXPECT_EQ(Pickups[0].present, 0);
  EXPECT_EQ(RoomPickupCount, 1);
  EXPECT_EQ(Shown(), 1);
  EXPECT_EQ(SentType(), NothingSentType);
}

TEST_F(PickupsTest, OnlineACollectionIsReportedToTheHost) {
  ThreePickups();
  StartIn(PickupRoom, 32, StandingY(15), 5);
  Game.singlePlayer = 0;
  MySlot = 0;
  heroSprite().SetPosition(296, StandingY(15));
  CollectPickups();
  MsgPickupTaken sent;
  ASSERT_TRUE(SentMessage(sent));
  EXPECT_EQ(sent, (MsgPickupTaken{.room = PickupRoom, .pickupIndex = 1, .collector = 0}));
  EXPECT_EQ(hero().score, 1);
}

TEST_F(PickupsTest, ASpectatorCollectsNothingButPickupsStillAnimateWhileADyingHeroStillCollects) {
  ThreePickups();
  StartIn(PickupRoom, 88, StandingY(15));
  Game.spectating = 1;
  AnimTick = 1;
  AnimCounter = 1;
  CollectPickups();
  EXPECT_EQ(Shown(), 2);
  EXPECT_EQ(RoomPickups.front().sprite->frame, 13);
  Game.spectating = 0;
  Game.dying = 1;
  CollectPickups();
  EXPECT_EQ(Shown(), 1);
  EXPECT_EQ(hero().score, 1);
}

TEST_F(PickupsTest, OnePassTakesEveryPickupTheHeroTouches) {
  world_.AddPickup(PickupRoom, 100, PickupY, 1);
  world_.AddPickup(PickupRoom, 108, PickupY, 2);
  world_.AddPickup(PickupRoom, 300, PickupY, 3);
  StartIn(PickupRoom, 96, StandingY(15), 5);
  Game.singlePlayer = 0;
  CollectPickups();
  EXPECT_EQ(Shown(), 1);
  EXPECT_EQ(hero().score, 2);
  MsgPickupTaken sent;
  ASSERT_TRUE(SentMessage(sent));
  EXPECT_EQ(sent.pickupIndex, 1) << "the second pickup of the pass is reported last";
}

TEST_F(PickupsTest, PickupsCycleTheirFourFramesWithTheAnimationClock) {
  ThreePickups();
  StartIn(PickupRoom, 32, StandingY(15));
  const sprite& s = *RoomPickups.front().sprite;
  std::vector<int> frames;
  for (int i = 0; i < 20; ++i) {
    Step();
    frames.push_back(s.frame);
  }
  std::vector<int> expected;
  for (int frame : {13, 14, 15, 12})
    for (int i = 0; i < 5; ++i) expected.push_back(frame);
  EXPECT_EQ(frames, expected);
}

TEST_F(PickupsTest, ATeamAtItsOwnFlagTakesNothingAndTheOtherTeamTakesIt) {
  ThreePickups();
  world_.AddPickup(FlagRoomBlue, 400, PickupY, 1);
  StartIn(FlagRoomBlue, 32, StandingY(15), 80);
  Game.singlePlayer = 0;
  hero().team = TeamBlue;
  const Pickk& flag = RoomPickups.back();
  heroSprite().SetPosition(208, 352);
  CollectPickups();
  EXPECT_EQ(Shown(), 2);
  EXPECT_EQ(flag.sprite->frame, 1) << "the flag waves through its seven frames";
  for (int i = 0; i < 6; ++i) CollectPickups();
  EXPECT_EQ(flag.sprite->frame, 0);
  EXPECT_EQ(RoomPickups.front().sprite->frame, 4) << "the other pickups keep their own frames";

  hero().team = TeamRed;
  CollectPickups();
  EXPECT_EQ(Shown(), 1);
  EXPECT_EQ(Pickups[2].present, 0);
  // Taking the other team's flag wins the round: the claim is the last message sent.
  MsgWinner sent;
  ASSERT_TRUE(SentMessage(sent));
  EXPECT_EQ(sent.text, "** RED WIN **");
}

TEST_F(PickupsTest, ClearingARoomsFlagsStopsAtTheNextRoom) {
  ThreePickups();
  StartIn(PickupRoom, 32, StandingY(15));
  ClearRoomPickupFlags();
  EXPECT_EQ(Pickups[0].present, 0);
  EXPECT_EQ(Pickups[1].present, 0);
  EXPECT_EQ(Pickups[2].present, 1);

  Pickups[0].present = 1;
  Game.gameMode = 35;
  ClearRoomPickupFlags();
  EXPECT_EQ(Pickups[0].present, 1) << "mode 35 keeps every pickup";
}

TEST_F(PickupsTest, ARoomStateListMarksItsPickupsAndIgnoresBadIndices) {
  ThreePickups();
  StartIn(PickupRoom, 32, StandingY(15));
  ClearRoomSprites();
  ClearRoomPickupFlags();
  {
    InboundShorts list({1, -3, 999, 2, 9999, 0});
    ReadRoomPickupList();
  }
  EXPECT_EQ(Pickups[0].present, 0) << "read no further than the end mark";
  EXPECT_EQ(Pickups[1].present, 1);
  EXPECT_EQ(Pickups[2].present, 1);
  ASSERT_EQ(Shown(), 1);
  EXPECT_EQ(RoomPickups.front().pickupIndex, 1);

  ClearRoomPickupFlags();
  {
    InboundShorts again({1, 9999});
    ReadRoomPickupList();
  }
  EXPECT_EQ(Shown(), 1) << "a second state for the room shows each pickup once";
  EXPECT_EQ(RoomPickupCount, 1);
}

TEST_F(PickupsTest, AListReadsAtMostFiftyIndicesAndStopsWhereAShortPacketEnds) {
  for (int i = 0; i < 60; ++i) world_.AddPickup(PickupRoom, 8 * i, 16, 0);
  StartIn(PickupRoom, 32, StandingY(15));
  ClearRoomSprites();
  ClearRoomPickupFlags();
  std::vector<int> indices;
  for (int i = 1; i <= 51; ++i) indices.push_back(i);
  {
    InboundShorts list(indices);
    ReadRoomPickupList();
  }
  EXPECT_EQ(Pickups[50].present, 1);
  EXPECT_EQ(Pickups[51].present, 0) << "the 51st index is not read";
  EXPECT_EQ(Pickups[0].present, 0);
  EXPECT_EQ(Shown(), 50);

  ClearRoomSprites();
  ClearRoomPickupFlags();
  {
    InboundShorts list({7});  // no end mark: the packet ends
    ReadRoomPickupList();
  }
  EXPECT_EQ(Pickups[7].present, 1);
  EXPECT_EQ(Pickups[0].present, 0) << "reads past the end give 0, which is not a pickup index here";
}

TEST_F(PickupsTest, ModeThirtyFiveIgnoresRoomStateListsButStillSpawns) {
  ThreePickups();
  StartIn(PickupRoom, 32, StandingY(15), 35);
  ClearRoomSprites();
  Pickups[0].present = 0;
  {
    InboundShorts list({0, 9999});
    ReadRoomPickupList();
  }
  EXPECT_EQ(Pickups[0].present, 0);
  EXPECT_EQ(Shown(), 1);
}

}  // namespace
