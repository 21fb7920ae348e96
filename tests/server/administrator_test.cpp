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

TEST_F(Administrator, OnlyTheAdministratorEndsTheGameAndTheServerTellsNobody) {
  JoinTwo();
  admin_->Send(MsgStartGame{.gameMode = 5});
  Sync(*admin_);
  ASSERT_EQ(HostMode, 5);
  other_->Send(MsgResetGame{});
  Sync(*other_);
  EXPECT_EQ(HostMode, 5);
  admin_->Send(MsgResetGame{});
  Sync(*admin_);
  EXPECT_EQ(HostMode, 0);
  Drain(*other_);
  EXPECT_EQ(other_->CountOf(MsgResetGame::type), 0) << "the mode 0 goes out with the next heartbeat";
}

TEST_F(Administrator, ATagRoundWithEverybodyInTheLoungeDoesNotHoldUpTheServer) {
  JoinTwo();
  for (int mode : {30, 32}) {
    HostMode = Game.gameMode = static_cast<Byte>(mode);
    RoundRunning = 0;
    RoundStartTime = NetTime() - 1;
    HostNetUpdate();
    EXPECT_EQ(RoundRunning, 1) << mode;
    RequestNewGame();
  }
}

}  // namespace
}  // namespace online_test
