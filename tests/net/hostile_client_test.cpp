// A hostile player against a real hosting client: forged, malformed and flooding messages sent
// through the real library while two honest players go on playing, who must not notice.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <functional>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "net/chat_window.h"
#include "tests/net/hosting_process.h"
#include "tests/net/net_harness.h"
#include "tests/net/protocol_client.h"

namespace {

using net_harness::HostingProcess;
using protocol::Mode;
using protocol::ProtocolClient;

constexpr int Lounge = 180;
constexpr int HomeRoom = 32;  // "Home Sweet Home": a room with pickups
constexpr int HonestPing = 20;  // what the protocol client reports
// The longest a message takes to be seen by the others, the sanitizer build on a
// loaded machine included (well under a second on an idle one).
constexpr int WaitMs = 20000;

std::vector<uint8_t> Message(int type, std::vector<uint8_t> fields = {}) {
  fields.insert(fields.begin(), {64, static_cast<uint8_t>(type)});
  return fields;
}

// A str field: length + 1, the bytes, a zero.
std::vector<uint8_t> Str(const std::string& text) {
  std::vector<uint8_t> bytes{static_cast<uint8_t>(text.size() + 1)};
  bytes.insert(bytes.end(), text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

class HostileClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The host starts before any client: the library's threads must not exist at the fork.
    host_ = std::make_unique<HostingProcess>(net_harness::UnusedPort());
    ASSERT_TRUE(host_->Admit(alice_)) << host_->Errors();
    alice_.Join("Alice", 4);
    ASSERT_TRUE(host_->Admit(bob_));
    bob_.Join("Bob", 7);
    ASSERT_TRUE(host_->Admit(mallory_));
    mallory_.Join("Mallory", 9);
    ASSERT_TRUE(PlayUntil(
        [&] {
          return alice_.Got().names[bob_.Slot()] == bob_.Name() && bob_.Got().names[alice_.Slot()] == alice_.Name() &&
                 alice_.Got().statesOfSlot[0] > 0;
        }))
        << "the players do not see each other, or the host's own player is not listed";
    hostPlayer_ = alice_.Got().lastState[0];
    hostName_ = alice_.Got().names[0];
    // From now on every state the honest players see of each other, and of the host's own
    // player, is one that player was in, with the ping it reported (20 ms, or none yet).
    for (ProtocolClient* observer : {&alice_, &bob_}) {
      observer->WatchStates([this](const PlayerStateEntry& e) {
        const bool honest = e.slot == alice_.Slot() || e.slot == bob_.Slot();
        if (!honest && e.slot != 0) return;
        const bool wasThere = e.slot == 0 ? e.x == hostPlayer_.x && e.y == hostPlayer_.y &&
                                                e.room == hostPlayer_.room && e.ping == hostPlayer_.ping
                                          : visited_.count({e.slot, e.x, e.y, e.room}) > 0 &&
                                                (e.ping == 0 || e.ping == HonestPing);
        if (!wasThere) {
          forgedStates_.insert("slot " + std::to_string(e.slot) + " at " + std::to_string(e.x) + "," +
                               std::to_string(e.y) + " in room " + std::to_string(e.room) + ", ping " +
                               std::to_string(e.ping));
        }
      });
    }
  }

  void TearDown() override {
    if (!host_) return;
    const clienttest::ClientRun run = host_->Stop();
    EXPECT_FALSE(run.timedOut) << "the host did not close when asked";
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.errors.find("Sanitizer"), std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find("runtime error"), std::string::npos) << run.errors;
    ExpectChatLogHasOnlyWholeLinesOfTheirWriters();
  }

