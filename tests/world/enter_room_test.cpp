// Entering a room in single play: decoding the record, hazards, exits and title, the rope
// flag, the lobby rules, the discovery share, and room numbers outside the world.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/world/sent_message.h"
#include "tests/world/test_rooms.h"
#include "world/room_tiles.h"
#include "world/team_rules.h"

namespace {

class EnterRoomTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWorldState();
    MakeHero(64, 352);
  }
  void Load() { world.SelectAsMain(); }
  int SolidMaskBytes() {
    int n = 0;
    for (int i = 0; i < MaskSize; ++i) n += PeekByte(CollisionMask, i) != 0;
    return n;
  }
  TestWorld world;
};

TEST_F(EnterRoomTest, AnEmptyRoomHasNoClassesHazardsOrSlopes) {
  world.FloorRoom(40);
  world.SetTile(40, 3, 5, TestStairsRight);
  world.SetTile(40, 6, 6, TestHazard);
  Load();
  EnterTestRoom(40);
  EXPECT_GT(SolidMaskBytes(), 0);
  EXPECT_EQ(RoomHazards.size(), 1u);
  EnterTestRoom(41);
  for (int c = 0; c < 33; ++c)
    for (int r = 0; r < 18; ++r) {
      ASSERT_EQ(CellGrid[c][r], CellEmpty);
      ASSERT_EQ(TileGrid[c][r], 0);
    }
  EXPECT_TRUE(RoomHazards.empty());
  EXPECT_EQ(SolidMaskBytes(), 0);
  EXPECT_EQ(Game.ropeRoom, 0);
}

TEST_F(EnterRoomTest, TilesExitsAndTitleComeFromTheRecord) {
  world.FloorRoom(40, "Corner Shop");
  world.SetTile(40, 31, 0, 431);
  world.SetTile(40, 4, 10, TestHazard + 7);
  world.SetTile(40, 9, 2, 351);
  world.SetExits(40, 30, 41, 50, 39);
  Load();
  Game.room = 40;
  EnterRoom();
  EXPECT_EQ(TileGrid[31][0], 431);
  EXPECT_EQ(CellGrid[31][0], CellConveyorRight);
  EXPECT_EQ(CellGrid[0][15], CellSolid);
  EXPECT_EQ(CellGrid[4][10], CellEmpty) << "a deadly tile leaves its cell empty";
  EXPECT_EQ(TileGrid[4][10], TestHazard + 7);
  ASSERT_EQ(RoomHazards.size(), 2u);
  // In reading order: row 2 before row 10, each at its cell with the tile as its frame.
  const sprite& first = *RoomHazards.front().sprite;
  const sprite& second = *RoomHazards.back().sprite;
  EXPECT_EQ(first.x, 9 * 16);
  EXPECT_EQ(first.y, 144 + 2 * 16);
  EXPECT_EQ(first.frame, 351);
  EXPECT_EQ(second.x, 4 * 16);
  EXPECT_EQ(second.y, 144 + 10 * 16);
  EXPECT_EQ(second.frame, TestHazard + 7);
  EXPECT_EQ(RoomExits[0], 30);
  EXPECT_EQ(RoomExits[1], 41);
  EXPECT_EQ(RoomExits[2], 50);
  EXPECT_EQ(RoomExits[3], 39);
  EXPECT_EQ(RoomTitle, "           Corner Shop           ");
  EXPECT_EQ(RoomTitle.size(), 33u);
  EXPECT_EQ(Players[0].sprite->hidden, 0);
  EXPECT_EQ(Moved, 1);
}

