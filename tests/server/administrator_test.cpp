// The dedicated server's game administrator: who gets the role, who may start a game, hand the
// role over or end the game, and which modes a game may be started in.
#include "net/host_rules.h"
#include "tests/net/host_driver.h"
#include "tests/world/test_rooms.h"
#include "world/dedicated.h"
#include "world/game_modes.h"
#include "world/team_rules.h"

namespace online_test {
namespace {

static_assert(Dedicated == 1, "these tests run the server's build of the shared game");

class Administrator : public ::testing::Test, protected HostDriver {
 protected:
  void SetUp() override {
    FillModeTexts();
    FillRaceRoomTable();
    world_.SelectAsMain(1);
    Hosting = 0;
    MySlot = 255;
    FreeAllSlots();
    ClearRoundState();
    StartHost();
  }
  void TearDown() override {
    StopHost();
    FreeAllSlots();
    ClearRoundState();
  }

  // Joins two players: the first becomes the administrator.
  void JoinTwo() {
    admin_ = &Join("Admin");
    other_ = &Join("Other");
    ASSERT_EQ(admin_->slot, 0);
    ASSERT_EQ(AdminSlot, 0);
  }

  TestWorld world_;
  RemotePlayer* admin_ = nullptr;
  RemotePlayer* other_ = nullptr;
};

TEST_F(Administrator, TheFirstNamedPlayerGetsTheRoleAndItPassesOnWhenTheyLeave) {
  RemotePlayer& first = Connect();
  EXPECT_EQ(first.slot, 0) << "the server gives out slot 0 as well";
  first.Send(MsgJoin{.nameAndSlot = Name8("First") + "0", .skin = 0});
  ASSERT_TRUE(PumpUntil([&] { return !first.Received<MsgAdmin>().empty(); }));
  EXPECT_EQ(first.Received<MsgAdmin>()[0].slot, 0);
  RemotePlayer& second = Join("Second");
  EXPECT_EQ(AdminSlot, 0);

  first.Send(MsgLeave{.slot = 0});
  ASSERT_TRUE(PumpUntil([&] { return !second.Received<MsgAdmin>().empty(); }));
  EXPECT_EQ(Slots[0].name, "") << "the server frees slot 0 like any other";
  EXPECT_EQ(AdminSlot, second.slot);
  EXPECT_EQ(second.Received<MsgAdmin>()[0].slot, second.slot);
}

TEST_F(Administrator, WithNobodyNamedNobodyIsAppointed) {
  AdminSlot = 4;
  AppointAdmin(-1);
  EXPECT_EQ(AdminSlot, -1);
  Seat(3, "Three", LoungeRoom);
  Seat(7, "Seven", LoungeRoom);
  AppointAdmin(-1);
  EXPECT_EQ(AdminSlot, 3);
  AppointAdmin(5);
  EXPECT_EQ(AdminSlot, -1) << "an empty slot cannot take the role";
}

TEST_F(Administrator, OnlyTheAdministratorStartsAGameAndOnlyInAModeOnOffer) {
  JoinTwo();
  other_->Send(MsgStartGame{.gameMode = 5});
  for (int mode : {0, 19, 29, 38, 49, 54, 59, 69, 79, 82, 255}) admin_->Send(MsgStartGame{.gameMode = mode});
  Sync(*admin_);
  Sync(*other_);
  EXPECT_EQ(HostMode, 0);
  EXPECT_EQ(RoundStartTime, 0);

  admin_->Send(MsgStartGame{.gameMode = 53});
  ASSERT_TRUE(PumpUntil([&] { return !other_->Received<MsgChainRooms>().empty(); }));
  EXPECT_EQ(HostMode, 53);
  EXPECT_EQ(RoundStartTime - ModeSetTime, 10000);
  const std::vector<MsgGameMode> announced = other_->Received<MsgGameMode>();
  ASSERT_FALSE(announced.empty());
  EXPECT_EQ(announced.back(), (MsgGameMode{.gameMode = 53, .roundStart = RoundStartTime, .running = 0}));
  const std::array<int, 5> targets = other_->Received<MsgChainRooms>()[0].rooms;
  for (int k = 0; k < 5; ++k) {
    EXPECT_TRUE(ValidRoom(targets[k])) << k;
    for (int j = 0; j < k; ++j) EXPECT_NE(targets[j], targets[k]);
  }
  EXPECT_EQ(ChainTargets[5], 0);
}

TEST_F(Administrator, ANewGameStartsWithNobodyTagged) {
  JoinTwo();
  Slots[other_->slot].tagged = 1;  // left from a tag round: the server's reset keeps it
  Slots[other_->slot].room = SinglePlayerRoom;
  admin_->Send(MsgStartGame{.gameMode = 62});
  Sync(*admin_);
  ASSERT_EQ(HostMode, 62);
  EXPECT_EQ(Slots[other_->slot].tagged, 0);
  admin_->Send(MsgMyTeam{.slot = admin_->slot, .team = TeamRed});
  ASSERT_TRUE(PumpUntil([&] { return !other_->Received<MsgTeamTable>().empty(); }));
  const std::vector<TeamTableEntry> table = {{0, TeamRed}, {other_->slot, TeamNone}};
  EXPECT_EQ(other_->Received<MsgTeamTable>()[0].entries, table) << "nobody is marked as tagged";
}

TEST_F(Administrator, OnlyTheAdministratorHandsOverTheRoleAndOnlyToAPlayer) {
  JoinTwo();
  other_->Send(MsgAdminHandOver{.slot = other_->slot});
  admin_->Send(MsgAdminHandOver{.slot = 5});
  Sync(*other_);
  Sync(*admin_);
  EXPECT_EQ(AdminSlot, 0);

  admin_->Send(MsgAdminHandOver{.slot = other_->slot});
  ASSERT_TRUE(PumpUntil([&] { return !other_->Received<MsgAdmin>().empty(); }));
  EXPECT_EQ(AdminSlot, other_->slot);
  admin_->Send(MsgAdminHandOver{.slot = 0});
  Sync(*admin_);
  EXPECT_EQ(AdminSlot, other_->slot) << "the role once handed over is gone";
}

TEST_F(Administrator, OnlyTheAdministratorEndsTheGameAndEveryOtherPlayerIsTold) {
  JoinTwo();
  RemotePlayer& waiting = Connect();  // not joined yet: in the lounge all the same
  admin_->Send(MsgStartGame{.gameMode = 5});
  Sync(*admin_);
  ASSERT_EQ(HostMode, 5);
  other_->Send(MsgResetGame{});
  Sync(*other_);
  EXPECT_EQ(HostMode, 5);
  EXPECT_EQ(other_->CountOf(MsgResetGame::type), 0);

  admin_->Send(MsgResetGame{});
  ASSERT_TRUE(PumpUntil([&] { return other_->CountOf(MsgResetGame::type) == 1; }))
      << "a player in the briefing room would stay shut in";
  EXPECT_EQ(HostMode, 0);
  EXPECT_EQ(RoundStartTime, 0);
  Drain(waiting);
  EXPECT_EQ(waiting.CountOf(MsgResetGame::type), 1);
  Drain(*admin_);
  EXPECT_EQ(admin_->CountOf(MsgResetGame::type), 0) << "the administrator has ended the game itself";

  // With no game set, a reset has nothing to end: nobody is sent back to the lounge's start.
  admin_->Send(MsgResetGame{});
  Sync(*admin_);
  Drain(*other_);
  EXPECT_EQ(other_->CountOf(MsgResetGame::type), 1);

  // A running round is ended for everybody as well.
  admin_->Send(MsgStartGame{.gameMode = 12});
  Sync(*admin_);
  RoundStartTime = NetTime() - 1;  // the count-down over
  ASSERT_TRUE(PumpUntil([&] { return RoundRunning == 1; }));
  admin_->Send(MsgResetGame{});
  ASSERT_TRUE(PumpUntil([&] { return other_->CountOf(MsgResetGame::type) == 2; }));
  EXPECT_EQ(RoundRunning, 0);
}

// Tag and chase rounds cannot be joined once started: one nobody can win any more ends by
// itself, with no winner, and the administrator may choose again.
TEST_F(Administrator, ATagOrChaseRoundNobodyTakesPartInEndsByItself) {
  JoinTwo();
  for (int mode : {30, 32}) {
    admin_->Send(MsgStartGame{.gameMode = mode});
    Sync(*admin_);
    ASSERT_EQ(HostMode, mode);
    RoundStartTime = NetTime() - 1;  // nobody came to the briefing room in the ten seconds
    const size_t before = other_->Received<MsgWinner>().size();
    ASSERT_TRUE(PumpUntil([&] { return other_->Received<MsgWinner>().size() > before; })) << mode;
    EXPECT_EQ(other_->Received<MsgWinner>().back().text, "no winner") << mode;
    EXPECT_EQ(other_->Received<MsgRoundStart>(mode).size(), 1u) << mode;
    EXPECT_EQ(HostMode, 0) << mode;
    EXPECT_EQ(RoundRunning, 0) << mode;
    other_->Forget();
  }
  admin_->Send(MsgStartGame{.gameMode = 5});
  Sync(*admin_);
  EXPECT_EQ(HostMode, 5) << "the administrator chooses the next game";
}

// A chase round: everybody taking part chases the one drawn, so the round cannot be won once
// that one or every chaser has gone.
TEST_F(Administrator, AChaseRoundEndsWhenTheOneToCatchOrEveryChaserLeaves) {
  JoinTwo();
  for (bool catcherLeaves : {false, true}) {
    RemotePlayer& one = Join("One");
    RemotePlayer& two = Join("Two");
    admin_->Send(MsgStartGame{.gameMode = 32});
    Sync(*admin_);
    for (RemotePlayer* p : {&one, &two}) p->Send(MsgPlayerState{.slot = p->slot, .x = 32 * p->slot + 32, .y = 352, .room = BriefingRoom});
    ASSERT_TRUE(PumpUntil([&] { return Slots[one.slot].room == BriefingRoom && Slots[two.slot].room == BriefingRoom; }));
    RoundStartTime = NetTime() - 1;
    ASSERT_TRUE(PumpUntil([&] { return !other_->Received<MsgRoundStart>(32).empty(); }));
    const int target = other_->Received<MsgRoundStart>(32)[0].slot;
    ASSERT_TRUE(target == one.slot || target == two.slot) << target;
    RemotePlayer& leaving = (target == one.slot) != catcherLeaves ? one : two;
    RemotePlayer& staying = &leaving == &one ? two : one;
    for (int step = 0; step < 20; ++step) HostNetUpdate();
    EXPECT_EQ(RoundRunning, 1) << "a chaser and the one to catch: the round goes on";

    leaving.Send(MsgLeave{.slot = leaving.slot});
    ASSERT_TRUE(PumpUntil([&] { return !other_->Received<MsgWinner>().empty(); }));
    EXPECT_EQ(other_->Received<MsgWinner>()[0].text, "no winner");
    EXPECT_EQ(HostMode, 0);
    staying.Send(MsgLeave{.slot = staying.slot});
    ASSERT_TRUE(PumpUntil([&] { return Slots[staying.slot].name.empty(); }));
    other_->Forget();
  }
}

// A slot given to a newcomer belongs to no team, whoever held it before and whatever team
// that player was in when it left.
TEST_F(Administrator, ANewcomerStartsInNoTeamWhateverTheSlotsLastPlayerWasIn) {
  JoinTwo();
  admin_->Send(MsgStartGame{.gameMode = 60});
  Sync(*admin_);
  RemotePlayer& red = Join("Red");
  const int slot = red.slot;
  red.Send(MsgJoinRed{.slot = slot});
  ASSERT_TRUE(PumpUntil([&] { return !other_->Received<MsgJoinRed>().empty(); }));
  ASSERT_EQ(Slots[slot].team, TeamRed);
  red.Send(MsgLeave{.slot = slot});
  ASSERT_TRUE(PumpUntil([&] { return Slots[slot].name.empty(); }));
  EXPECT_EQ(Slots[slot].team, TeamNone);

  Slots[slot].team = TeamBlue;  // even a free slot's record left in a team
  Slots[slot].tagged = 1;
  RemotePlayer& newcomer = Join("New");
  ASSERT_EQ(newcomer.slot, slot);
  EXPECT_EQ(Slots[slot].team, TeamNone);
  EXPECT_EQ(Slots[slot].tagged, 0);
  other_->Send(MsgMyTeam{.slot = other_->slot, .team = TeamNone});
  ASSERT_TRUE(PumpUntil([&] { return !other_->Received<MsgTeamTable>().empty(); }));
  const std::vector<TeamTableEntry> table = {{0, TeamNone}, {other_->slot, TeamNone}, {slot, TeamNone}};
  EXPECT_EQ(other_->Received<MsgTeamTable>()[0].entries, table);
}

}  // namespace
}  // namespace online_test