  // Everybody plays for ms: the honest players walk to and fro and report their states every
  // 50 ms, as the real client does; every client takes in what arrives.
  void Play(int ms) {
    const int end = protocol::LibraryTime() + ms;
    while (protocol::LibraryTime() < end) {
      ++step_;
      Walk(alice_, 64 + (step_ * 3) % 200);
      Walk(bob_, 448 - (step_ * 5) % 240);
      for (int i = 0; i < 50; i += 5) {
        for (ProtocolClient* c : {&alice_, &bob_, &mallory_}) c->Pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
    }
  }

  void Walk(ProtocolClient& who, int x) {
    visited_.insert({who.Slot(), x, 352, who.State().room});
    who.MoveTo(x, 352);
  }

  void Enter(ProtocolClient& who, int room) {
    visited_.insert({who.Slot(), who.State().x, who.State().y, room});
    who.EnterRoom(room);
  }

  // Plays on until done() or timeoutMs; returns done().
  bool PlayUntil(const std::function<bool()>& done, int timeoutMs = WaitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      Play(100);
    }
    return true;
  }

  void Chat(ProtocolClient& who, const std::string& text) {
    who.Chat(text);
    honestLines_.insert(who.Name() + ":" + text);
  }

  // The honest players still see each other where they are, by their names, chat with each other,
  // and the host's own player stands where it stood; nobody was removed.
  void ExpectHonestPlayersPlayOn() {
    ASSERT_TRUE(host_->Running()) << host_->Errors();
    for (const std::string& state : forgedStates_) ADD_FAILURE() << "a state the player never was in: " << state;
    for (ProtocolClient* c : {&alice_, &bob_}) {
      c->Got().largestStatesGapMs = 0;
      c->Got().lastStatesAtMs = -1;
    }
    Chat(alice_, "still here?");
    Chat(bob_, "yes, still here");
    Play(1500);
    // Standing still, each reports its place reliably (a step's unreliable state may be lost on
    // a busy machine) and waits until that has been broadcast.
    alice_.SendState(true);
    bob_.SendState(true);
    const auto seenWhereTheyStand = [&] {
      for (ProtocolClient* observer : {&alice_, &bob_}) {
        for (ProtocolClient* seen : {&alice_, &bob_}) {
          const PlayerStateEntry& e = observer->Got().lastState[seen->Slot()];
          if (e.x != seen->State().x || e.y != seen->State().y || e.room != seen->State().room) return false;
        }
      }
      return true;
    };
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(WaitMs);
    while (!seenWhereTheyStand() && std::chrono::steady_clock::now() < giveUp) {
      for (ProtocolClient* c : {&alice_, &bob_, &mallory_}) c->Pump();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    for (ProtocolClient* observer : {&alice_, &bob_}) {
      const protocol::Received& got = observer->Got();
      // A frame held up by a forged message would stop the broadcast for far longer.
      EXPECT_LT(got.largestStatesGapMs, 5000) << "the states broadcast stalled";
      for (ProtocolClient* seen : {&alice_, &bob_}) {
        const PlayerStateEntry& e = got.lastState[seen->Slot()];
        EXPECT_EQ(e.x, seen->State().x) << seen->Name();
        EXPECT_EQ(e.y, seen->State().y) << seen->Name();
        EXPECT_EQ(e.room, seen->State().room) << seen->Name();
        EXPECT_EQ(got.names[seen->Slot()], seen->Name());
        EXPECT_EQ(std::count(got.leaves.begin(), got.leaves.end(), seen->Slot()), 0) << seen->Name();
      }
      EXPECT_EQ(got.names[0], hostName_);
      EXPECT_EQ(got.lastState[0].x, hostPlayer_.x);
      EXPECT_EQ(got.lastState[0].y, hostPlayer_.y);
      EXPECT_EQ(got.lastState[0].room, hostPlayer_.room);
      EXPECT_EQ(std::count(got.leaves.begin(), got.leaves.end(), 0), 0);
      // Every player line in an honest slot's name is one that player wrote.
      for (const std::string& text : got.chats) {
        const int slot = ChatLineSlot(text);
        if (slot != alice_.Slot() && slot != bob_.Slot() && slot != 0) continue;
        const std::string& name = slot == alice_.Slot() ? alice_.Name() : slot == bob_.Slot() ? bob_.Name() : hostName_;
        EXPECT_TRUE(honestLines_.count(name + text.substr(2))) << "chat as another player: " << text;
      }
    }
    EXPECT_NE(std::find(bob_.Got().chats.begin(), bob_.Got().chats.end(), ChatLineFor(alice_.Slot(), "still here?")),
              bob_.Got().chats.end());
    EXPECT_NE(std::find(alice_.Got().chats.begin(), alice_.Got().chats.end(),
                        ChatLineFor(bob_.Slot(), "yes, still here")),
              alice_.Got().chats.end());
  }

  // The host's chat log: its banner, then one line per player line, each beginning with its
  // writer's name, with no CR or LF inside; the honest players' lines are only their own.
  void ExpectChatLogHasOnlyWholeLinesOfTheirWriters() {
    const std::string log = host_->ChatLog();
    std::vector<std::string> lines;
    for (size_t at = 0; at < log.size();) {
      const size_t end = log.find("\r\n", at);
      lines.push_back(log.substr(at, end == std::string::npos ? std::string::npos : end - at));
      at = end == std::string::npos ? log.size() : end + 2;
    }
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].rfind("Zarnaby Online Chat Log.", 0), 0u) << lines[0];
    const std::vector<std::string> writers{alice_.Name(), bob_.Name(), mallory_.Name(), hostName_};
    for (size_t i = 1; i < lines.size(); ++i) {
      const std::string& line = lines[i];
      EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "line " << i << ": " << line;
      const bool fromWriter = std::any_of(writers.begin(), writers.end(),
                                          [&](const std::string& w) { return line.rfind(w, 0) == 0; });
      EXPECT_TRUE(fromWriter) << "line " << i << " has no writer: " << line;
      if (line.rfind(alice_.Name(), 0) == 0 || line.rfind(bob_.Name(), 0) == 0) {
        EXPECT_TRUE(honestLines_.count(line)) << "logged as an honest player: " << line;
      }
    }
  }

  std::unique_ptr<HostingProcess> host_;
  ProtocolClient alice_, bob_, mallory_;
  PlayerStateEntry hostPlayer_;
  std::string hostName_;
  std::set<std::string> honestLines_;
  std::set<std::array<int, 4>> visited_;  // slot, x, y, room of every state an honest player sent
  std::set<std::string> forgedStates_;
  int step_ = 0;
};

