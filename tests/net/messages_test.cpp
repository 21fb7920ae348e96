// Every game message written at one end of a real connection and read back at the other, and read from damaged packets.
#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "net/envelope.h"
#include "net/messages.h"
#include "net_harness.h"
#include "tests/net/message_bytes.h"
#include "world/records.h"

using namespace net_harness;

namespace {

// One host and one joined client; messages cross between them through the envelope.
class Messages : public ::testing::Test {
 protected:
  void SetUp() override {
    server_ = StartServer();
    client_ = StartClient(server_.port);
    clientId_ = Admit(server_.iface, client_);
    Slots[1].netId = clientId_;
  }
  void TearDown() override {
    NetLib.DestroyRakClientInterface(client_);
    NetLib.DestroyRakServerInterface(server_.iface);
    NetInterface = nullptr;
    Hosting = 0;
  }

  // Sends m from the client to the host with send(), and reads it there.
  template <typename M, typename... Extra>
  M ToHost(const M& m, void (*send)(), Extra... extra) {
    Side(false);
    WriteMessage(m);
    send();
    return ReadAt<M>(true, M::type, extra...);
  }
  // Sends m from the host to the client with NetSend(1), and reads it there.
  template <typename M, typename... Extra>
  M ToClient(const M& m, Extra... extra) {
    Side(true);
    WriteMessage(m);
    NetSend(1);
    return ReadAt<M>(false, M::type, extra...);
  }

