// The host as referee: the count-down and the round start with its choices, the tag, chase,
// timed and team decisions, team collect, and the chain race's first target.
#include "net/dispatcher.h"
#include "tests/net/hosted_game.h"
#include "world/pickups.h"

namespace online_test {
namespace {

constexpr int TagRoom = 27;
const std::string BlueWins = "** BLUE WIN **", RedWins = "** RED WIN **";

class HostRounds : public HostedGameTest {
 protected:
  void SetUp() override {
    HostedGameTest::SetUp();
    SeedRnd(7);
  }

  // The observer sits in the lounge, in slot 9 unless asked otherwise, and sees what all see.
  RemotePlayer& Observer(int slot = 9) {
    HoldSlots(1, slot - 1);
    RemotePlayer& observer = Join("Observer");
    EXPECT_EQ(observer.slot, slot);
    return observer;
  }

  // The mode announced with its count-down already over: the next host step starts the round.
  static void AnnounceDue(int mode) {
    HostMode = Game.gameMode = static_cast<Byte>(mode);
    RoundRunning = 0;
    RoundStartTime = NetTime() - 1;
  }
  // A round of mode running since the clock's now - sinceMs.
  static void Running(int mode, int sinceMs = 0) {
    HostMode = Game.gameMode = static_cast<Byte>(mode);
    RoundStartTime = NetTime() - sinceMs;
    RoundRunning = 1;
    RoundClock = MilliSecs() - sinceMs;
  }