TEST_F(HostileClientTest, ForgedPlayerMessagesMoveRenameRemoveAndSpeakForNobody) {
  ProtocolClient& m = mallory_;
  const int a = alice_.Slot(), b = bob_.Slot(), own = m.Slot();
  const std::vector<int> notOwn{a, b, 0, 16, 99, 255};

  for (int slot : notOwn) {
    const MsgPlayerState forged{.slot = slot, .x = 7, .y = 9, .mirrored = 1, .room = 5, .score = 999, .lives = 1,
                                .following = slot, .percent = 100};
    m.Send(forged, Mode::Unreliable);
    m.Send(forged, Mode::Reliable);
    m.Send(MsgPing{.slot = slot, .ping = 777});
    m.Send(MsgJoin{.nameAndSlot = "Impostor" + std::to_string(slot), .skin = 3});
    m.Send(MsgChat{ChatLineFor(slot, "I say what I like")}, Mode::Chat);
    m.Send(MsgPickupTaken{.room = HomeRoom, .pickupIndex = 1, .collector = slot});
    m.Send(MsgEnterRoom{.slot = slot, .room = HomeRoom});
    m.Send(MsgGameModeRequest{slot});
  }
  // Joins that name no slot, or too short to hold one; skins out of range.
  for (const std::string& text : {std::string(), std::string("x"), std::string("Short"), std::string("EightChr"),
                                  std::string("EightChr-1"), std::string("EightChr+3"), std::string("EightChr 3"),
                                  std::string("EightChr00003"), std::string("EightChrxx"), std::string(254, 'z')}) {
    m.Send(MsgJoin{.nameAndSlot = text, .skin = 5});
  }
  m.Send(MsgJoin{.nameAndSlot = m.Name() + std::to_string(own), .skin = -1});
  m.Send(MsgJoin{.nameAndSlot = m.Name() + std::to_string(own), .skin = 32767});
  // Chat lines whose first two characters are no slot, and lines with CR and LF inside.
  for (const std::string& text : {std::string(), std::string("7"), std::string("ab:x"), std::string("-1:x"),
                                  std::string("16:x"), std::string("99:x"), std::string(" 1:x"),
                                  std::string("\r\n:x"), std::string("\xA3"), std::string(254, '9')}) {
    m.Send(MsgChat{text}, Mode::Chat);
  }
  m.Chat("one\r\ntwo\rthree\nfour\x1b[2J");
  // Rooms outside 1..255, pickups outside the table.
  for (int room : {0, -1, 256, 999, 32767, -32768}) {
    m.Send(MsgEnterRoom{.slot = own, .room = room});
    m.Send(MsgPlayerState{.slot = own, .x = 1, .y = 1, .room = room});
    m.Send(MsgPickupTaken{.room = room, .pickupIndex = 0, .collector = own});
    m.Send(MsgNotInRoom{.requester = a, .room = room});
  }
  for (int index : {-1, -32768, 1100, 9999, 32767}) {
    m.Send(MsgPickupTaken{.room = HomeRoom, .pickupIndex = index, .collector = own});
  }
  // Leaves for everybody else.
  for (int slot : notOwn) m.Send(MsgLeave{slot});
  // Messages cut short after their type, or in the middle of a field.
  for (int type = 0; type < 64; ++type) {
    m.SendRaw(Message(type));
    m.SendRaw(Message(type, {0xFF}));
    m.SendRaw(Message(type, {5, 'a', 'b'}));
  }
  // A str whose length runs past the packet, and one without its zero.
  m.SendRaw(Message(1, {250, '0', '1', ':', 'x'}));
  m.SendRaw(Message(7, {9, 'A', 'l', 'i', 'c', 'e', ' ', ' ', ' ', '1'}));
  // States broadcasts from a client, with counts beyond 16.
  m.SendRaw(Message(2, {200, 1, 0, 0}));
  m.SendRaw(Message(2, {17}));
  m.Send(MsgPlayerStates{.count = 16, .entries = std::vector<PlayerStateEntry>(16, PlayerStateEntry{.slot = a})});
  Play(500);
  ExpectHonestPlayersPlayOn();
}

