// Team and score rules: freeing a slot, team colours, the team table, the own team, the
// administrator in the client build, and joining a team through the team room's edges.
#include "tests/world/hero_fixture.h"
#include "tests/world/sent_message.h"
#include "world/team_rules.h"

namespace {

class TeamRulesTest : public HeroTest {
 protected:
  void SetUp() override {
    HeroTest::SetUp();
    BindNetOnce();
    for (PlayersDetails& d : Slots) {
      d = PlayersDetails{};
      d.netId = -1;
    }
  }
  void Name(int slot, int team = 0) {
    Slots[slot].name = "  P" + std::to_string(slot) + "   ";
    Slots[slot].team = team;
    Slots[slot].room = 32;
    Players[slot].name = Slots[slot].name;
    Players[slot].team = team;
  }
};

void ExpectColour(const PlayerType& p, int r, int g, int b) {
  EXPECT_EQ(p.colourR, r);
  EXPECT_EQ(p.colourG, g);
  EXPECT_EQ(p.colourB, b);
}

TEST_F(TeamRulesTest, AClearedSlotIsFreeAndWaitsInTheLounge) {
  Name(3, TeamBlue);
  Slots[3].netId = 77;
  Slots[3].tagged = 1;
  Slots[3].x = 100;
  Slots[3].following = 5;
  Slots[3].percent = 40;
  Slots[3].ping = 120;
  Players[3].following = 5;
  Players[3].sprite = sprite::Create(Skins[0], 0, 0);
  SetPlayerTeamColour(3, TeamBlue);
  Hosting = 1;
  ClearPlayerSlot(3);
  const PlayersDetails& d = Slots[3];
  EXPECT_EQ(d.netId, -1);
  EXPECT_EQ(d.name, "");
  EXPECT_EQ(d.room, LoungeRoom);
  EXPECT_EQ(d.tagged, 0);
  EXPECT_EQ(d.x, 999);
  EXPECT_EQ(d.y, 999);
  EXPECT_EQ(d.following, NoPlayer);
  EXPECT_EQ(d.percent, 0);
  EXPECT_EQ(d.ping, 0);
  EXPECT_LE(MsSince(d.lastSeen, MilliSecs()), 1000);
  EXPECT_EQ(d.team, TeamNone) << "the next player given the slot starts in no team";
  EXPECT_EQ(Players[3].team, TeamNone);
  ExpectColour(Players[3], PlayerColourR[3], PlayerColourG[3], PlayerColourB[3]);
  EXPECT_EQ(Players[3].sprite->blue, PlayerColourB[3]) << "nor drawn in the team's colour";
  EXPECT_EQ(Players[3].name, "");
  EXPECT_EQ(Players[3].room, LoungeRoom);
  EXPECT_EQ(Players[3].following, NoPlayer);
  EXPECT_TRUE(Players[3].sprite->hidden) << "the hosting client hides the player";

  ClearPlayerSlot(16);
  ClearPlayerSlot(-1);  // outside the slots: nothing happens
}

TEST_F(TeamRulesTest, TeamColoursAndTheSlotsOwnColour) {
  SetPlayerTeamColour(2, TeamRed);
  ExpectColour(Players[2], 255, 0, 0);
  SetPlayerTeamColour(2, TeamBlue);
  ExpectColour(Players[2], 192, 192, 255);
  SetPlayerTeamColour(2, TeamTagged);
  ExpectColour(Players[2], 255, 192, 255);
  SetPlayerTeamColour(2, 7);
  ExpectColour(Players[2], 255, 192, 255);  // an unknown code changes nothing
  SetPlayerTeamColour(2, TeamNone);
  ExpectColour(Players[2], PlayerColourR[2], PlayerColourG[2], PlayerColourB[2]);

  SetPlayerTeamColour(0, TeamBlue);
  EXPECT_EQ(heroSprite().red, 192) << "the sprite is tinted in the client";
  EXPECT_EQ(heroSprite().blue, 255);
  SetPlayerTeamColour(40, TeamBlue);  // no such slot
}

TEST_F(TeamRulesTest, TheTeamTableMarksTaggedPlayersOutsideTheLounge) {
  Hosting = 1;
  Name(0, TeamRed);
  Name(4, TeamBlue);
  Name(9, TeamBlue);
  Slots[4].tagged = 1;
  Slots[9].tagged = 1;
  Slots[9].room = LoungeRoom;
  AssignTeams();
  MsgTeamTable table;
  ASSERT_TRUE(SentMessage(table));
  std::vector<TeamTableEntry> expected = {{0, TeamRed}, {4, TeamTagged}, {9, TeamBlue}};
  EXPECT_EQ(table.entries, expected);
  ExpectColour(Players[0], 255, 0, 0);
  ExpectColour(Players[4], 255, 192, 255);
  ExpectColour(Players[9], 192, 192, 255);
}

TEST_F(TeamRulesTest, NoTeamTableWithoutNamedPlayers) {
  Hosting = 1;
  MarkNothingSent();
  AssignTeams();
  EXPECT_EQ(SentType(), NothingSentType);
}

TEST_F(TeamRulesTest, TheOwnTeamGoesToTheHost) {
  MySlot = 0;
  hero().team = TeamRed;
  SendMyTeam();
  MsgMyTeam sent;
  ASSERT_TRUE(SentMessage(sent));
  EXPECT_EQ(sent, (MsgMyTeam{.slot = 0, .team = TeamRed}));
}

TEST_F(TeamRulesTest, AClientNeverAppointsAnAdministrator) {
  Name(0);
  Name(3);
  AdminSlot = 5;
  MarkNothingSent();
  AppointAdmin(-1);
  AppointAdmin(3);
  EXPECT_EQ(AdminSlot, 5);
  EXPECT_EQ(SentType(), NothingSentType);
  AdminSlot = -1;
}

class TeamRoomTest : public TeamRulesTest {
 protected:
  void SetUp() override {
    TeamRulesTest::SetUp();
    for (int room : {1, SinglePlayerRoom, 160, TeamRoom}) world_.FloorRoom(room);
    world_.SetExits(TeamRoom, 0, 33, 0, 34);
    Hosting = 1;
    Name(0);
  }
  void EnterTeamRoom(int mode) {
    StartIn(TeamRoom, 32, StandingY(15), mode);
    Game.singlePlayer = 0;
  }
};

TEST_F(TeamRoomTest, TheRightEdgeJoinsBlue) {
  EnterTeamRoom(62);
  heroSprite().SetPosition(496, StandingY(15));
  hero().walkDir = 2;
  RoomExitCheck();
  EXPECT_EQ(hero().team, TeamBlue);
  EXPECT_EQ(Slots[0].team, TeamBlue);
  ExpectColour(hero(), 192, 192, 255);
  EXPECT_EQ(Game.room, SinglePlayerRoom);
  EXPECT_EQ(heroSprite().x, 32);
  EXPECT_EQ(heroSprite().y, 352);
  EXPECT_EQ(Game.entryX, 32);
  MsgJoinBlue sent;
  ASSERT_TRUE(SentMessage(sent));
  EXPECT_EQ(sent.slot, 0);
}

TEST_F(TeamRoomTest, TheLeftEdgeJoinsRedAndCaptureTheFlagStartsInTheRedBase) {
  EnterTeamRoom(80);
  heroSprite().SetPosition(4, StandingY(15));
  hero().walkDir = 1;
  RoomExitCheck();
  EXPECT_EQ(hero().team, TeamRed);
  ExpectColour(hero(), 255, 0, 0);
  EXPECT_EQ(Game.room, 160);
  EXPECT_EQ(heroSprite().x, 300);
  EXPECT_EQ(heroSprite().y, 160);
  MsgJoinRed sent;
  ASSERT_TRUE(SentMessage(sent));
}

TEST_F(TeamRoomTest, OutsideATeamModeTheEdgesAreOrdinaryExits) {
  EnterTeamRoom(5);
  heroSprite().SetPosition(496, StandingY(15));
  hero().walkDir = 2;
  RoomExitCheck();
  EXPECT_EQ(Game.room, 33);
  EXPECT_EQ(hero().team, TeamNone);
}

}  // namespace
