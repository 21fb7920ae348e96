// The joined client's dispatcher: what each message from the host does to the client's own
// records and screen, and what the client answers. The client is connected to a stand-in host
// (a real server interface) that reads what the client sends.
#include <algorithm>

#include "net/chat_window.h"
#include "net/dispatcher.h"
#include "tests/net/fed_packets.h"
#include "tests/net/hosted_game.h"
#include "tests/net/scratch_chat_log.h"
#include "world/enemies.h"
#include "world/pickups.h"
#include "world/rope.h"

namespace online_test {
namespace {

const std::string BlueWins = "** BLUE WIN **", RedWins = "** RED WIN **";
constexpr int TagRoom = 27;

class Dispatcher : public HeroTest {
 protected:
  static constexpr int EnemyRoom = 40;
  static constexpr int MoversRoom = 43;

  void SetUp() override {
    HeroTest::SetUp();
    net_harness::BindLibrary();
    for (int room : {SinglePlayerRoom, TagRoom, EnemyRoom, 41, BriefingRoom, TeamRoom, LoungeRoom})
      world_.FloorRoom(room, "Room " + std::to_string(room));
    world_.FillColumn(TeamRoom, 0, TestSolid);
    world_.FillColumn(TeamRoom, 31, TestSolid);
    // One enemy walking right one pixel a step between x 32 and 480.
    world_.AddEnemy({.room = EnemyRoom, .x = 100, .y = 160, .boundX1 = 32, .boundY1 = 304, .boundX2 = 480,
                     .boundY2 = 304, .kind = 0, .facing = 3, .speedCode = 8});
    for (int x : {100, 200, 300}) world_.AddPickup(EnemyRoom, x, 200, 1);
    // A rope room with one mover of each kind: a walker (x 64..300, one pixel a step), a
    // climber (y 160..320 at x 400, six pixels a step), an arrow flying left and a sentry.
    world_.FloorRoom(MoversRoom, "Movers");
    world_.SetRopeFlag(MoversRoom, 'Y');
    world_.AddEnemy({.room = MoversRoom, .x = 100, .y = 160, .boundX1 = 64, .boundY1 = 304, .boundX2 = 300,
                     .boundY2 = 304, .kind = 0, .facing = 3, .speedCode = 8});
    world_.AddEnemy({.room = MoversRoom, .x = 400, .y = 40, .boundX1 = 400, .boundY1 = 160, .boundX2 = 400,
                     .boundY2 = 320, .kind = 0, .facing = 1, .speedCode = 2, .moveType = 2});
    world_.AddEnemy({.room = MoversRoom, .x = 0, .y = 100, .kind = ArrowKindI, .facing = 2, .speedCode = 8});
    world_.AddEnemy({.room = MoversRoom, .x = 200, .y = 20, .boundX1 = 5, .boundY1 = 5, .boundX2 = 5, .boundY2 = 5,
                     .kind = 0, .facing = 0});
    ClearRoundState();
    StartIn(LoungeRoom, 32, 352, 0);
    Game.singlePlayer = 0;
    Hosting = 0;
    MySlot = 0;
    EmptyAllSlots();
    for (int slot = 1; slot < MaxPlayers; ++slot) Players[slot].name = Name8("P" + std::to_string(slot));
    PlayerName = Players[0].name = Name8("Me");
    SelectedSkin = 4;
    Disconnected = 0;
    LastStatesTime = 0;
    SetGameClock(500000);
    host_ = net_harness::StartServer();
    client_ = net_harness::StartClient(host_.port);
    clientId_ = net_harness::Admit(host_.iface, client_);
    NetInterface = client_;
    PingTimer = MilliSecs();
  }

  void TearDown() override {
    NetInterface = nullptr;
    NetLib.DestroyRakClientInterface(client_);
    NetLib.DestroyRakServerInterface(host_.iface);
    ChatLog = nullptr;
    Disconnected = 0;
    ClearRoundState();
    HeroTest::TearDown();
  }