TEST_F(HostileClientTest, ForgedRoomStatesReachNobody) {
  ProtocolClient& m = mallory_;
  const int a = alice_.Slot(), b = bob_.Slot();
  alice_.AnswerRoomQueries(false);

  // Alice enters the room first and learns its pickups from the host alone.
  Enter(alice_, HomeRoom);
  ASSERT_TRUE(PlayUntil([&] { return !alice_.Got().roomPickups.empty(); }));
  const std::vector<int> pickups = alice_.Got().roomPickups.back();
  ASSERT_GE(pickups.size(), 2u) << "the room has pickups";

  // Bob enters it next: the host asks Alice, and only Alice's answer reaches Bob.
  Enter(bob_, HomeRoom);
  ASSERT_TRUE(PlayUntil([&] { return !alice_.Got().roomQueries.empty(); }));
  EXPECT_EQ(alice_.Got().roomQueries.back(), (MsgRoomQuery{.requester = b, .room = HomeRoom}));
  MsgRoomState forged{.requester = b, .room = HomeRoom, .time = INT_MAX, .swingPos = 32767, .swingStep = -32768,
                      .arrowCount1 = 32767, .arrowCount2 = -32768, .enemies = {}};
  forged.enemies.assign(255, RoomEnemyState{.x = -32768, .y = 32767, .moveDir = 255});
  m.Send(forged);
  m.Send(MsgNotInRoom{.requester = b, .room = HomeRoom});
  Play(300);
  const MsgRoomState answer{.requester = b, .room = HomeRoom, .time = protocol::LibraryTime(), .swingPos = 4,
                            .swingStep = 2, .arrowCount1 = 1, .arrowCount2 = -100,
                            .enemies = {{.x = 100, .y = 200, .moveDir = 3}}};
  alice_.Send(answer);
  ASSERT_TRUE(PlayUntil([&] { return !bob_.Got().roomStates.empty(); }));
  Play(300);
  ASSERT_EQ(bob_.Got().roomStates.size(), 1u) << "a room state Bob did not ask anybody for";
  EXPECT_EQ(static_cast<const MsgRoomState&>(bob_.Got().roomStates[0]), answer);
  EXPECT_EQ(bob_.Got().roomStates[0].pickups, pickups);
  EXPECT_TRUE(bob_.Got().roomPickups.empty()) << "pickups from a not-in-room nobody was asked for";

  // Room states for the host's own room that the host never asked for, with forged times and
  // enemy counts; answers for slots outside 0..15.
  for (int time : {INT_MAX, INT_MIN, -1, 0}) {
    for (int requester : {0, a, 16, 255}) {
      forged.requester = requester;
      forged.room = requester == a ? HomeRoom : Lounge;
      forged.time = time;
      m.Send(forged);
      forged.enemies.resize(forged.enemies.size() / 2);
    }
  }
  m.SendRaw(Concat({Message(14, {0, Lounge, 0}), Str("99999999999999999999999"), {1, 0, 2, 0, 3, 0, 4, 0, 9}}));
  m.Send(MsgNotInRoom{.requester = 0, .room = Lounge});
  Play(500);
  EXPECT_EQ(alice_.Got().roomStates.size(), 0u);

  // Pickups: Bob's is forwarded to Alice in the same room; forged collectors and indices are not.
  bob_.TakePickup(HomeRoom, pickups[0]);
  for (int collector : {a, b, 0, 16, 255}) {
    m.Send(MsgPickupTaken{.room = HomeRoom, .pickupIndex = pickups[1], .collector = collector});
  }
  ASSERT_TRUE(PlayUntil([&] { return !alice_.Got().pickupsTaken.empty(); }));
  Play(300);
  ASSERT_EQ(alice_.Got().pickupsTaken.size(), 1u);
  EXPECT_EQ(alice_.Got().pickupsTaken[0], (MsgPickupForward{.room = HomeRoom, .pickupIndex = pickups[0]}));
  ExpectHonestPlayersPlayOn();
}