TEST_F(EnterRoomTest, EnteringClearsTheOldRoomsSprites) {
  world.SetTile(40, 6, 6, TestHazard);
  world.SetTile(40, 7, 6, TestHazard);
  world.SetRopeFlag(40, 'Y');
  Load();
  EnterTestRoom(40);
  EXPECT_EQ(Game.ropeRoom, 1);
  ASSERT_TRUE(Rope.anchor);
  MakeHero(64, 352);
  Players[3].sprite = sprite::Create(Image(), 0, 0);
  int before = sprite::Count();
  EnterTestRoom(41);
  EXPECT_EQ(Game.ropeRoom, 0);
  EXPECT_TRUE(RoomHazards.empty());
  EXPECT_EQ(sprite::Count(), before - 2 - 33) << "two hazards, the rope's anchor and 32 segments";
  EXPECT_EQ(Players[3].sprite->hidden, 1) << "other players are hidden until their states show them";
  EXPECT_EQ(Players[0].sprite->hidden, 0);
}

TEST_F(EnterRoomTest, LobbyRoomsPlaceTheHeroBySlotAndResetItsMotion) {
  Load();
  MySlot = 3;
  sprite& hero = MakeHero(200, 200);
  Players[3].jumping = 1;
  Players[3].jumpStep = 5;
  Players[3].team = TeamBlue;
  Players[3].colourR = 1;
  EnterTestRoom(BriefingRoom);
  EXPECT_EQ(hero.x, 3 * 32 + 32);
  EXPECT_EQ(hero.y, 352);
  EXPECT_EQ(Players[3].jumping, 0);
  EXPECT_EQ(Players[3].jumpStep, 0);
  EXPECT_EQ(VisitCounts[BriefingRoom], 0) << "lobby rooms are never counted";
  EXPECT_EQ(Players[3].team, TeamBlue) << "only the lounge resets the team";

  EnterTestRoom(LoungeRoom);
  EXPECT_EQ(Players[3].team, TeamNone);
  EXPECT_EQ(Players[3].colourR, PlayerColourR[3]);
  EXPECT_EQ(Players[3].colourG, PlayerColourG[3]);
  EXPECT_EQ(Players[3].colourB, PlayerColourB[3]);
  EXPECT_EQ(hero.green, float(PlayerColourG[3]));
  EXPECT_EQ(VisitCounts[LoungeRoom], 0);
}

TEST_F(EnterRoomTest, TheTeamRoomOpensItsSideWallsOnlyDuringARound) {
  world.FillColumn(TeamRoom, 0, TestSolid);
  world.FillColumn(TeamRoom, 31, TestSolid);
  Load();
  EnterTestRoom(TeamRoom);
  for (int row = 11; row <= 15; ++row) {
    EXPECT_EQ(CellGrid[0][row], CellSolid) << "row " << row;
    EXPECT_EQ(CellGrid[31][row], CellSolid) << "row " << row;
  }
  Game.inGame = 1;
  EnterTestRoom(TeamRoom);
  for (int row = 12; row <= 14; ++row) {
    EXPECT_EQ(CellGrid[0][row], CellEmpty) << "row " << row;
    EXPECT_EQ(CellGrid[31][row], CellEmpty) << "row " << row;
    EXPECT_EQ(TileGrid[0][row], 0);
    EXPECT_EQ(TileGrid[31][row], 0);
  }
  EXPECT_EQ(CellGrid[0][11], CellSolid);
  EXPECT_EQ(CellGrid[31][15], CellSolid);
}

TEST_F(EnterRoomTest, DiscoveryShareCountsDistinctRoomsOfTheFirst252) {
  Load();
  EnterTestRoom(1);
  EXPECT_EQ(Players[0].percent, 0) << "1 of 252 is 0.39 percent";
  EnterTestRoom(1);
  EXPECT_EQ(VisitCounts[1], 2);
  EXPECT_EQ(DiscoveryShare(), 0);
  for (int room = 1; room <= 126; ++room) EnterTestRoom(room);
  EXPECT_EQ(Players[0].percent, 50);
  Game.spectating = 1;
  EnterTestRoom(127);
  EXPECT_EQ(VisitCounts[127], 0) << "a spectator's view is not a visit";
  EXPECT_EQ(Players[0].percent, 50);
  Game.spectating = 0;
  for (int room = 127; room <= 255; ++room) EnterTestRoom(room);
  // 252 rooms, less the three lobby rooms that are never counted, less 253..255.
  EXPECT_EQ(VisitCounts[253], 1);
  EXPECT_EQ(Players[0].percent, 98) << "249 of 252 rooms";
}