  std::vector<std::string> Winners(RemotePlayer& observer) {
    std::vector<std::string> texts;
    for (const MsgWinner& w : observer.Received<MsgWinner>()) texts.push_back(w.text);
    return texts;
  }
  // Runs the host step until the observer has heard of a winner.
  std::string AwaitWinner(RemotePlayer& observer) {
    EXPECT_TRUE(PumpUntil([&] { return !observer.Received<MsgWinner>().empty(); })) << "no winner";
    return Winners(observer).empty() ? "" : Winners(observer)[0];
  }
};

// --- The count-down and the round start ----------------------------------------------------

TEST_F(HostRounds, TheHostsChoiceIsAnnouncedWithATenSecondCountDown) {
  RemotePlayer& observer = Observer();
  StartGameMode(5);
  EXPECT_EQ(HostMode, 5);
  EXPECT_EQ(RoundStartTime - ModeSetTime, 10000);
  EXPECT_EQ(RoundRunning, 0);
  EXPECT_EQ(Game.room, BriefingRoom);
  ASSERT_TRUE(PumpUntil([&] { return !observer.Received<MsgGameMode>().empty(); }));
  EXPECT_EQ(observer.Received<MsgGameMode>()[0],
            (MsgGameMode{.gameMode = 5, .roundStart = RoundStartTime, .running = 0}));
}

TEST_F(HostRounds, AStartTimeOfZeroOrOneNeverStartsARound) {
  for (int start : {0, 1}) {
    HostMode = Game.gameMode = 5;
    RoundStartTime = start;
    HostNetUpdate();
    HostNetUpdate();
    EXPECT_EQ(RoundRunning, 0) << "start time " << start;
  }
}

TEST_F(HostRounds, TheRoundStartsOnTheFirstStepAfterTheStartTimeNotAtIt) {
  RemotePlayer& observer = Observer();
  HostMode = Game.gameMode = 5;
  bool checkedAtTheStartTime = false;
  for (int attempt = 0; attempt < 50 && !checkedAtTheStartTime; ++attempt) {
    const int now = NetTime();
    RoundStartTime = now;
    HostNetUpdate();
    if (NetTime() != now) continue;  // the clock ticked during the step: try again
    checkedAtTheStartTime = true;
    EXPECT_EQ(RoundRunning, 0);
  }
  ASSERT_TRUE(checkedAtTheStartTime);
  const int start = NetTime() - 1;
  RoundStartTime = start;
  HostNetUpdate();
  EXPECT_EQ(RoundRunning, 1);
  EXPECT_EQ(Game.room, SinglePlayerRoom);
  EXPECT_EQ(heroSprite().x, 32);
  EXPECT_EQ(heroSprite().y, 352);

  ASSERT_TRUE(PumpUntil([&] { return observer.CountOf(MsgGameMode::type) > 0; }));
  EXPECT_EQ(observer.Types(), (std::vector<int>{MsgRoundStart::type, MsgGameMode::type}));
  EXPECT_EQ(observer.Received<MsgGameMode>()[0], (MsgGameMode{.gameMode = 5, .roundStart = start, .running = 0}))
      << "the running flag of this message is still 0";
}

TEST_F(HostRounds, TimedRoundsLastFiveMinutesPerStep) {
  AnnounceDue(12);
  const int start = NetTime();
  HostNetUpdate();
  EXPECT_NEAR(RoundEndTime - start, 900000, 50);
  EXPECT_NEAR(Game.roundTime - start, 900000, 50);

  AnnounceDue(73);
  Game.room = TeamRoom;
  EnterRoom();
  ASSERT_EQ(CellGrid[0][13], CellSolid);
  HostNetUpdate();
  EXPECT_NEAR(RoundEndTime - NetTime(), 1200000, 50);
  EXPECT_EQ(Game.room, TeamRoom) << "a team round starts where the players chose their sides";
  for (int row = 12; row <= 14; ++row) {
    EXPECT_EQ(CellGrid[0][row], CellEmpty);
    EXPECT_EQ(CellGrid[31][row], CellEmpty);
  }
}

TEST_F(HostRounds, TheTaggedPlayerIsDrawnFromThoseTakingPart) {
  RemotePlayer& observer = Observer();
  Slots[0].room = LoungeRoom;
  Seat(2, "Two", BriefingRoom);
  Seat(4, "Four", BriefingRoom);
  AnnounceDue(30);
  HostNetUpdate();
  ASSERT_TRUE(PumpUntil([&] { return !observer.Received<MsgRoundStart>(30).empty(); }));
  const int tagged = observer.Received<MsgRoundStart>(30)[0].slot;
  ASSERT_TRUE(tagged == 2 || tagged == 4) << tagged;
  EXPECT_EQ(Slots[tagged].tagged, 1);
  EXPECT_EQ(Slots[6 - tagged].tagged, 0);
  EXPECT_EQ(Players[tagged].colourG, 192) << "the tagged player is drawn in the tag colour";
  EXPECT_EQ(Game.room, TagRoom);
}

TEST_F(HostRounds, TheOneToCatchIsDrawnAndEveryoneElseChases) {
  RemotePlayer& observer = Observer();
  Slots[0].room = LoungeRoom;
  for (int slot : {2, 4, 6}) Seat(slot, "P" + std::to_string(slot), BriefingRoom);
  AnnounceDue(32);
  HostNetUpdate();
  ASSERT_TRUE(PumpUntil([&] { return !observer.Received<MsgRoundStart>(32).empty(); }));
  const int chosen = observer.Received<MsgRoundStart>(32)[0].slot;
  ASSERT_TRUE(chosen == 2 || chosen == 4 || chosen == 6) << chosen;
  EXPECT_EQ(TagTargetSlot, chosen);
  for (int slot : {2, 4, 6}) {
    EXPECT_EQ(Slots[slot].tagged, slot == chosen ? 0 : 1) << slot;
    EXPECT_EQ(Players[slot].colourR, slot == chosen ? PlayerColourR[slot] : 255) << slot;
  }
  EXPECT_EQ(Slots[9].tagged, 0) << "a player in the lounge takes no part";
}

TEST_F(HostRounds, ATagOrChaseRoundWithNobodyOutsideTheLoungeStartsWithoutAChoiceAndEnds) {
  RemotePlayer& observer = Observer();
  Slots[0].room = LoungeRoom;
  for (int mode : {30, 32}) {
    AnnounceDue(mode);
    HostNetUpdate();
    EXPECT_EQ(RoundRunning, 1) << mode;
    ASSERT_TRUE(PumpUntil([&] { return !observer.Received<MsgRoundStart>(mode).empty(); }));
    EXPECT_FALSE(ValidSlot(observer.Received<MsgRoundStart>(mode)[0].slot)) << "nobody is chosen";
    for (const PlayersDetails& d : Slots) EXPECT_EQ(d.tagged, 0);
    // Nobody can join a tag or chase round once it runs: it ends, won by nobody.
    EXPECT_EQ(AwaitWinner(observer), "no winner") << mode;
    EXPECT_EQ(HostMode, 0) << mode;
    observer.Forget();
    Slots[0].room = LoungeRoom;
  }
}

TEST_F(HostRounds, GoldenPickupsAreThreeDrawsFromIndexOneOn) {
  bool sawARepeat = false;
  for (int seed = 1; seed <= 40; ++seed) {
    SeedRnd(seed);
    AnnounceDue(31);
    HostNetUpdate();
    ASSERT_EQ(RoundRunning, 1);
    int present = 0;
    for (int i = 0; i <= LastPickup; ++i) present += Pickups[i].present;
    EXPECT_EQ(Pickups[0].present, 0) << "index 0 is never drawn";
    EXPECT_GE(present, 1);
    EXPECT_LE(present, 3);
    sawARepeat = sawARepeat || present < 3;
  }
  EXPECT_TRUE(sawARepeat) << "a repeated draw leaves fewer golden pickups";
}

TEST_F(HostRounds, CaptureTheFlagStartsWithEveryPickupAbsent) {
  AnnounceDue(80);
  HostNetUpdate();
  for (int i = 0; i <= LastPickup; ++i) EXPECT_EQ(Pickups[i].present, 0) << i;
}

TEST_F(HostRounds, AChainRaceShowsTheFirstTargetAndSendsTheTargetsToAJoiningPlayer) {
  RemotePlayer& observer = Observer();
  ChainTargets[0] = PickupRoom;
  ChainTargets[1] = OtherPickupRoom;
  AnnounceDue(51);
  HostNetUpdate();
  EXPECT_EQ(ChatLines[13].text, ">>> GOTO ROOM >>>Room 40");
  EXPECT_EQ(ChatLines[13].colour, 99);

  observer.Send(MsgGameStateRequest{});
  ASSERT_TRUE(PumpUntil([&] {
    return !observer.Received<MsgGameState>().empty() && !observer.Received<MsgChainRooms>().empty();
  }));
  EXPECT_EQ(observer.Received<MsgChainRooms>()[0].rooms, (std::array<int, 5>{PickupRoom, OtherPickupRoom, 0, 0, 0}));
  EXPECT_EQ(observer.Received<MsgGameState>()[0].gameMode, 51);
}

TEST_F(HostRounds, AJoiningPlayerIsToldATagRoundHasStartedOnlyWhenItHas) {
  RemotePlayer& observer = Observer();
  RoundEndTime = NetTime() + 5000;  // left over from an earlier timed round
  HostMode = Game.gameMode = 30;
  RoundStartTime = NetTime() + 10000;
  observer.Send(MsgGameStateRequest{});
  ASSERT_TRUE(PumpUntil([&] { return !observer.Received<MsgGameState>().empty(); }));
  EXPECT_EQ(observer.Received<MsgGameState>()[0].roundEnd, 0) << "in the count-down the round has not started";

  Running(30);
  observer.Send(MsgGameStateRequest{});
  ASSERT_TRUE(PumpUntil([&] { return observer.Received<MsgGameState>().size() == 2; }));
  EXPECT_NE(observer.Received<MsgGameState>()[1].roundEnd, 0) << "a running tag round cannot be joined";
}

// --- The referee's decisions ---------------------------------------------------------------

TEST_F(HostRounds, TagWithThreeTakingPartIsWonByTheLastUntaggedOne) {
  RemotePlayer& observer = Observer();
  Slots[0].room = TagRoom;
  Slots[0].x = 100;
  Slots[0].y = 352;
  Slots[0].tagged = 1;
  Seat(2, "Two", TagRoom, 116);  // touching the host's box edge to edge
  Seat(4, "Four", TagRoom, 400);
  Running(30, 4000);
  HostNetUpdate();
  EXPECT_EQ(Slots[2].tagged, 0) << "no tags in the first five seconds";

  RoundClock = MilliSecs() - 5001;
  EXPECT_EQ(AwaitWinner(observer), Name8("Four"));
  ASSERT_EQ(observer.Received<MsgTagged>().size(), 1u);
  EXPECT_EQ(observer.Received<MsgTagged>()[0].slot, 2);
  EXPECT_EQ(Game.statusText, AlignText("Last winner was *" + Name8("Four") + "*", 32, "C"));
  EXPECT_EQ(HostMode, 0) << "the decision ends the round";
}

TEST_F(HostRounds, TagIsWonByALowerUntaggedPlayerWaitingInTheLounge) {
  RemotePlayer& observer = Observer();
  Slots[0].room = LoungeRoom;
  Seat(2, "Two", TagRoom, 100);
  Seat(4, "Four", TagRoom, 110);
  Seat(6, "Six", TagRoom, 400);
  Slots[2].tagged = 1;
  Running(30, 6000);
  EXPECT_EQ(AwaitWinner(observer), Name8("Host"));
}

TEST_F(HostRounds, ATagRoundWhoseTaggedPlayersHaveAllGoneEndsWithNoWinner) {
  RemotePlayer& observer = Observer();
  Slots[0].room = LoungeRoom;
  for (int slot : {2, 3, 4, 5, 6}) Seat(slot, "P" + std::to_string(slot), TagRoom, 40 * slot);
  Slots[2].tagged = Slots[3].tagged = 1;
  Running(30, 1000);
  PlayerLeft(2);
  for (int step = 0; step < 10; ++step) HostNetUpdate();
  EXPECT_EQ(HostMode, 30) << "a tagged player is still there to tag the others";
  EXPECT_TRUE(Winners(observer).empty());
  Slots[3].room = LoungeRoom;  // gone back to the lounge: no longer taking part
  EXPECT_EQ(AwaitWinner(observer), "no winner") << "three untagged players and nobody to tag them";
  EXPECT_EQ(HostMode, 0);
}

TEST_F(HostRounds, ATagRoundLeftWithOneUntaggedPlayerIsWonByTheRule) {
  RemotePlayer& observer = Observer();
  Slots[0].room = LoungeRoom;
  Slots[0].tagged = 1;  // the host watches from the lounge
  Seat(4, "Four", TagRoom, 100);
  Seat(5, "Five", TagRoom, 300);
  Slots[5].tagged = 1;
  Running(30, 6000);
  PlayerLeft(5);
  EXPECT_EQ(AwaitWinner(observer), Name8("Four")) << "the last untagged player standing";
}

TEST_F(HostRounds, AChaseRoundEndsAtOnceWhenTheOneToCatchLeaves) {
  RemotePlayer& observer = Observer();
  Slots[0].room = LoungeRoom;
  Seat(3, "Three", TagRoom, 100);
  Seat(5, "Target", TagRoom, 300);
  Seat(6, "Six", TagRoom, 400);
  Slots[3].tagged = Slots[6].tagged = 1;
  Running(32, 1000);  // well inside the ten seconds before anybody may be caught
  for (int step = 0; step < 10; ++step) HostNetUpdate();
  EXPECT_EQ(HostMode, 32);
  PlayerLeft(5);
  EXPECT_EQ(AwaitWinner(observer), "no winner");

  Seat(5, "Target", TagRoom, 300);
  Slots[3].tagged = Slots[6].tagged = 1;  // the hosting client's reset untagged them
  Running(32, 1000);
  PlayerLeft(3);
  for (int step = 0; step < 10; ++step) HostNetUpdate();
  EXPECT_EQ(HostMode, 32) << "one chaser is enough";
  PlayerLeft(6);
  observer.Forget();
  EXPECT_EQ(AwaitWinner(observer), "no winner") << "nobody left to do the catching";
}

TEST_F(HostRounds, TwoChasersCatchingTogetherLeaveTheWinToTheLowerSlot) {
  RemotePlayer& observer = Observer();
  Seat(3, "Three", TagRoom, 100);
  Seat(5, "Target", TagRoom, 100);
  Seat(6, "Six", TagRoom, 100);
  Slots[3].tagged = Slots[6].tagged = 1;
  Running(32, 9000);
  HostNetUpdate();
  EXPECT_EQ(HostMode, 32) << "nobody is caught in the first ten seconds";
  RoundClock = MilliSecs() - 10001;
  EXPECT_EQ(AwaitWinner(observer), Name8("Three"));
}

TEST_F(HostRounds, ATimedRoundGoesToTheBestScoreAndATieToTheLowerSlot) {
  RemotePlayer& observer = Observer();
  Seat(2, "Two", SinglePlayerRoom);
  Seat(5, "Five", PickupRoom);
  Seat(7, "Seven", LoungeRoom);
  Slots[2].score = Slots[5].score = 7;
  Slots[7].score = 100;  // waiting in the lounge: not taking part
  Running(12);
  RoundEndTime = NetTime() + 60000;
  HostNetUpdate();
  EXPECT_EQ(HostMode, 12);
  RoundEndTime = NetTime();
  EXPECT_EQ(AwaitWinner(observer), Name8("Two"));
}

TEST_F(HostRounds, ATeamTimedRoundIsDecidedByTheTeamScoresAndATieGoesToBlue) {
  RemotePlayer& observer = Observer();
  const auto playRound = [&](int redScore, int blueScore) {
    Seat(2, "Red", SinglePlayerRoom);
    Seat(3, "Blue", SinglePlayerRoom);
    Slots[2].team = TeamRed;
    Slots[3].team = TeamBlue;
    Slots[2].score = redScore;
    Slots[3].score = blueScore;
    RedPickupCount = 50;  // pickups are counted per team only in team collect
    Running(72);
    RoundEndTime = NetTime() - 1;
    observer.Forget();
    return AwaitWinner(observer);
  };
  EXPECT_EQ(playRound(5, 5), BlueWins);
  EXPECT_EQ(Game.statusText, AlignText(BlueWins, 32, "C"));
  EXPECT_EQ(playRound(6, 5), RedWins);
}

TEST_F(HostRounds, TheHostsOwnThirtiethPickupWinsACollectRound) {
  RemotePlayer& observer = Observer();
  Running(1);
  Game.room = PickupRoom;
  EnterRoom();
  ASSERT_EQ(RoomPickups.size(), 3u);
  hero().score = 28;
  heroSprite().SetPosition(98, 330);  // over the pickup at (100, 344)
  CollectPickups();
  EXPECT_EQ(hero().score, 29);
  EXPECT_EQ(HostMode, 1) << "29 pickups do not win";
  heroSprite().SetPosition(198, 330);
  CollectPickups();
  EXPECT_EQ(AwaitWinner(observer), Name8("Host"));
  EXPECT_EQ(Game.statusText, AlignText("Last winner was *" + Name8("Host") + "*", 32, "C"));
  EXPECT_EQ(Game.room, LoungeRoom);
}

TEST_F(HostRounds, TeamCollectInModeSixtyOneIsWonByATeamsSixtiethPickup) {
  RemotePlayer& observer = Observer();
  Seat(2, "Red", PickupRoom);
  Seat(3, "Blue", PickupRoom);
  Seat(4, "None", PickupRoom);
  Slots[2].team = TeamRed;
  Slots[3].team = TeamBlue;
  Running(61);
  for (int i = 0; i < 59; ++i) {
    for (int index = 0; index < 3; ++index) Pickups[index].present = 1;
    HostPickupTaken(PickupRoom, 0, 3);
    HostPickupTaken(PickupRoom, 1, 2);
    HostPickupTaken(PickupRoom, 2, 4);
  }
  EXPECT_EQ(BluePickupCount, 59);
  EXPECT_EQ(RedPickupCount, 59);
  HostPickupTaken(PickupRoom, 1, 3);
  EXPECT_EQ(BluePickupCount, 59) << "a pickup already taken does not count again";
  EXPECT_EQ(HostMode, 61);
  Pickups[1].present = 1;
  HostPickupTaken(PickupRoom, 1, 2);
  EXPECT_EQ(AwaitWinner(observer), RedWins);
  EXPECT_EQ(HostMode, 0);
  EXPECT_EQ(RedPickupCount, 0);
}

}  // namespace
}  // namespace online_test