TEST_F(HostileClientTest, ForgedGameModeMessagesChangeNothing) {
  ProtocolClient& m = mallory_;
  const int a = alice_.Slot(), own = m.Slot();
  for (int mode : {1, 30, 32, 54, 55, 56, 57, 58, 59, 60, 70, 80, 99, 200, 255, 0}) m.Send(MsgStartGame{mode});
  Play(300);
  for (int slot : {a, own, 0, 16, 255}) {
    m.Send(MsgAdminHandOver{slot});
    m.Send(MsgJoinBlue{slot});
    m.Send(MsgJoinRed{slot});
    m.Send(MsgMyTeam{.slot = slot, .team = 1});
    m.Send(MsgMyTeam{.slot = slot, .team = 2});
    m.Send(MsgMyTeam{.slot = slot, .team = 99});
  }
  for (const std::string& winner : {alice_.Name(), m.Name(), hostName_, std::string("** RED WIN **"),
                                    std::string("** BLUE WIN **"), std::string("no winner"), std::string()}) {
    m.Send(MsgWinner{winner});
  }
  m.Send(MsgResetGame{});
  m.Send(MsgGameStateRequest{});
  // A heartbeat comes every 5 s: wait for one after all of it.
  const size_t beats = alice_.Got().heartbeats.size();
  Play(500);
  ASSERT_TRUE(PlayUntil([&] { return alice_.Got().heartbeats.size() > beats; }));
  for (ProtocolClient* c : {&alice_, &bob_}) {
    const protocol::Received& got = c->Got();
    EXPECT_TRUE(got.gameModes.empty()) << "a game was announced";
    EXPECT_EQ(got.roundStarts, 0);
    EXPECT_EQ(got.resets, 0);
    EXPECT_EQ(got.gameStates, 0);
    EXPECT_EQ(got.chainRooms, 0);
    EXPECT_TRUE(got.winners.empty()) << got.winners.front();
    EXPECT_TRUE(got.admins.empty());
    EXPECT_TRUE(got.tagged.empty());
    EXPECT_TRUE(got.joinedBlue.empty());
    EXPECT_TRUE(got.joinedRed.empty());
    for (const MsgHeartbeat& beat : got.heartbeats) {
      EXPECT_EQ(beat.gameMode, 0);
      EXPECT_EQ(beat.roundStart, 0);
      EXPECT_EQ(beat.running, 0);
    }
    for (const MsgTeamTable& table : got.teamTables) {
      for (const TeamTableEntry& e : table.entries) EXPECT_EQ(e.team, 0) << "slot " << e.slot;
    }
  }
  ExpectHonestPlayersPlayOn();
}