  // Hands the message built in OutStream to the dispatcher as a packet from the host would.
  static void Deliver() {
    const std::vector<uint8_t> bytes = BuiltMessage();
    DeliverBytes(bytes);
  }
  static void DeliverBytes(const std::vector<uint8_t>& bytes) { ClientReceives(bytes); }
  template <typename M>
  static void Deliver(const M& m) {
    WriteMessage(m);
    Deliver();
  }

  // The own hero stands in room while the view follows slot.
  static void FollowFrom(int room, int slot) {
    Game.room = room;
    EnterRoom();
    Game.ownRoom = room;
    Game.spectating = 1;
    Game.viewedPlayer = static_cast<Byte>(slot);
  }

  // Every game message the client has sent to the host, once a marker sent after them came.
  std::vector<std::vector<uint8_t>> SentToHost() {
    WriteMessage(MsgPing{.slot = 99, .ping = 4321});
    NetSend(-1);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
      RN_Packet* p = net_harness::WaitServer(host_.iface, 50);
      if (p == nullptr) continue;
      std::vector<uint8_t> bytes(NetLib.PacketGetData(p), NetLib.PacketGetData(p) + NetLib.PacketGetLength(p));
      NetLib.ServerDeallocatePacket(host_.iface, p);
      MsgPing marker;
      if (ParseMessage(bytes, marker) && marker.slot == 99) return hostInbox_;
      if (bytes.size() >= 2 && bytes[0] == GameMessageId) hostInbox_.push_back(bytes);
    }
    ADD_FAILURE() << "the marker never reached the host";
    return hostInbox_;
  }
  template <typename M>
  std::vector<M> HostGot() {
    std::vector<M> found;
    for (const auto& bytes : SentToHost()) {
      M m;
      if (bytes[1] == M::type && ParseMessage(bytes, m)) found.push_back(m);
    }
    return found;
  }