TEST_F(EnterRoomTest, RoomNumbersOutsideTheWorldKeepTheShownRoom) {
  world.FloorRoom(40, "Kept");
  world.FloorRoom(SinglePlayerRoom, "Start");
  Load();
  for (int bad : {0, 256, -1, 1000, 65535}) {
    Game.room = bad;
    EnterRoom();
    EXPECT_EQ(Game.room, SinglePlayerRoom) << "before any room, " << bad << " gives the start room";
    ShownRoom = 0;
  }
  EnterTestRoom(40);
  int visits[256];
  std::memcpy(visits, VisitCounts, sizeof visits);
  for (int bad : {0, 256, -1, 1000}) {
    Game.room = bad;
    EnterRoom();
    EXPECT_EQ(Game.room, 40) << "room " << bad;
    EXPECT_EQ(RoomTitle.find("Kept") != std::string::npos, true);
    EXPECT_EQ(CellGrid[5][15], CellSolid);
  }
  EXPECT_EQ(std::memcmp(visits, VisitCounts, sizeof visits), 0);
}

// Online: without a network interface every send is dropped, so the last message built
// stays in the outgoing stream, where the test reads it.
class OnlineEnterRoomTest : public EnterRoomTest {
 protected:
  void SetUp() override {
    EnterRoomTest::SetUp();
    BindNetOnce();
    Game.singlePlayer = 0;
    MySlot = 2;
    MakeHero(64, 352);
    world.FloorRoom(40, "Forty");
    world.FloorRoom(12, "Twelve");
    world.FloorRoom(81, "Desert Isle");
    world.AddPickup(40, 100, 200, 1);
    world.AddPickup(40, 140, 200, 2);
  }
  void TearDown() override {
    Hosting = 0;
    RoomStateWait = 0;
    RoomStateAsked = 0;
  }
  // Enters room and tells whether the room's state was asked for.
  bool EnterAsksForState(int room) {
    MarkNothingSent();
    EnterTestRoom(room);
    MsgEnterRoom asked;
    return SentMessage(asked) && asked.slot == MySlot && asked.room == room && Game.awaitingRoomState == 1;
  }
};

TEST_F(OnlineEnterRoomTest, AJoinedClientAsksTheHostForTheRoomsState) {
  Load();
  EXPECT_TRUE(EnterAsksForState(40));
  EXPECT_EQ(RoomStateWait, 1);
  EXPECT_TRUE(RoomPickups.empty()) << "the pickups come with the state";
  EXPECT_EQ(VisitCounts[40], 1);
}

TEST_F(OnlineEnterRoomTest, AJoinedClientInTheLobbyAsksForTheGameMode) {
  Load();
  MarkNothingSent();
  EnterTestRoom(BriefingRoom);
  MsgGameModeRequest request;
  ASSERT_TRUE(SentMessage(request));
  EXPECT_EQ(request.slot, 2);
  EXPECT_EQ(Game.awaitingRoomState, 0);
}

TEST_F(OnlineEnterRoomTest, AHostAloneInTheRoomSpawnsItsPickupsAtOnce) {
  Hosting = 1;
  Load();
  MySlot = 0;
  MakeHero(64, 352);
  Slots[4].name = " Other  ";
  Slots[4].room = 41;
  MarkNothingSent();
  EnterTestRoom(40);
  EXPECT_EQ(SentType(), NothingSentType);
  EXPECT_EQ(Game.awaitingRoomState, 0);
  EXPECT_EQ(RoomStateWait, 0);
  EXPECT_EQ(RoomPickups.size(), 2u);
}