TEST_F(HostileClientTest, FloodsAndRandomBytesLeaveTheGameRunning) {
  ProtocolClient& m = mallory_;
  const int own = m.Slot();
  std::mt19937 random(20240611);
  auto flood = [&](auto send, int count) {
    for (int i = 0; i < count; ++i) {
      send(i);
      if (i % 50 == 0) Play(50);
    }
  };
  flood([&](int i) { m.MoveTo(i % 500, 352); }, 2000);
  flood([&](int) { m.Ping(); }, 500);
  flood([&](int i) { m.Chat("flood " + std::to_string(i)); }, 300);
  flood([&](int) { m.EnterRoom(HomeRoom); }, 200);
  flood([&](int) { m.Send(MsgJoin{.nameAndSlot = m.Name() + std::to_string(own), .skin = 1}); }, 100);
  flood([&](int) { m.Send(MsgWelcomeRequest{}); }, 200);
  // Random bytes: game messages of every type with random fields, and anything at all.
  flood(
      [&](int i) {
        std::vector<uint8_t> bytes(1 + random() % (i % 10 == 0 ? 1500 : 40));
        for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
        if (i % 4 != 0) bytes.insert(bytes.begin(), 64);
        m.SendRaw(bytes, i % 3 == 0 ? Mode::Unreliable : Mode::Reliable);
      },
      3000);
  Play(1000);
  ExpectHonestPlayersPlayOn();
}

TEST_F(HostileClientTest, WelcomeRequestsGrabNoSlots) {
  for (int i = 0; i < 50; ++i) mallory_.Send(MsgWelcomeRequest{.value = i});
  Play(500);
  // Twelve more connections still find the twelve free slots.
  std::vector<std::unique_ptr<ProtocolClient>> extra;
  std::set<int> slots{0, alice_.Slot(), bob_.Slot(), mallory_.Slot()};
  for (int i = 0; i < 12; ++i) {
    extra.push_back(std::make_unique<ProtocolClient>());
    ASSERT_TRUE(extra.back()->Connect(host_->Port(), "", WaitMs)) << "connection " << i;
    for (int k = 0; k < 20; ++k) extra.back()->Send(MsgWelcomeRequest{});
    EXPECT_TRUE(slots.insert(extra.back()->Slot()).second) << "slot given twice: " << extra.back()->Slot();
  }
  EXPECT_EQ(slots.size(), 16u);
  // They go; a newcomer is welcomed (once the host has seen a slot freed), joins and is seen by
  // the others.
  extra.clear();
  ProtocolClient carol;
  ASSERT_TRUE(PlayUntil([&] { return carol.Connect(host_->Port(), "", 2000); })) << "no slot came free";
  carol.Join("Carol", 2);
  carol.MoveTo(200, 352);
  carol.SendState(true);  // the unreliable state may be lost on a busy machine
  EXPECT_TRUE(PlayUntil(
      [&] {
        carol.Pump();
        return alice_.Got().names[carol.Slot()] == carol.Name() && alice_.Got().lastState[carol.Slot()].x == 200;
      }))
      << "Alice sees " << alice_.Got().names[carol.Slot()] << " at x " << alice_.Got().lastState[carol.Slot()].x;
  ExpectHonestPlayersPlayOn();
}

}  // namespace