  template <typename M, typename... Extra>
  M ReadAt(bool hostSide, int type, Extra... extra) {
    Side(hostSide);
    M read;
    for (int i = 0; i < 2000 && !NetReceive(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (CurrentPacket == nullptr) {
      ADD_FAILURE() << "message " << type << " did not arrive";
      return read;
    }
    EXPECT_EQ(NetReadByte(), GameMessageId);
    EXPECT_EQ(NetReadByte(), type);
    EXPECT_TRUE(ReadMessage(read, extra...)) << "message " << type;
    NetReadByte();
    EXPECT_TRUE(NetReadPastEnd()) << "message " << type << " has bytes left over";
    NetFreePacket();
    return read;
  }

  void Side(bool host) {
    Hosting = host ? 1 : 0;
    NetInterface = host ? server_.iface : client_;
  }

  Server server_;
  RN_Interface* client_ = nullptr;
  RN_PlayerId clientId_ = 0;
};

PlayerStateEntry Entry(int slot) {
  return {slot, 32 * slot - 40, 352 - slot, slot % 2, 180 - slot, 1000 * slot - 3000, 9, slot == 3 ? 99 : 0, 4 * slot, 20 + slot};
}

MsgRoomStateRelayed SampleRoomState() {
  MsgRoomStateRelayed m;
  m.requester = 5;
  m.room = 255;
  m.time = 2147000123;
  m.swingPos = 22;
  m.swingStep = -2;
  m.arrowCount1 = 300;
  m.arrowCount2 = -7;
  m.enemies = {{100, 200, 3}, {-16, 399, 0}, {511, 144, 2}};
  m.pickups = {0, 7, 1099};
  return m;
}

}  // namespace

TEST_F(Messages, SessionMessagesCrossBothWays) {
  const MsgChat chat{"03:hello \xA3 world"};
  EXPECT_EQ(ToHost(chat, NetSendChat), chat);
  Side(true);
  WriteMessage(chat);
  NetSendChat();
  EXPECT_EQ(ReadAt<MsgChat>(false, MsgChat::type), chat);

  Side(true);
  const MsgWelcome welcome{7, -123456, ProtocolVersion};
  WriteMessage(welcome);
  NetSendTo(clientId_);
  EXPECT_EQ(ReadAt<MsgWelcome>(false, MsgWelcome::type), welcome);
  EXPECT_EQ(ToHost(MsgWelcomeRequest{42}, [] { NetSend(-1); }), MsgWelcomeRequest{42});

  const MsgJoin join{"  Bob   3", 50};
  EXPECT_EQ(ToHost(join, [] { NetSend(-1); }), join);
  std::string table;
  for (int slot = 0; slot < 16; ++slot) table += (slot < 10 ? "0" : "") + std::to_string(slot) + "Player" + "\xA3" "x" + "07";
  ASSERT_EQ(table.size(), 192u);
  EXPECT_EQ(ToClient(MsgNameTable{table}), MsgNameTable{table});

  EXPECT_EQ(ToHost(MsgLeave{15}, [] { NetSend(-1); }), MsgLeave{15});
  EXPECT_EQ(ToClient(MsgLeave{1}), MsgLeave{1});
  EXPECT_EQ(ToHost(MsgPing{2, 1234}, [] { NetSend(-1); }), (MsgPing{2, 1234}));
  EXPECT_EQ(ToClient(MsgAdmin{4}), MsgAdmin{4});
  EXPECT_EQ(ToHost(MsgAdminHandOver{9}, [] { NetSend(-1); }), MsgAdminHandOver{9});
}

TEST_F(Messages, PlayerAndRoomMessagesCrossBothWays) {
  MsgPlayerStates states;
  for (int slot = 0; slot < 16; ++slot) states.entries.push_back(Entry(slot));
  states.count = 16;
  Side(true);
  WriteMessage(states);
  NetSendUnreliable();
  EXPECT_EQ(ReadAt<MsgPlayerStates>(false, MsgPlayerStates::type), states);

  const MsgPlayerState own{3, 480, 352, 1, 180, -5, 9, 99, 100};
  EXPECT_EQ(ToHost(own, NetSendUnreliable), own);
  EXPECT_EQ(ToHost(MsgPickupTaken{12, 1099, 15}, [] { NetSend(-1); }), (MsgPickupTaken{12, 1099, 15}));
  EXPECT_EQ(ToClient(MsgPickupForward{12, 1099}), (MsgPickupForward{12, 1099}));
  EXPECT_EQ(ToHost(MsgEnterRoom{6, 178}, [] { NetSend(-1); }), (MsgEnterRoom{6, 178}));
  EXPECT_EQ(ToClient(MsgRoomQuery{6, 178}), (MsgRoomQuery{6, 178}));

  const MsgRoomStateRelayed relayed = SampleRoomState();
  const MsgRoomState& state = relayed;
  EXPECT_EQ(ToHost(state, [] { NetSend(-1); }), state);
  EXPECT_EQ(ToClient(relayed), relayed);
  EXPECT_EQ(ToHost(MsgNotInRoom{6, 178}, [] { NetSend(-1); }), (MsgNotInRoom{6, 178}));
  EXPECT_EQ(ToClient(MsgRoomPickups{{3, 4, 5}}), (MsgRoomPickups{{3, 4, 5}}));
  EXPECT_EQ(ToClient(MsgWaitForRoom{}), MsgWaitForRoom{});
}

TEST_F(Messages, GameModeMessagesCrossBothWays) {
  Side(true);
  const MsgGameState gameState{99999999, 32, 100000, -1};
  WriteMessage(gameState);
  NetSendTo(clientId_);
  EXPECT_EQ(ReadAt<MsgGameState>(false, MsgGameState::type), gameState);

  EXPECT_EQ(ToHost(MsgStartGame{81}, [] { NetSend(-1); }), MsgStartGame{81});
  EXPECT_EQ(ToHost(MsgGameStateRequest{}, [] { NetSend(-1); }), MsgGameStateRequest{});
  EXPECT_EQ(ToClient(MsgRoundStart{30, 11}, 30), (MsgRoundStart{30, 11}));
  EXPECT_EQ(ToClient(MsgRoundStart{32, 0}, 32), (MsgRoundStart{32, 0}));
  EXPECT_EQ(ToClient(MsgRoundStart{31, 0}, 31), (MsgRoundStart{31, 0}));
  EXPECT_EQ(ToClient(MsgGameMode{12, 5000, 1}), (MsgGameMode{12, 5000, 1}));
  EXPECT_EQ(ToHost(MsgGameModeRequest{8}, [] { NetSend(-1); }), MsgGameModeRequest{8});
  EXPECT_EQ(ToHost(MsgResetGame{}, [] { NetSend(-1); }), MsgResetGame{});
  EXPECT_EQ(ToClient(MsgResetGame{}), MsgResetGame{});
  EXPECT_EQ(ToHost(MsgWinner{"  Bob   "}, [] { NetSend(-1); }), MsgWinner{"  Bob   "});
  EXPECT_EQ(ToClient(MsgWinner{"** BLUE WIN **"}), MsgWinner{"** BLUE WIN **"});
  EXPECT_EQ(ToClient(MsgTagged{13}), MsgTagged{13});
  EXPECT_EQ(ToHost(MsgJoinBlue{2}, [] { NetSend(-1); }), MsgJoinBlue{2});
  EXPECT_EQ(ToClient(MsgJoinBlue{2}), MsgJoinBlue{2});
  EXPECT_EQ(ToHost(MsgJoinRed{3}, [] { NetSend(-1); }), MsgJoinRed{3});
  EXPECT_EQ(ToClient(MsgJoinRed{3}), MsgJoinRed{3});
  const MsgTeamTable teams{{{0, 1}, {3, 2}, {12, 99}, {15, 0}}};
  EXPECT_EQ(ToClient(teams), teams);
  EXPECT_EQ(ToClient(MsgHeartbeat{-5, 0, 0, 0}), (MsgHeartbeat{-5, 0, 0, 0}));
  EXPECT_EQ(ToHost(MsgMyTeam{4, 2}, [] { NetSend(-1); }), (MsgMyTeam{4, 2}));
  const MsgChainRooms chain{{12, 45, 200, 7, 255}};
  EXPECT_EQ(ToClient(chain), chain);
}

namespace {

// Reads a message of type M from bytes (envelope and type byte included).
template <typename M, typename... Extra>
bool ReadFrom(const std::vector<uint8_t>& bytes, M& m, Extra... extra) {
  RN_BitStream* s = NetLib.BitStreamCreate1(0);
  NetLib.BitStreamWrite(s, bytes.data(), static_cast<int>(bytes.size()));
  InStream = s;
  NetReadByte();
  NetReadByte();
  const bool complete = ReadMessage(m, extra...);
  InStream = nullptr;
  NetLib.BitStreamDestroy(s);
  return complete;
}

class MessageLayout : public ::testing::Test {
 protected:
  void SetUp() override { BindLibrary(); }
};

}  // namespace

TEST_F(MessageLayout, EdgeCasesOfTheCatalogue) {
  // A relayed room state with no pickups ends with the single end mark.
  MsgRoomStateRelayed empty;
  empty.room = 33;
  std::vector<uint8_t> bytes = MessageBytes(empty);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[bytes.size() - 2] | (bytes[bytes.size() - 1] << 8), PickupListEnd);
  EXPECT_EQ(MessageBytes(MsgRoomPickups{}), (std::vector<uint8_t>{64, 60, 0x0F, 0x27}));
  // A round start in mode 31 carries nothing after the type byte.
  EXPECT_EQ(MessageBytes(MsgRoundStart{31, 5}), (std::vector<uint8_t>{64, 19}));
  EXPECT_EQ(MessageBytes(MsgRoundStart{30, 5}), (std::vector<uint8_t>{64, 19, 5}));
  // The states count always equals the entries that follow, never above 16.
  MsgPlayerStates many;
  for (int i = 0; i < 20; ++i) many.entries.push_back(Entry(i % 16));
  bytes = MessageBytes(many);
  EXPECT_EQ(bytes[2], 16);
  EXPECT_EQ(bytes.size(), 3u + 16 * 16);  // 259 bytes: 16 bytes per entry
  // A broadcast claiming 17 entries is read with none, for the dispatcher to ignore.
  bytes[2] = 17;
  MsgPlayerStates read;
  ReadFrom(bytes, read);
  EXPECT_EQ(read.count, 17);
  EXPECT_TRUE(read.entries.empty());
  // The type 32 has one form each way.
  EXPECT_EQ(MessageBytes(MsgMyTeam{1, 2}), (std::vector<uint8_t>{64, 32, 1, 2}));
  EXPECT_EQ(MessageBytes(MsgChainRooms{{1, 2, 3, 4, 5}}), (std::vector<uint8_t>{64, 32, 1, 2, 3, 4, 5}));
}

namespace {

// Each message's sample, and a check that every cut of it reads as incomplete.
template <typename M, typename... Extra>
void CheckTruncations(const M& sample, Extra... extra) {
  const std::vector<uint8_t> whole = MessageBytes(sample);
  M m;
  EXPECT_TRUE(ReadFrom(whole, m, extra...)) << "type " << M::type;
  EXPECT_EQ(m, sample) << "type " << M::type;
  for (size_t cut = 2; cut < whole.size(); ++cut) {
    M part;
    EXPECT_FALSE(ReadFrom(std::vector<uint8_t>(whole.begin(), whole.begin() + cut), part, extra...))
        << "type " << M::type << " cut to " << cut << " bytes";
  }
}

template <typename M, typename... Extra>
void ReadGarbage(std::mt19937& random, Extra... extra) {
  for (int round = 0; round < 200; ++round) {
    std::vector<uint8_t> bytes{64, static_cast<uint8_t>(M::type)};
    const int length = static_cast<int>(random() % 40);
    for (int i = 0; i < length; ++i) bytes.push_back(static_cast<uint8_t>(random()));
    M m;
    ReadFrom(bytes, m, extra...);
  }
}

}  // namespace

TEST_F(MessageLayout, CutPacketsReadAsIncompleteWithDefinedValues) {
  MsgPlayerStates states;
  states.entries = {Entry(1), Entry(2), Entry(3)};
  states.count = 3;
  CheckTruncations(MsgChat{"a line"});
  CheckTruncations(states);
  CheckTruncations(MsgPlayerState{3, 480, 352, 1, 180, -5, 9, 99, 100});
  CheckTruncations(MsgWelcome{7, 123456, 13});
  CheckTruncations(MsgWelcomeRequest{1});
  CheckTruncations(MsgJoin{"  Bob   3", 7});
  CheckTruncations(MsgNameTable{"00  Bob   07"});
  CheckTruncations(MsgPickupTaken{1, 2, 3});
  CheckTruncations(MsgPickupForward{1, 2});
  CheckTruncations(MsgLeave{1});
  CheckTruncations(MsgEnterRoom{1, 2});
  CheckTruncations(MsgRoomQuery{1, 2});
  CheckTruncations(static_cast<const MsgRoomState&>(SampleRoomState()));
  CheckTruncations(SampleRoomState());
  CheckTruncations(MsgGameState{1, 2, 3, 4});
  CheckTruncations(MsgStartGame{12});
  CheckTruncations(MsgRoundStart{30, 4}, 30);
  CheckTruncations(MsgGameMode{1, 2, 1});
  CheckTruncations(MsgGameModeRequest{1});
  CheckTruncations(MsgWinner{"** RED WIN **"});
  CheckTruncations(MsgTagged{1});
  CheckTruncations(MsgJoinBlue{1});
  CheckTruncations(MsgJoinRed{1});
  CheckTruncations(MsgTeamTable{{{1, 2}, {3, 99}}});
  CheckTruncations(MsgAdmin{1});
  CheckTruncations(MsgAdminHandOver{1});
  CheckTruncations(MsgHeartbeat{1, 2, 3, 1});
  CheckTruncations(MsgPing{1, 50});
  CheckTruncations(MsgMyTeam{1, 2});
  CheckTruncations(MsgChainRooms{{1, 2, 3, 4, 5}});
  CheckTruncations(MsgNotInRoom{1, 2});
  CheckTruncations(MsgRoomPickups{{1, 2}});
}

TEST_F(MessageLayout, GarbageReadsWithoutHarmAndListsStayBounded) {
  std::mt19937 random(1234);
  ReadGarbage<MsgChat>(random);
  ReadGarbage<MsgPlayerStates>(random);
  ReadGarbage<MsgPlayerState>(random);
  ReadGarbage<MsgWelcome>(random);
  ReadGarbage<MsgJoin>(random);
  ReadGarbage<MsgNameTable>(random);
  ReadGarbage<MsgRoomStateRelayed>(random);
  ReadGarbage<MsgGameState>(random);
  ReadGarbage<MsgRoundStart>(random, 32);
  ReadGarbage<MsgGameMode>(random);
  ReadGarbage<MsgWinner>(random);
  ReadGarbage<MsgTeamTable>(random);
  ReadGarbage<MsgHeartbeat>(random);
  ReadGarbage<MsgChainRooms>(random);
  ReadGarbage<MsgRoomPickups>(random);

  // Counts larger than the data: only whole entries are kept.
  MsgTeamTable teams;
  EXPECT_FALSE(ReadFrom({64, 27, 200, 1, 2, 3}, teams));
  EXPECT_EQ(teams.entries, (std::vector<TeamTableEntry>{{1, 2}}));
  MsgRoomState room;
  EXPECT_FALSE(ReadFrom({64, 14, 1, 2, 0, 2, '5', 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 1, 0}, room));
  EXPECT_TRUE(room.enemies.empty());
  EXPECT_EQ(room.time, 5);
  // A pickup list without its end mark stops at the end of the data, and at most at the
  // number of pickups a world holds.
  std::vector<uint8_t> endless{64, 60};
  for (int i = 0; i < 3000; ++i) {
    endless.push_back(1);
    endless.push_back(0);
  }
  MsgRoomPickups pickups;
  ReadFrom(endless, pickups);
  EXPECT_EQ(static_cast<int>(pickups.pickups.size()), MaxPickupListEntries);
}