TEST_F(OnlineEnterRoomTest, AHostAsksAPlayerAlreadyInTheRoom) {
  Load();
  Hosting = 1;
  MySlot = 0;
  MakeHero(64, 352);
  Slots[4].name = " Other  ";
  Slots[4].room = 40;
  Slots[6].name = " Third  ";
  Slots[6].room = 40;
  MarkNothingSent();
  EnterTestRoom(40);
  MsgRoomQuery query;
  ASSERT_TRUE(SentMessage(query));
  EXPECT_EQ(query.requester, 0);
  EXPECT_EQ(query.room, 40);
  EXPECT_EQ(RoomStateAsked, 1);
  EXPECT_EQ(Game.awaitingRoomState, 1);
  EXPECT_EQ(RoomStateWait, 1);
  EXPECT_TRUE(RoomPickups.empty());
}

TEST_F(OnlineEnterRoomTest, ArrivingWithTheDiscoveryShareOrInTheRaceRoomWins) {
  Load();
  Game.gameMode = 41;  // 20 percent
  for (int room = 100; room < 100 + 49; ++room) VisitCounts[room] = 1;
  EXPECT_TRUE(EnterAsksForState(40)) << "50 of 252 rooms is 19 percent";
  EXPECT_EQ(Players[2].percent, 19);
  EXPECT_FALSE(EnterAsksForState(12)) << "51 rooms make 20 percent: the win instead of the state";
  EXPECT_EQ(Game.awaitingRoomState, 0);
  EXPECT_EQ(Game.goalReached, 0);

  Game.gameMode = 21;
  EXPECT_TRUE(EnterAsksForState(40));
  EXPECT_FALSE(EnterAsksForState(81));
  EXPECT_EQ(Game.goalReached, 0);
}

TEST_F(OnlineEnterRoomTest, AChainRaceAnnouncesEachTargetAndWinsAtTheLast) {
  Load();
  Game.gameMode = 50;
  ChainTargets[0] = 12;
  ChainTargets[1] = 40;
  EXPECT_TRUE(EnterAsksForState(40)) << "40 is not the next target yet";
  EXPECT_EQ(Game.chainIndex, 0);
  EXPECT_TRUE(EnterAsksForState(12));
  EXPECT_EQ(Game.chainIndex, 1);
  EXPECT_EQ(ChatLines[13].text, ">>> GOTO ROOM >>>Forty");
  EXPECT_EQ(ChatLines[13].colour, 99);
  MarkNothingSent();
  EnterTestRoom(40);
  EXPECT_EQ(Game.chainIndex, 2);
  EXPECT_EQ(Game.awaitingRoomState, 0) << "the last target wins instead of asking for the state";
  // The arrival line goes out first; the win, when it is sent, comes after it.
  InStream = OutStream;
  ASSERT_EQ(NetReadByte(), GameMessageId);
  int type = NetReadByte();
  MsgChat chat;
  if (type == MsgChat::type) {
    ASSERT_TRUE(ReadMessage(chat));
    EXPECT_EQ(chat.text, "2: Made it to Forty");
  } else {
    EXPECT_EQ(type, MsgWinner::type);
  }
  InStream = nullptr;
}

TEST_F(OnlineEnterRoomTest, ASpectatorsViewCountsNoVisitAndWinsNothing) {
  Load();
  Game.gameMode = 21;
  Game.spectating = 1;
  EXPECT_TRUE(EnterAsksForState(81));
  EXPECT_EQ(VisitCounts[81], 0);
}

TEST(RaceGoalRoomTest, EachRaceHasItsRoom) {
  const int goals[][2] = {{20, 1}, {21, 81}, {22, 120}, {23, 255}, {24, 79},
                          {25, 133}, {26, 38}, {27, 159}, {28, 212}, {29, 0}, {19, 0}};
  for (const auto& g : goals) EXPECT_EQ(RaceGoalRoom(g[0]), g[1]) << "mode " << g[0];
}

}  // namespace
