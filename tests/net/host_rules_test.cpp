// Host rule operations and who may ask for what: the pickup list of a room, resets, winner
// texts, and the game-mode messages a hosting client takes from its players only when they
// speak for the sender's own slot and fit the running mode.
#include "net/dispatcher.h"
#include "tests/net/hosted_game.h"

namespace online_test {
namespace {

const std::string BlueWins = "** BLUE WIN **", RedWins = "** RED WIN **";

class HostRules : public HostedGameTest {
 protected:
  static void Running(int mode) {
    HostMode = Game.gameMode = static_cast<Byte>(mode);
    RoundStartTime = NetTime();
    RoundRunning = 1;
    RoundClock = MilliSecs();
  }
};

std::vector<int> RoomPickupList(int room) {
  NetBeginMessage();
  NetWriteByte(MsgRoomPickups::type);
  WriteRoomPickups(room);
  MsgRoomPickups list;
  EXPECT_TRUE(SentMessage(list));
  return list.pickups;
}

// --- Rule operations -----------------------------------------------------------------------

TEST_F(HostRules, ARoomsPickupListHoldsItsPresentPickupsAndTheEndMark) {
  EXPECT_EQ(RoomPickupList(PickupRoom), (std::vector<int>{0, 1, 2}));
  Pickups[0].present = Pickups[2].present = 0;
  EXPECT_EQ(RoomPickupList(PickupRoom), (std::vector<int>{1}));
  Pickups[1].present = 0;
  EXPECT_EQ(RoomPickupList(PickupRoom), std::vector<int>{}) << "all taken: only the end mark";
  EXPECT_EQ(RoomPickupList(OtherPickupRoom), (std::vector<int>{3, 4})) << "a room's list stops at the next room";
  EXPECT_EQ(RoomPickupList(42), std::vector<int>{});
  EXPECT_EQ(RoomPickupList(0), std::vector<int>{});
  EXPECT_EQ(RoomPickupList(300), std::vector<int>{});
}

TEST_F(HostRules, AResetOnTheHostingClientEndsEverythingOfTheRound) {
  RemotePlayer& observer = Join("Observer");
  Seat(2, "Two", SinglePlayerRoom);
  Running(62);
  ModeSetTime = 5;
  RoundEndTime = 12345;
  BluePickupCount = 4;
  RedPickupCount = 3;
  Slots[2].tagged = 1;
  Slots[2].team = Players[2].team = TeamBlue;
  SetPlayerTeamColour(2, TeamBlue);
  Game.inGame = 1;
  Game.bannerTitle = "title";
  Game.roundTime = 99;
  Game.tagEventTime = 77;
  Game.room = SinglePlayerRoom;
  for (int i = 0; i <= LastPickup; ++i) Pickups[i].present = 0;

  ResetGame();
  EXPECT_EQ(HostMode, 0);
  EXPECT_EQ(RoundRunning, 0);
  EXPECT_EQ(RoundStartTime, 0);
  EXPECT_EQ(ModeSetTime, 0);
  EXPECT_EQ(BluePickupCount + RedPickupCount, 0);
  EXPECT_EQ(RoundEndTime, 12345) << "the end time outlives a reset";
  EXPECT_EQ(Game.tagEventTime, 0);
  EXPECT_EQ(Game.inGame, 0);
  EXPECT_EQ(Game.bannerTitle, "");
  EXPECT_EQ(Game.gameMode, 0);
  EXPECT_EQ(Game.roundTime, 0);
  EXPECT_EQ(Game.room, LoungeRoom);
  EXPECT_EQ(heroSprite().x, 32);
  EXPECT_EQ(Slots[2].tagged, 0);
  EXPECT_EQ(Slots[2].team, TeamNone);
  EXPECT_EQ(Players[2].colourR, PlayerColourR[2]) << "every player gets its own colour back";
  EXPECT_EQ(Players[2].colourG, PlayerColourG[2]);
  EXPECT_EQ(Players[2].colourB, PlayerColourB[2]);
  for (int i = 0; i <= LastPickup; ++i) EXPECT_EQ(Pickups[i].present, 1) << i;
  ASSERT_TRUE(PumpUntil([&] { return !observer.Received<MsgTeamTable>().empty(); }));
  const MsgTeamTable table = observer.Received<MsgTeamTable>().back();
  for (const TeamTableEntry& e : table.entries) EXPECT_EQ(e.team, TeamNone);
}

TEST_F(HostRules, TheHostingClientsResetReachesEveryPlayer) {
  RemotePlayer& observer = Join("Observer");
  Running(5);
  RequestNewGame();
  EXPECT_EQ(HostMode, 0);
  ASSERT_TRUE(PumpUntil([&] { return observer.CountOf(MsgResetGame::type) > 0; }));
}

TEST_F(HostRules, TheHostingClientShowsTheWinnerOnItsStatusLine) {
  RemotePlayer& observer = Join("Observer");
  Running(62);
  AnnounceWinner(RedWins);
  EXPECT_EQ(Game.statusText, AlignText(RedWins, 32, "C"));
  EXPECT_EQ(HostMode, 0);
  Running(5);
  AnnounceWinner(Name8("Bob"));
  EXPECT_EQ(Game.statusText, AlignText("Last winner was *" + Name8("Bob") + "*", 32, "C"));
  const std::string longName(40, 'x');
  Running(5);
  AnnounceWinner(longName);
  EXPECT_EQ(Game.statusText.size(), 32u);
  ASSERT_TRUE(PumpUntil([&] { return observer.Received<MsgWinner>().size() == 3; }));
  EXPECT_EQ(observer.Received<MsgWinner>()[1].text, Name8("Bob"));
}

// --- What the players may ask of a hosting client ------------------------------------------

TEST_F(HostRules, APlayerCannotStartResetOrHandOverTheGame) {
  RemotePlayer& player = Join("Player");
  RemotePlayer& other = Join("Other");
  player.Send(MsgStartGame{.gameMode = 5});
  Sync(player);
  EXPECT_EQ(HostMode, 0) << "the hosting player alone chooses the game";

  Running(5);
  player.Send(MsgResetGame{});
  player.Send(MsgAdminHandOver{.slot = other.slot});
  Sync(player);
  Drain(other);
  EXPECT_EQ(HostMode, 5);
  EXPECT_EQ(AdminSlot, -1);
  EXPECT_TRUE(other.Received<MsgAdmin>().empty());
  EXPECT_EQ(player.CountOf(MsgResetGame::type), 0);
}

TEST_F(HostRules, AWinnerClaimCountsOnlyForTheClaimantInAModeWonByClaims) {
  RemotePlayer& alice = Join("Alice");
  RemotePlayer& bob = Join("Bob");
  const auto claim = [&](const std::string& text) {
    alice.Send(MsgWinner{text});
    Sync(alice);
    Drain(bob);
    return bob.Received<MsgWinner>().size();
  };
  EXPECT_EQ(claim(Name8("Alice")), 0u) << "no game";
  HostMode = Game.gameMode = 1;
  RoundStartTime = NetTime() + 10000;
  EXPECT_EQ(claim(Name8("Alice")), 0u) << "the count-down";
  Running(1);
  EXPECT_EQ(claim(Name8("Bob")), 0u) << "another player's name";
  Running(12);
  RoundEndTime = NetTime() + 600000;
  EXPECT_EQ(claim(Name8("Alice")), 0u) << "the host decides timed rounds";
  Running(1);
  Game.spectating = 1;
  EXPECT_EQ(claim(Name8("Alice")), 1u);
  EXPECT_EQ(HostMode, 0);
  EXPECT_EQ(Game.spectating, 0) << "a spectating host comes back to its own hero";

  Running(80);
  Slots[alice.slot].team = TeamRed;
  EXPECT_EQ(claim(BlueWins), 1u) << "the other team's win";
  EXPECT_EQ(claim(RedWins), 2u);
  EXPECT_EQ(bob.Received<MsgWinner>()[1].text, RedWins);
}

TEST_F(HostRules, ATeamIsJoinedOnlyByTheSendersOwnSlotInATeamMode) {
  RemotePlayer& alice = Join("Alice");
  RemotePlayer& bob = Join("Bob");
  Running(5);
  alice.Send(MsgJoinBlue{.slot = alice.slot});
  Sync(alice);
  Running(62);
  alice.Send(MsgJoinBlue{.slot = bob.slot});
  alice.Send(MsgJoinRed{.slot = 40});
  Sync(alice);
  EXPECT_EQ(Slots[alice.slot].team, TeamNone);
  EXPECT_EQ(Slots[bob.slot].team, TeamNone);

  alice.Send(MsgJoinBlue{.slot = alice.slot});
  ASSERT_TRUE(PumpUntil([&] { return !bob.Received<MsgJoinBlue>().empty(); }));
  EXPECT_EQ(bob.Received<MsgJoinBlue>()[0].slot, alice.slot);
  EXPECT_EQ(Slots[alice.slot].team, TeamBlue);
  EXPECT_EQ(Players[alice.slot].colourR, 192);
  bob.Send(MsgJoinRed{.slot = bob.slot});
  ASSERT_TRUE(PumpUntil([&] { return !alice.Received<MsgJoinRed>().empty(); }));
  EXPECT_EQ(Slots[bob.slot].team, TeamRed);
  EXPECT_EQ(Players[bob.slot].colourG, 0);
}

TEST_F(HostRules, AnOwnTeamIsTakenForTheSendersSlotAndOnlyAsATeamItCanBe) {
  RemotePlayer& alice = Join("Alice");
  RemotePlayer& bob = Join("Bob");
  Running(5);
  alice.Send(MsgMyTeam{.slot = alice.slot, .team = TeamRed});
  Sync(alice);
  Running(62);
  alice.Send(MsgMyTeam{.slot = bob.slot, .team = TeamRed});
  alice.Send(MsgMyTeam{.slot = alice.slot, .team = 7});
  Sync(alice);
  Drain(bob);
  EXPECT_EQ(Slots[alice.slot].team, TeamNone);
  EXPECT_EQ(Slots[bob.slot].team, TeamNone);
  EXPECT_TRUE(bob.Received<MsgTeamTable>().empty());

  alice.Send(MsgMyTeam{.slot = alice.slot, .team = TeamRed});
  ASSERT_TRUE(PumpUntil([&] { return !bob.Received<MsgTeamTable>().empty(); }));
  EXPECT_EQ(Slots[alice.slot].team, TeamRed);
  const std::vector<TeamTableEntry> table = {{0, TeamNone}, {alice.slot, TeamRed}, {bob.slot, TeamNone}};
  EXPECT_EQ(bob.Received<MsgTeamTable>()[0].entries, table);

  ResetGame();  // no mode: a player going back to no team is still heard
  Slots[alice.slot].team = TeamBlue;
  alice.Send(MsgMyTeam{.slot = alice.slot, .team = TeamNone});
  Sync(alice);
  EXPECT_EQ(Slots[alice.slot].team, TeamNone);
}

}  // namespace
}  // namespace online_test
