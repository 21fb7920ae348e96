// The host step with real connections: admission and joining, the name and team tables, the
// silence drop, the states broadcast, room-state requests, pickups taken, chat and leaving.
#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <thread>

#include "net/chat_window.h"
#include "net/dispatcher.h"
#include "net/room_state.h"
#include "tests/net/hosted_game.h"
#include "world/enemies.h"
#include "world/pickups.h"
#include "world/rope.h"

namespace online_test {
namespace {

using HostStep = HostedGameTest;

// --- Admission and joining ---------------------------------------------------------------

TEST_F(HostStep, TheLastSlotWaitsInsideTheLounge) {
  HoldSlots(1, 14);
  RemotePlayer& last = Connect();
  ASSERT_EQ(last.slot, 15);
  const MsgWelcome welcome = last.Received<MsgWelcome>()[0];
  EXPECT_EQ(welcome.version, ProtocolVersion);
  EXPECT_EQ(Slots[15].room, LoungeRoom);
  EXPECT_EQ(Slots[15].y, 352);
  EXPECT_GE(Slots[15].x, 0);
  EXPECT_LE(Slots[15].x + 16, 512) << "slot 15 would stand past the playfield's right edge";
  EXPECT_EQ(ConnectionCount, 15);
}

TEST_F(HostStep, AConnectionFindingEverySlotTakenIsClosed) {
  HoldSlots(1, 15);
  const int counted = ConnectionCount;
  remotes_.push_back(std::make_unique<RemotePlayer>(server_.port));
  RemotePlayer& extra = *remotes_.back();
  EXPECT_TRUE(PumpUntil([&] { return extra.closed == 1; }));
  EXPECT_TRUE(extra.Received<MsgWelcome>().empty());
  EXPECT_EQ(ConnectionCount, counted) << "the closed connection is not counted";
}

TEST_F(HostStep, TheNameTableListsEveryNamedSlotWithItsSkin) {
  Slots[0].skin = 7;
  HoldSlots(1, 2);
  RemotePlayer& third = Join("Cat", 12);
  ASSERT_EQ(third.slot, 3);
  HoldSlots(4, 11);
  RemotePlayer& twelfth = Connect();
  ASSERT_EQ(twelfth.slot, 12);
  twelfth.Send(MsgJoin{.nameAndSlot = Name8("Dog") + "12", .skin = 0});
  ASSERT_TRUE(PumpUntil([&] { return !twelfth.Received<MsgTeamTable>().empty(); }));

  const std::string expected = "00" + Name8("Host") + "07" + "03" + Name8("Cat") + "12" + "12" + Name8("Dog") + "00";
  ASSERT_FALSE(twelfth.Received<MsgNameTable>().empty());
  EXPECT_EQ(twelfth.Received<MsgNameTable>().back().table, expected);
  PumpUntil([&] { return !third.Received<MsgNameTable>().empty(); });
  EXPECT_EQ(third.Received<MsgNameTable>().back().table, expected) << "the table goes to everyone";

  const std::vector<TeamTableEntry> teams = {{0, 0}, {3, 0}, {12, 0}};
  EXPECT_EQ(twelfth.Received<MsgTeamTable>()[0].entries, teams);
  EXPECT_TRUE(third.Received<MsgTeamTable>().empty()) << "the team table goes to the joining slot only";
  EXPECT_EQ(Players[12].name, Name8("Dog"));
}

TEST_F(HostStep, SkinsOutsideTheTableBecomeTheDefault) {
  RemotePlayer& high = Join("High", 51);
  RemotePlayer& low = Join("Low", -1);
  RemotePlayer& last = Join("Last", 50);
  EXPECT_EQ(Slots[high.slot].skin, 0);
  EXPECT_EQ(Slots[low.slot].skin, 0);
  EXPECT_EQ(Slots[last.slot].skin, 50);
  EXPECT_EQ(Players[last.slot].skin, 50);
  ASSERT_TRUE(Players[last.slot].sprite);
  EXPECT_EQ(Players[last.slot].sprite->x, 999) << "a new player's hero waits off screen";
}

// --- The silence drop ----------------------------------------------------------------------

// Holds the millisecond clock the host step reads for the life of the object.
struct HeldClock {
  HeldClock() : now(MilliSecs()) { HoldClock(now); }
  ~HeldClock() { ReleaseClock(); }
  const int now;
};

TEST_F(HostStep, APlayerSilentForTwentySecondsStaysAndOneMillisecondMoreIsDropped) {
  RemotePlayer& watcher = Join("Watcher");
  Seat(3, "Quiet", PickupRoom);
  {
    const HeldClock clock;
    Slots[3].lastSeen = clock.now - SilenceDropMs;
    HostNetUpdate();
    EXPECT_EQ(Slots[3].name, Name8("Quiet"));

    Slots[3].lastSeen = clock.now - SilenceDropMs - 1;
    HostNetUpdate();
  }
  EXPECT_EQ(Slots[3].name, "");
  EXPECT_EQ(Slots[3].netId, -1);
  EXPECT_EQ(ChatLines[13].text, Name8("Quiet") + " just left the game");
  EXPECT_EQ(ChatLines[13].colour, 99);
  ASSERT_TRUE(PumpUntil([&] { return !watcher.Received<MsgLeave>().empty(); }));
  EXPECT_EQ(watcher.Received<MsgLeave>()[0].slot, 3);
}

TEST_F(HostStep, TheHostsOwnSlotAndUnjoinedConnectionsAreNeverDropped) {
  Slots[0].lastSeen = MilliSecs() - 10 * SilenceDropMs;
  RemotePlayer& unjoined = Connect();
  Slots[unjoined.slot].lastSeen = MilliSecs() - 10 * SilenceDropMs;
  HostNetUpdate();
  EXPECT_EQ(Slots[0].name, Name8("Host"));
  EXPECT_NE(Slots[unjoined.slot].netId, -1);
  EXPECT_EQ(ConnectionCount, 1);
}

// --- The states broadcast ------------------------------------------------------------------

TEST_F(HostStep, NoStatesGoOutWhileNobodyIsNamed) {
  Slots[0].name = "";
  Connect();
  MarkNothingSent();
  NextStateTime = MilliSecs() - 1;
  HostNetUpdate();
  EXPECT_EQ(SentType(), NothingSentType);
  EXPECT_GT(MsSince(MilliSecs(), NextStateTime), 0) << "the next broadcast is due later all the same";
}

TEST_F(HostStep, TheBroadcastListsNamedSlotsButNotDotAtAndSumsTheTeamScores) {
  RemotePlayer& watcher = Join("Watcher");
  ASSERT_EQ(watcher.slot, 1);
  Players[0].score = 4;
  Slots[0].team = TeamRed;
  Seat(3, ".@", PickupRoom);
  Slots[3].name = ".@";
  Slots[3].team = TeamRed;
  Slots[3].score = 100;
  Seat(5, "Blue", LoungeRoom, 200, 300);
  Slots[5].team = TeamBlue;
  Slots[5].score = 7;
  Slots[5].frame = 1;
  Game.room = LoungeRoom;

  NextStateTime = MilliSecs() - 1;
  ASSERT_TRUE(PumpUntil([&] { return !watcher.Received<MsgPlayerStates>().empty(); }));
  const MsgPlayerStates states = watcher.Received<MsgPlayerStates>()[0];
  EXPECT_EQ(states.count, 3);
  std::vector<int> listed;
  for (const PlayerStateEntry& e : states.entries) listed.push_back(e.slot);
  EXPECT_EQ(listed, (std::vector<int>{0, 1, 5}));
  EXPECT_EQ(states.entries[0].score, 4) << "the host's own score is copied into its slot first";
  EXPECT_EQ(RedScore, 4);
  EXPECT_EQ(BlueScore, 7);

  // The hosting client shows the remote player where its state puts it, facing its way.
  const sprite& shown = *Players[5].sprite;
  EXPECT_EQ(shown.x, 200);
  EXPECT_EQ(shown.y, 300);
  EXPECT_EQ(shown.mirrored, 1);
  EXPECT_FALSE(shown.hidden);
  EXPECT_EQ(Players[5].score, 7);
}

TEST_F(HostStep, AStepHandlesNoMoreThanItsShareOfPacketsAndLeavesTheRestForTheNext) {
  RemotePlayer& flooder = Join("Flooder");
  constexpr int Sent = 3 * HostStepPackets;
  for (int x = 1; x <= Sent; ++x) {
    flooder.Send(MsgPlayerState{.slot = flooder.slot, .x = x, .y = 352, .room = LoungeRoom, .lives = 9});
  }
  // The library takes them in meanwhile; the steps that follow hand them out a share at a time.
  std::this_thread::sleep_for(std::chrono::seconds(1));
  Slots[flooder.slot].x = 0;
  std::vector<int> handled;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (Slots[flooder.slot].x < Sent && std::chrono::steady_clock::now() < deadline) {
    const int before = Slots[flooder.slot].x;
    HostNetUpdate();
    if (Slots[flooder.slot].x != before) handled.push_back(Slots[flooder.slot].x - before);
  }
  ASSERT_EQ(Slots[flooder.slot].x, Sent) << "every state was handled in the end";
  for (int n : handled) EXPECT_LE(n, HostStepPackets);
  EXPECT_EQ(*std::max_element(handled.begin(), handled.end()), HostStepPackets) << "the first steps had more waiting";
}

// --- Room-state requests, answers and relays -----------------------------------------------

TEST_F(HostStep, ARequestForARoomOnlyTheRequesterIsInGetsThePresentPickups) {
  RemotePlayer& alone = Join("Alone");
  Pickups[1].present = 0;
  Slots[alone.slot].room = PickupRoom;
  alone.Send(MsgEnterRoom{.slot = alone.slot, .room = PickupRoom});
  ASSERT_TRUE(PumpUntil([&] { return !alone.Received<MsgRoomPickups>().empty(); }));
  EXPECT_EQ(alone.Received<MsgRoomPickups>()[0].pickups, (std::vector<int>{0, 2}));
}

TEST_F(HostStep, OnlyTheLowerOfTwoOthersInTheRoomIsAskedAndItsAnswerIsRelayed) {
  RemotePlayer& asking = Join("Asking");
  RemotePlayer& lower = Join("Lower");
  RemotePlayer& higher = Join("Higher");
  Slots[lower.slot].room = Slots[higher.slot].room = PickupRoom;
  Pickups[0].present = 0;

  asking.Send(MsgEnterRoom{.slot = asking.slot, .room = PickupRoom});
  ASSERT_TRUE(PumpUntil([&] { return !lower.Received<MsgRoomQuery>().empty(); }));
  EXPECT_EQ(lower.Received<MsgRoomQuery>()[0], (MsgRoomQuery{.requester = asking.slot, .room = PickupRoom}));
  Drain(higher);
  EXPECT_TRUE(higher.Received<MsgRoomQuery>().empty());

  MsgRoomState answer{.requester = asking.slot, .room = PickupRoom, .time = 1234, .swingPos = 5, .swingStep = -2,
                      .arrowCount1 = 7, .arrowCount2 = -20, .enemies = {{64, 200, 3}, {96, 248, 2}}};
  lower.Send(answer);
  ASSERT_TRUE(PumpUntil([&] { return asking.CountOf(MsgRoomState::type) > 0; }));
  Drain(asking);
  EXPECT_TRUE(asking.Received<MsgRoomPickups>().empty()) << "somebody was asked: no pickups-only answer";
  const MsgRoomStateRelayed relayed = asking.Received<MsgRoomStateRelayed>()[0];
  EXPECT_EQ(static_cast<const MsgRoomState&>(relayed), answer) << "relayed as received";
  EXPECT_EQ(relayed.pickups, (std::vector<int>{1, 2}));
}

TEST_F(HostStep, ARoomStateIsRelayedWithItsRopeAndArrowsWithinWhatTheGameProduces) {
  RemotePlayer& asking = Join("Asking");
  RemotePlayer& reporter = Join("Reporter");
  Slots[reporter.slot].room = PickupRoom;
  const std::vector<RoomEnemyState> enemies{{-32768, 32767, 255}, {100, 304, 2}};
  const std::vector<std::array<int, 4>> forged{{32767, -32768, 32767, -32768}, {-32768, 0, -32768, 32767},
                                               {55, 1, -1, -151}, {-55, -1, LongArrowPeriod, LongArrowPeriod}};
  const std::vector<std::array<int, 4>> bounded{{RopeSwingLimit, -2, LongArrowPeriod - 1, ArrowCount2Start},
                                                {-RopeSwingLimit, -2, 0, LongArrowPeriod - 1},
                                                {RopeSwingLimit, 2, 0, ArrowCount2Start},
                                                {-RopeSwingLimit, -2, LongArrowPeriod - 1, LongArrowPeriod - 1}};
  for (size_t i = 0; i < forged.size(); ++i) {
    const auto& [pos, step, arrows1, arrows2] = forged[i];
    asking.Send(MsgEnterRoom{.slot = asking.slot, .room = PickupRoom});
    ASSERT_TRUE(PumpUntil([&] { return reporter.CountOf(MsgRoomQuery::type) > 0; }));
    reporter.Forget();
    reporter.Send(MsgRoomState{.requester = asking.slot, .room = PickupRoom, .time = INT_MIN, .swingPos = pos,
                               .swingStep = step, .arrowCount1 = arrows1, .arrowCount2 = arrows2, .enemies = enemies});
    ASSERT_TRUE(PumpUntil([&] { return asking.Received<MsgRoomStateRelayed>().size() == i + 1; }));
  }
  for (size_t i = 0; i < forged.size(); ++i) {
    const MsgRoomStateRelayed relayed = asking.Received<MsgRoomStateRelayed>()[i];
    EXPECT_EQ((std::array<int, 4>{relayed.swingPos, relayed.swingStep, relayed.arrowCount1, relayed.arrowCount2}),
              bounded[i])
        << "state " << i;
    // Where enemies may be is the requester's to judge, by the room it shows.
    EXPECT_EQ(relayed.enemies, enemies);
    EXPECT_EQ(relayed.time, INT_MIN);
  }
}

TEST_F(HostStep, TheHostInTheRoomAnswersItselfUnlessItIsSpectating) {
  RemotePlayer& asking = Join("Asking");
  Game.room = PickupRoom;
  EnterRoom();
  Slots[0].room = PickupRoom;
  Rope.swingPos = 9;
  ArrowCount1 = 11;
  asking.Send(MsgEnterRoom{.slot = asking.slot, .room = PickupRoom});
  ASSERT_TRUE(PumpUntil([&] { return !asking.Received<MsgRoomStateRelayed>().empty(); }));
  const MsgRoomStateRelayed own = asking.Received<MsgRoomStateRelayed>()[0];
  EXPECT_EQ(own.requester, asking.slot);
  EXPECT_EQ(own.swingPos, 9);
  EXPECT_EQ(own.arrowCount1, 11);
  EXPECT_EQ(own.pickups, (std::vector<int>{0, 1, 2}));

  Game.spectating = 1;
  asking.Send(MsgEnterRoom{.slot = asking.slot, .room = PickupRoom});
  ASSERT_TRUE(PumpUntil([&] { return !asking.Received<MsgRoomPickups>().empty(); }));
  EXPECT_EQ(asking.Received<MsgRoomStateRelayed>().size(), 1u) << "a spectating host reports no room";
  Game.spectating = 0;
}

TEST_F(HostStep, TheHostsOwnAnswerForARoomItHasLeftOnlyEndsTheWait) {
  RemotePlayer& reporter = Join("Reporter");
  Slots[reporter.slot].room = PickupRoom;
  Game.room = PickupRoom;
  EnterRoom();  // the host asks the reporter, then moves on before the answer comes
  Drain(reporter);
  ASSERT_EQ(reporter.Received<MsgRoomQuery>().size(), 1u);
  Game.room = OtherPickupRoom;
  EnterRoom();
  ClearRoomSprites();
  RoomStateWait = 1;
  Rope.swingPos = 2;
  ArrowCount1 = 3;
  reporter.Send(MsgRoomState{.requester = 0, .room = PickupRoom, .time = NetTime(), .swingPos = 30, .swingStep = 1,
                             .arrowCount1 = 99, .arrowCount2 = 0, .enemies = {}});
  ASSERT_TRUE(PumpUntil([&] { return RoomStateWait == 0; }));
  EXPECT_EQ(Rope.swingPos, 2) << "the state of a room left is not applied";
  EXPECT_EQ(ArrowCount1, 3);
  EXPECT_EQ(RoomPickups.size(), 2u) << "the pickups of the room shown are spawned";
}

TEST_F(HostStep, TheHostsOwnAnswerForTheRoomShownIsApplied) {
  RemotePlayer& reporter = Join("Reporter");
  RemotePlayer& other = Join("Other");
  Slots[reporter.slot].room = PickupRoom;
  Game.room = PickupRoom;
  EnterRoom();  // the host asks the reporter
  ASSERT_EQ(RoomStateWait, 1);
  const MsgRoomState answer{.requester = 0, .room = PickupRoom, .time = NetTime(), .swingPos = 30, .swingStep = 1,
                            .arrowCount1 = 99, .arrowCount2 = -5, .enemies = {}};
  // An answer from a player nobody asked is no answer.
  other.Send(answer);
  Sync(other);
  EXPECT_EQ(RoomStateWait, 1);
  EXPECT_NE(ArrowCount1, 99);
  reporter.Send(answer);
  ASSERT_TRUE(PumpUntil([&] { return RoomStateWait == 0; }));
  EXPECT_EQ(ArrowCount1, 99);
  EXPECT_EQ(ArrowCount2, -5);
  EXPECT_EQ(RoomPickups.size(), 3u);
}

// --- Pickups taken -------------------------------------------------------------------------

TEST_F(HostStep, APickupTakenIsForwardedToTheRoomAndToWhoeverFollowsTheCollector) {
  RemotePlayer& collector = Join("Getter");
  RemotePlayer& elsewhere = Join("Away");
  RemotePlayer& follower = Join("Follower");
  Game.room = PickupRoom;  // the host watches the room: the pickup goes from its screen too
  EnterRoom();
  ASSERT_EQ(RoomPickups.size(), 3u);
  Slots[collector.slot].room = PickupRoom;
  Slots[elsewhere.slot].room = OtherPickupRoom;
  Slots[follower.slot].room = 42;
  Slots[follower.slot].following = static_cast<Byte>(collector.slot);

  collector.Send(MsgPickupTaken{.room = PickupRoom, .pickupIndex = 1, .collector = collector.slot});
  ASSERT_TRUE(PumpUntil([&] { return !follower.Received<MsgPickupForward>().empty(); }));
  EXPECT_EQ(follower.Received<MsgPickupForward>()[0], (MsgPickupForward{.room = PickupRoom, .pickupIndex = 1}));
  EXPECT_EQ(Pickups[1].present, 0);
  EXPECT_EQ(RoomPickups.size(), 2u);
  Drain(elsewhere);
  Drain(collector);
  EXPECT_TRUE(elsewhere.Received<MsgPickupForward>().empty());
  EXPECT_TRUE(collector.Received<MsgPickupForward>().empty()) << "the collector is not told of its own pickup";
}

TEST_F(HostStep, APickupTakenWhereOnlyTheCollectorIsTellsNobody) {
  RemotePlayer& collector = Join("Getter");
  RemotePlayer& other = Join("Other");
  Slots[collector.slot].room = PickupRoom;
  Slots[other.slot].room = OtherPickupRoom;
  collector.Send(MsgPickupTaken{.room = PickupRoom, .pickupIndex = 2, .collector = collector.slot});
  ASSERT_TRUE(PumpUntil([&] { return Pickups[2].present == 0; }));
  Drain(other);
  EXPECT_TRUE(other.Received<MsgPickupForward>().empty());
}

// --- Chat and leaving ----------------------------------------------------------------------

TEST_F(HostStep, AChatLineIsShownWithTheSendersNameAndPassedOnToEveryone) {
  HoldSlots(1, 2);
  RemotePlayer& writer = Join("Writer");
  RemotePlayer& reader = Join("Reader");
  writer.Send(MsgChat{"03:hello"});
  ASSERT_TRUE(PumpUntil([&] { return !reader.Received<MsgChat>().empty(); }));
  EXPECT_EQ(reader.Received<MsgChat>()[0].text, "03:hello");
  EXPECT_EQ(ChatLines[13].text, Name8("Writer") + ":hello");
  EXPECT_EQ(ChatLines[13].colour, 3);
}

TEST_F(HostStep, PlayerLeftZeroDoesNothingOnAHostingClient) {
  MarkNothingSent();
  PlayerLeft(0);
  EXPECT_EQ(Slots[0].name, Name8("Host"));
  EXPECT_EQ(SentType(), NothingSentType);
}

TEST_F(HostStep, ALeavingPlayerIsAnnouncedAndItsSlotFreed) {
  RemotePlayer& leaving = Join("Leaver");
  RemotePlayer& staying = Join("Stayer");
  const int slot = leaving.slot;
  leaving.Send(MsgLeave{.slot = slot});
  ASSERT_TRUE(PumpUntil([&] { return !staying.Received<MsgLeave>().empty(); }));
  EXPECT_EQ(staying.Received<MsgLeave>()[0].slot, slot);
  EXPECT_EQ(Slots[slot].name, "");
  EXPECT_EQ(Slots[slot].netId, -1);
  EXPECT_TRUE(Players[slot].sprite->hidden);
  EXPECT_EQ(ChatLines[13].text, Name8("Leaver") + " just left the game");
  EXPECT_EQ(ConnectionCount, 1);
}

}  // namespace
}  // namespace online_test