  net_harness::Server host_;
  RN_Interface* client_ = nullptr;
  RN_PlayerId clientId_ = -1;
  std::vector<std::vector<uint8_t>> hostInbox_;
};

PlayerStateEntry StateOf(int slot, int room) {
  return {.slot = slot, .x = 32 + 20 * slot, .y = 352, .mirrored = slot % 2, .room = room, .score = slot,
          .lives = 9, .following = NoPlayer, .percent = 10, .ping = 50};
}

// --- States ---------------------------------------------------------------------------------

TEST_F(Dispatcher, AFullStatesBroadcastIsApplied) {
  MsgPlayerStates states;
  for (int slot = 0; slot < MaxPlayers; ++slot) states.entries.push_back(StateOf(slot, slot % 2 ? 41 : LoungeRoom));
  states.entries[0].x = 400;  // the own entry: the own hero stays where it is
  states.entries[6].y = 100;  // above the playfield: not drawn
  Players[0].team = Players[3].team = TeamRed;
  Players[4].team = TeamBlue;
  // Sent by the stand-in host over the network and taken by the client's own step.
  WriteMessage(states);
  ASSERT_EQ(NetLib.ServerSend2(host_.iface, OutStream, 3, RN_UNRELIABLE_SEQUENCED, 1, clientId_, 0), 1);
  const int before = NetTime();
  for (int i = 0; i < 5000 && LastStatesTime == 0; ++i) {
    ClientNetUpdate();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_NE(LastStatesTime, 0);
  EXPECT_GE(MsSince(before, LastStatesTime), 0);

  for (int slot = 1; slot < MaxPlayers; ++slot) {
    const sprite& s = *Players[slot].sprite;
    EXPECT_EQ(s.x, 32 + 20 * slot) << slot;
    EXPECT_EQ(s.mirrored, slot % 2) << slot;
    EXPECT_EQ(Players[slot].room, slot % 2 ? 41 : LoungeRoom) << slot;
    EXPECT_EQ(Players[slot].score, slot) << slot;
    EXPECT_EQ(static_cast<bool>(s.hidden), slot % 2 == 1 || slot == 6) << slot;
    EXPECT_EQ(s.frame, 1) << "a player whose x changed takes a walking step";
  }
  EXPECT_EQ(heroSprite().x, 32) << "the own entry is not applied";
  EXPECT_EQ(RedScore, 0 + 3);
  EXPECT_EQ(BlueScore, 4);
  EXPECT_TRUE(HostGot<MsgJoin>().empty()) << "every player was known";
}

TEST_F(Dispatcher, SeventeenStatesAreIgnoredWhole) {
  MsgPlayerStates states;
  for (int slot = 0; slot < MaxPlayers; ++slot) states.entries.push_back(StateOf(slot, 41));
  WriteMessage(states);
  std::vector<uint8_t> bytes = BuiltMessage();
  const size_t entryBytes = (bytes.size() - 3) / MaxPlayers;
  bytes[2] = 17;
  const std::vector<uint8_t> lastEntry(bytes.end() - static_cast<long>(entryBytes), bytes.end());
  bytes.insert(bytes.end(), lastEntry.begin(), lastEntry.end());
  DeliverBytes(bytes);
  EXPECT_EQ(LastStatesTime, 0);
  EXPECT_EQ(Players[5].room, 0);
  EXPECT_EQ(Players[5].sprite->x, 999);
}

TEST_F(Dispatcher, AStateOfAnUnknownPlayerAsksForTheNamesAgain) {
  Players[6].name = "";
  Deliver(MsgPlayerStates{.count = 1, .entries = {StateOf(6, 41)}});
  const std::vector<MsgJoin> joins = HostGot<MsgJoin>();
  ASSERT_EQ(joins.size(), 1u);
  EXPECT_EQ(joins[0], (MsgJoin{.nameAndSlot = Name8("Me") + "0", .skin = 4}));
}

TEST_F(Dispatcher, ASpectatorFollowsTheViewedPlayerAndComesBackFromTheLounge) {
  FollowFrom(SinglePlayerRoom, 5);
  Deliver(MsgPlayerStates{.count = 1, .entries = {StateOf(5, 41)}});
  EXPECT_EQ(Game.room, 41);
  EXPECT_FALSE(Players[5].sprite->hidden);
  Deliver(MsgPlayerStates{.count = 1, .entries = {StateOf(5, LoungeRoom)}});
  EXPECT_EQ(Game.spectating, 0);
  EXPECT_EQ(Game.room, SinglePlayerRoom);
}

// --- Chat -----------------------------------------------------------------------------------

TEST_F(Dispatcher, ASystemLineIsShownWhiteAndNotLogged) {
  ScratchChatLog log;
  Deliver(MsgChat{SystemChatMark + Name8("Bob") + " has just joined"});
  EXPECT_EQ(ChatLines[13].text, Name8("Bob") + " has just joined");
  EXPECT_EQ(ChatLines[13].colour, 99);
  EXPECT_EQ(log.Text(), "");
}

TEST_F(Dispatcher, APlayerLineShowsAndLogsTheWritersName) {
  ScratchChatLog log;
  Deliver(MsgChat{"03:hello there"});
  EXPECT_EQ(ChatLines[13].text, Name8("P3") + ":hello there");
  EXPECT_EQ(ChatLines[13].colour, 3);
  EXPECT_EQ(log.Text(), Name8("P3") + ":hello there\r\n");
}

TEST_F(Dispatcher, TheFifteenthLineDropsTheOldest) {
  for (int i = 1; i <= 15; ++i) AddChatLine("line " + std::to_string(i), 1);
  EXPECT_EQ(ChatLines[0].text, "line 2");
  EXPECT_EQ(ChatLines[13].text, "line 15");
  EXPECT_EQ(ChatLines[14].text, "") << "line 14 of the table is never used";
}

// --- Room states ----------------------------------------------------------------------------

class DispatcherRoom : public Dispatcher {
 protected:
  void SetUp() override {
    Dispatcher::SetUp();
    Game.room = EnemyRoom;
    EnterRoom();
    ASSERT_EQ(RoomEnemies.size(), 1u);
    enemy_ = RoomEnemies.front().sprite;
  }
  // A room state reported ageMs ago with the enemy at x 200, applied with no clock tick in
  // between (tried again when the clock ticked).
  int EnemyXAfterStateOfAge(int ageMs) {
    for (int attempt = 0; attempt < 50; ++attempt) {
      const int now = NetTime();
      MsgRoomStateRelayed state;
      state.requester = MySlot;
      state.room = EnemyRoom;
      state.time = now - ageMs;
      state.enemies = {{200, 304, 3}};
      state.pickups = {1};
      WriteMessage(state);
      Deliver();
      if (NetTime() == now) return static_cast<int>(enemy_->x);
    }
    ADD_FAILURE() << "the clock never stood still";
    return -1;
  }
  SpriteRef enemy_;
};

TEST_F(DispatcherRoom, ARoomStateCatchesUpOneStepPerSixteenMilliseconds) {
  EXPECT_EQ(EnemyXAfterStateOfAge(48), 203);
  EXPECT_EQ(EnemyXAfterStateOfAge(15), 200);
  EXPECT_EQ(enemy_->mirrored, 1) << "an enemy moving right faces right";
  EXPECT_EQ(RoomStateWait, 0);
  ASSERT_EQ(RoomPickups.size(), 1u) << "the room's pickups are those the state lists";
  EXPECT_EQ(RoomPickups.front().pickupIndex, 1);
  EXPECT_EQ(Pickups[0].present, 0);
}

TEST_F(DispatcherRoom, AStateForAnotherRoomOrRequesterOnlyEndsTheWait) {
  for (const auto& [requester, room] : {std::pair{MySlot + 1, EnemyRoom}, std::pair{int(MySlot), 41}}) {
    RoomStateWait = 1;
    Moved = 0;
    Deliver(MsgRoomStateRelayed{{.requester = requester, .room = room, .time = NetTime(), .swingPos = 0,
                                 .swingStep = 0, .arrowCount1 = 0, .arrowCount2 = 0, .enemies = {{300, 304, 2}}},
                                {}});
    EXPECT_EQ(enemy_->x, 100);
    EXPECT_EQ(RoomStateWait, 0);
    EXPECT_EQ(Moved, 1);
  }
}

// Where each mover of the movers room stands, and which way it goes.
std::vector<RoomEnemyState> MoversNow() {
  std::vector<RoomEnemyState> now;
  for (const EnemyPickk& e : RoomEnemies) now.push_back({static_cast<int>(e.sprite->x), static_cast<int>(e.sprite->y), e.moveDir});
  return now;
}

TEST_F(Dispatcher, ARoomStateIsKeptWithinWhatTheGameProduces) {
  Game.room = MoversRoom;
  EnterRoom();
  ASSERT_EQ(RoomEnemies.size(), 4u);
  ASSERT_EQ(ArrowTimer, ArrowPeriod);
  // Stamped ahead of the clock, a state is applied with no catch-up steps after it.
  MsgRoomStateRelayed state;
  state.requester = MySlot;
  state.room = MoversRoom;
  state.time = NetTime() + 100000;

  // What an honest player reports is taken as it is.
  state.swingPos = -30;
  state.swingStep = 2;
  state.arrowCount1 = 60;
  state.arrowCount2 = -100;
  state.enemies = {{200, 304, 2}, {400, 300, 0}, {300, 244, 2}, {200, 164, 0}};
  Deliver(state);
  EXPECT_EQ(Rope.swingPos, -30);
  EXPECT_EQ(Rope.swingStep, 2);
  EXPECT_EQ(ArrowCount1, 60);
  EXPECT_EQ(ArrowCount2, -100);
  EXPECT_EQ(MoversNow(), state.enemies);

  // Forged values are brought back within the rope's swing, the arrows' period and each
  // mover's reach; an arrow keeps its way and a direction that is none is not taken.
  state.swingPos = 32767;
  state.swingStep = 0;
  state.arrowCount1 = 32767;
  state.arrowCount2 = -32768;
  state.enemies = {{-32768, -32768, 77}, {32767, 32767, 3}, {-5000, 32767, 3}, {1, 1, 1}};
  Deliver(state);
  EXPECT_EQ(Rope.swingPos, RopeSwingLimit);
  EXPECT_EQ(Rope.swingStep, -RopeSwingStep);
  EXPECT_EQ(ArrowCount1, ArrowPeriod - 1);
  EXPECT_EQ(ArrowCount2, ArrowCount2Start);
  EXPECT_EQ(MoversNow(), (std::vector<RoomEnemyState>{{63, 304, 2}, {400, 326, 3}, {-5000, 244, 2}, {200, 164, 1}}));

  // The arrow comes round again: it enters at the right edge within a period.
  const EnemyPickk& arrow = *std::next(RoomEnemies.begin(), 2);
  int steps = 0;
  while (steps < ArrowPeriod && (arrow.sprite->hidden || arrow.sprite->x < 400)) {
    UpdateRoomEnemies();
    ++steps;
  }
  EXPECT_FALSE(arrow.sprite->hidden) << "after " << steps << " steps";
  EXPECT_GE(arrow.sprite->x, 400);
}

TEST_F(DispatcherRoom, TheClientReportsItsRoomOrSaysItIsNotThere) {
  Deliver(MsgRoomQuery{.requester = 3, .room = 41});
  Deliver(MsgRoomQuery{.requester = 4, .room = EnemyRoom});
  const std::vector<MsgNotInRoom> notThere = HostGot<MsgNotInRoom>();
  ASSERT_EQ(notThere.size(), 1u);
  EXPECT_EQ(notThere[0], (MsgNotInRoom{.requester = 3, .room = 41}));
  std::vector<MsgRoomState> states;
  for (const auto& bytes : hostInbox_) {
    MsgRoomState state;
    if (bytes[1] == MsgRoomState::type && ParseMessage(bytes, state)) states.push_back(state);
  }
  ASSERT_EQ(states.size(), 1u);
  EXPECT_EQ(states[0].requester, 4);
  EXPECT_EQ(states[0].enemies, (std::vector<RoomEnemyState>{{100, 304, 3}}));
}

// --- Rounds ---------------------------------------------------------------------------------

TEST_F(Dispatcher, ARoundStartInModeSeventyTwoRunsFifteenMinutesInTheTeamRoom) {
  Game.gameMode = 72;
  Game.room = TeamRoom;
  EnterRoom();
  ASSERT_EQ(CellGrid[31][12], CellSolid);
  Deliver(MsgRoundStart{.gameMode = 72});
  EXPECT_NEAR(Game.roundTime - NetTime(), 900000, 20);
  EXPECT_EQ(Game.room, TeamRoom);
  EXPECT_EQ(Game.inGame, 1);
  for (int row = 12; row <= 14; ++row) {
    EXPECT_EQ(CellGrid[0][row], CellEmpty);
    EXPECT_EQ(CellGrid[31][row], CellEmpty);
  }
}

TEST_F(Dispatcher, ATagRoundStartColoursTheTaggedPlayer) {
  Game.gameMode = 30;
  Deliver(MsgRoundStart{.gameMode = 30, .slot = 3});
  EXPECT_EQ(Game.room, TagRoom);
  EXPECT_EQ(Game.inGame, 1);
  EXPECT_EQ(Players[3].colourR, 255);
  EXPECT_EQ(Players[3].colourG, 192);
  EXPECT_EQ(Players[4].colourG, PlayerColourG[4]);
  EXPECT_EQ(Game.tagEventTime, 0) << "the own player is not tagged";

  Deliver(MsgRoundStart{.gameMode = 30, .slot = 0});
  EXPECT_NE(Game.tagEventTime, 0);
}

TEST_F(Dispatcher, AChaseRoundStartLeavesTheOneToCatchInItsOwnColour) {
  Game.gameMode = 32;
  Deliver(MsgRoundStart{.gameMode = 32, .slot = 3});
  EXPECT_EQ(TagTargetSlot, 3);
  EXPECT_EQ(Players[3].colourG, PlayerColourG[3]);
  EXPECT_EQ(Players[5].colourG, 192);
  EXPECT_EQ(Players[0].colourG, 192);
  EXPECT_NE(Game.tagEventTime, 0) << "the own player chases";
}

TEST_F(Dispatcher, JoiningTheAnnouncedGameGoesToTheBriefingOrStraightIntoTheRound) {
  Deliver(MsgGameState{.hostTime = 600000, .gameMode = 5, .roundStart = 605000, .roundEnd = 0});
  EXPECT_EQ(Game.room, BriefingRoom);
  EXPECT_EQ(Game.gameMode, 5);
  EXPECT_NEAR(NetTime(), 600000, 20);
  EXPECT_EQ(Game.inGame, 0);

  Deliver(MsgGameState{.hostTime = 600000, .gameMode = 62, .roundStart = 605000, .roundEnd = 0});
  EXPECT_EQ(Game.room, TeamRoom);

  Deliver(MsgGameState{.hostTime = 600000, .gameMode = 12, .roundStart = 590000, .roundEnd = 1500000});
  EXPECT_EQ(Game.room, SinglePlayerRoom);
  EXPECT_EQ(Game.inGame, 1);
  EXPECT_EQ(Game.roundTime, 1500000);

  Deliver(MsgGameState{.hostTime = 600000, .gameMode = 35, .roundStart = 590000, .roundEnd = 0});
  EXPECT_EQ(Game.room, 1);
}

TEST_F(Dispatcher, ARunningTagRoundCannotBeJoined) {
  Deliver(MsgGameState{.hostTime = 600000, .gameMode = 30, .roundStart = 590000, .roundEnd = 1});
  EXPECT_EQ(Game.bannerTitle, AlignText("Game has", 32, "C"));
  EXPECT_EQ(Game.bannerGoal, AlignText("Already Started", 32, "C"));
  EXPECT_EQ(Game.room, LoungeRoom);
  EXPECT_EQ(Moved, 0);
}

TEST_F(Dispatcher, TheModeAndHeartbeatSetTheBanner) {
  Deliver(MsgGameMode{.gameMode = 61, .roundStart = 0, .running = 0});
  EXPECT_EQ(Game.bannerTitle, AlignText("TEAM collect", 32, "C"));
  EXPECT_EQ(Game.bannerGoal, AlignText("60 pickups wins", 32, "C"));
  Deliver(MsgHeartbeat{.hostTime = 800000, .gameMode = 32, .roundStart = 0, .running = 1});
  EXPECT_EQ(Game.bannerTitle, AlignText("Game has", 32, "C"));
  EXPECT_NEAR(NetTime(), 800000, 200) << "the clock follows the host's, plus the ping";
}

TEST_F(Dispatcher, AWinnerIsShownAndTheGameEndsOnTheClient) {
  Game.gameMode = 62;
  Game.room = SinglePlayerRoom;
  Game.bannerTitle = "banner";
  Game.inGame = 1;
  Players[0].team = TeamRed;
  Deliver(MsgWinner{RedWins});
  EXPECT_EQ(Game.statusText, AlignText(RedWins, 32, "C"));
  EXPECT_EQ(Game.gameMode, 0);
  EXPECT_EQ(Game.bannerTitle, "");
  EXPECT_EQ(Game.inGame, 0);
  EXPECT_EQ(Game.room, LoungeRoom);
  EXPECT_EQ(Players[0].team, TeamNone);
  const std::vector<MsgMyTeam> told = HostGot<MsgMyTeam>();
  ASSERT_FALSE(told.empty());
  EXPECT_EQ(told[0], (MsgMyTeam{.slot = 0, .team = TeamNone})) << "the host learns the team is gone";

  Deliver(MsgWinner{Name8("Bob")});
  EXPECT_EQ(Game.statusText, AlignText("Last winner was *" + Name8("Bob") + "*", 32, "C"));
}

TEST_F(Dispatcher, APlainClientClaimsAWinAndOnlyTheAdministratorAsksForAReset) {
  Game.gameMode = 5;
  AnnounceWinner(Name8("Me"));
  EXPECT_EQ(Game.gameMode, 5) << "the host decides whether the claim ends the round";
  RequestNewGame();
  EXPECT_EQ(Game.gameMode, 0) << "the player's own game ends";
  std::vector<int> types;
  for (const auto& bytes : SentToHost()) types.push_back(bytes[1]);
  EXPECT_EQ(std::count(types.begin(), types.end(), MsgWinner::type), 1);
  EXPECT_EQ(std::count(types.begin(), types.end(), MsgResetGame::type), 0);

  IsAdmin = 1;
  RequestNewGame();
  EXPECT_EQ(HostGot<MsgResetGame>().size(), 1u);
}

// --- Players and teams ----------------------------------------------------------------------

TEST_F(Dispatcher, ALeaveFreesTheSlotOrEndsTheOwnSession) {
  FollowFrom(SinglePlayerRoom, 3);
  Deliver(MsgJoinRed{.slot = 3});
  Deliver(MsgLeave{.slot = 3});
  EXPECT_EQ(ChatLines[13].text, Name8("P3") + " just left the game");
  EXPECT_EQ(Players[3].name, "");
  EXPECT_TRUE(Players[3].sprite->hidden);
  EXPECT_EQ(Players[3].team, TeamNone) << "whoever gets the slot next is not scored for red";
  EXPECT_EQ(Players[3].colourG, PlayerColourG[3]) << "nor drawn in red";
  EXPECT_EQ(Players[3].sprite->green, PlayerColourG[3]);
  EXPECT_EQ(Game.spectating, 0);
  EXPECT_EQ(Disconnected, 0);
  Deliver(MsgLeave{.slot = 0});
  EXPECT_EQ(Disconnected, 1);
}

TEST_F(Dispatcher, TheNameTableNamesOthersAndGivesThemTheirSkins) {
  Deliver(MsgNameTable{"00" + Name8("Other") + "07" + "05" + Name8("Five") + "12" + "06" + Name8("Six") + "99"});
  EXPECT_EQ(Players[0].name, Name8("Me")) << "the own entry is skipped";
  EXPECT_EQ(Players[5].name, Name8("Five"));
  EXPECT_EQ(Players[5].skin, 12);
  EXPECT_EQ(Players[5].sprite->x, 999);
  EXPECT_EQ(Players[6].skin, 0) << "a skin past the table is the default";
}

TEST_F(Dispatcher, TheAdministratorIsToldSoAndTeamsAreColoured) {
  Deliver(MsgAdmin{.slot = 0});
  EXPECT_EQ(IsAdmin, 1);
  EXPECT_EQ(ChatLines[13].text, "<<<            YOU ARE THE GAME ADMINISTRATOR                 >>>");
  Deliver(MsgAdmin{.slot = 4});
  EXPECT_EQ(IsAdmin, 0);

  Deliver(MsgTeamTable{.entries = {{3, TeamBlue}, {4, TeamTagged}, {5, TeamRed}}});
  EXPECT_EQ(Players[3].team, TeamBlue);
  EXPECT_EQ(Players[3].colourR, 192);
  EXPECT_EQ(Players[4].colourG, 192);
  EXPECT_EQ(Players[5].team, TeamRed);
  Deliver(MsgJoinBlue{.slot = 5});
  EXPECT_EQ(Players[5].team, TeamBlue);
  Deliver(MsgTagged{.slot = 6});
  EXPECT_EQ(Players[6].colourR, 255);
  EXPECT_EQ(Players[6].colourG, 192);
}

}  // namespace
}  // namespace online_test
