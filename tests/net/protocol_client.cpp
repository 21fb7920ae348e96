// The protocol-level test client: the game's messages through the real library, and what came back.
#include "tests/net/protocol_client.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include "net/chat_window.h"
#include "net/envelope.h"
#include "net/netlib_binding.h"
#include "world/text_utils.h"

namespace protocol {
namespace {

constexpr int LibraryReserved = 414194, ThreadSleepMs = 1;
constexpr int PingIntervalMs = 5000;

// Library events a client can get (first payload byte).
constexpr int Accepted = 16, AttemptFailed = 17, Disconnection = 20, Lost = 21, Full = 23, WrongPassword = 24;

// Reads a message of the packet being handled and keeps it (or the part of it that matters)
// when it is whole.
template <typename Message, typename List, typename Part>
void Keep(List& list, Part part) {
  Message message;
  if (ReadMessage(message)) list.push_back(part(message));
}
template <typename Message, typename List>
void Keep(List& list) {
  Keep<Message>(list, [](const Message& message) { return message; });
}
template <typename Message>
int SlotOf(const Message& message) {
  return message.slot;
}

void BindOnce() {
  if (OutStream == nullptr) BindNetLibrary();
}

// The envelope's streams and packet as they were, put back when this goes.
class BorrowedStreams {
 public:
  BorrowedStreams() : out_(OutStream), in_(InStream), packet_(CurrentPacket) {}
  ~BorrowedStreams() {
    OutStream = out_;
    InStream = in_;
    CurrentPacket = packet_;
  }
  BorrowedStreams(const BorrowedStreams&) = delete;
  BorrowedStreams& operator=(const BorrowedStreams&) = delete;

 private:
  RN_BitStream* out_;
  RN_BitStream* in_;
  RN_Packet* packet_;
};

}  // namespace

int LibraryTime() {
  BindOnce();
  return NetLib.GetTime();
}

ProtocolClient::ProtocolClient() {
  BindOnce();
  out_ = NetLib.BitStreamCreate1(0);
}

ProtocolClient::~ProtocolClient() {
  Close();
  NetLib.BitStreamDestroy(out_);
}

bool ProtocolClient::StartConnect(int port, const std::string& password, const std::string& host) {
  Close();
  got_ = Received{};
  slot_ = -1;
  iface_ = NetLib.GetRakClientInterface();
  if (!password.empty()) NetLib.ClientSetPassword(iface_, password.c_str());
  if (NetLib.ClientConnect(iface_, host.c_str(), port, 0, LibraryReserved, ThreadSleepMs) == 0) {
    Close();
    return false;
  }
  NetLib.ClientStartOccasionalPing(iface_);
  lastPingMs_ = LibraryTime();
  return true;
}

bool ProtocolClient::Connect(int port, const std::string& password, int timeoutMs, const std::string& host) {
  if (!StartConnect(port, password, host)) return false;
  return PumpUntil(
      [this] {
        return got_.welcomes > 0 || got_.attemptFailed > 0 || got_.invalidPassword > 0 || got_.full > 0 ||
               got_.disconnected > 0;
      },
      timeoutMs) &&
         got_.welcomes > 0;
}

void ProtocolClient::Close() {
  if (iface_ != nullptr) iface_ = NetLib.DestroyRakClientInterface(iface_);
}

void ProtocolClient::Build(const std::function<void()>& write) {
  BorrowedStreams keep;
  OutStream = out_;
  write();
}

bool ProtocolClient::SendBuilt(Mode mode) {
  switch (mode) {
    case Mode::Reliable: return NetLib.ClientSend2(iface_, out_, 1, 3, 2) != 0;
    case Mode::Chat: return NetLib.ClientSend2(iface_, out_, 1, 3, 3) != 0;
    case Mode::Unreliable: return NetLib.ClientSend2(iface_, out_, 3, 1, 1) != 0;
    case Mode::Reply: return NetLib.ClientSend2(iface_, out_, 1, 3, 0) != 0;
  }
  return false;
}

bool ProtocolClient::SendRaw(const std::vector<uint8_t>& bytes, Mode mode) {
  NetLib.BitStreamReset(out_);
  NetLib.BitStreamWrite(out_, bytes.data(), static_cast<int>(bytes.size()));
  return SendBuilt(mode);
}

void ProtocolClient::Join(const std::string& name, int skin) {
  name_ = AlignText(name, 8, "C");
  Send(MsgJoin{.nameAndSlot = name_ + std::to_string(slot_), .skin = skin});
  Send(MsgChat{JoinNotice(name_)}, Mode::Chat);
  SendState(true);
}

void ProtocolClient::SendState(bool reliable) {
  const MsgPlayerState message{.slot = slot_, .x = state_.x, .y = state_.y, .mirrored = state_.mirrored,
                               .room = state_.room, .score = state_.score, .lives = state_.lives,
                               .following = state_.following, .percent = state_.percent};
  Send(message, reliable ? Mode::Reliable : Mode::Unreliable);
}

void ProtocolClient::MoveTo(int x, int y) {
  if (x != state_.x) state_.mirrored = x < state_.x ? 1 : 0;
  state_.x = x;
  state_.y = y;
  SendState(false);
}

void ProtocolClient::EnterRoom(int room) {
  state_.room = room;
  SendState(true);
  Send(MsgEnterRoom{.slot = slot_, .room = room});
}

void ProtocolClient::Chat(const std::string& text) { Send(MsgChat{ChatLineFor(slot_, text)}, Mode::Chat); }

void ProtocolClient::TakePickup(int room, int index) {
  Send(MsgPickupTaken{.room = room, .pickupIndex = index, .collector = slot_});
}

void ProtocolClient::Ping(int averageMs) { Send(MsgPing{.slot = slot_, .ping = averageMs}); }

void ProtocolClient::Leave() { Send(MsgLeave{slot_}); }

void ProtocolClient::Pump() {
  if (iface_ == nullptr) return;
  while (RN_Packet* packet = NetLib.ClientReceive(iface_)) {
    Handle(packet);
    NetLib.ClientDeallocatePacket(iface_, packet);
  }
  if (keepPinging_ && slot_ >= 0 && Connected() && LibraryTime() - lastPingMs_ > PingIntervalMs) {
    lastPingMs_ = LibraryTime();
    Ping();
  }
}

bool ProtocolClient::PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    Pump();
    if (done()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void ProtocolClient::PumpFor(int ms) {
  PumpUntil([] { return false; }, ms);
}

void ProtocolClient::Handle(RN_Packet* packet) {
  const unsigned char* data = NetLib.PacketGetData(packet);
  if (data == nullptr || NetLib.PacketGetLength(packet) < 1) return;
  switch (data[0]) {
    case Accepted: ++got_.accepted; return;
    case AttemptFailed: ++got_.attemptFailed; return;
    case Disconnection: ++got_.disconnected; return;
    case Lost: ++got_.lost; return;
    case Full: ++got_.full; return;
    case WrongPassword: ++got_.invalidPassword; return;
    case GameMessageId: break;
    default: return;
  }
  BorrowedStreams keep;
  CurrentPacket = packet;
  InStream = NetLib.BitStreamCreateFromPacket(packet);
  NetReadByte();
  const int type = NetReadByte();
  ++got_.messagesOfType[type];
  HandleMessage(type);
}

void ProtocolClient::HandleMessage(int type) {
  switch (type) {
    case MsgWelcome::type: {
      if (!ReadMessage(got_.welcome)) return;
      ++got_.welcomes;
      slot_ = got_.welcome.slot;
      state_.x = slot_ * 32 + 32;
      return;
    }
    case MsgPlayerStates::type: {
      MsgPlayerStates states;
      ReadMessage(states);
      const int now = LibraryTime();
      if (got_.lastStatesAtMs >= 0 && now - got_.lastStatesAtMs > got_.largestStatesGapMs) {
        got_.largestStatesGapMs = now - got_.lastStatesAtMs;
      }
      got_.lastStatesAtMs = now;
      ++got_.statesBroadcasts;
      for (const PlayerStateEntry& e : states.entries) {
        if (e.slot < 0 || e.slot > 15) continue;
        ++got_.statesOfSlot[e.slot];
        got_.lastState[e.slot] = e;
        if (stateWatcher_) stateWatcher_(e);
      }
      return;
    }
    case MsgNameTable::type: {
      MsgNameTable table;
      ReadMessage(table);
      for (size_t at = 0; at + 12 <= table.table.size(); at += 12) {
        const int slot = std::atoi(table.table.substr(at, 2).c_str());
        if (slot >= 0 && slot <= 15) got_.names[slot] = table.table.substr(at + 2, 8);
      }
      return;
    }
    case MsgChat::type: return Keep<MsgChat>(got_.chats, [](const MsgChat& m) { return m.text; });
    case MsgLeave::type: {
      MsgLeave leave;
      if (!ReadMessage(leave)) return;
      got_.leaves.push_back(leave.slot);
      if (leave.slot >= 0 && leave.slot <= 15) got_.names[leave.slot].clear();
      return;
    }
    case MsgPickupForward::type: return Keep<MsgPickupForward>(got_.pickupsTaken);
    case MsgRoomQuery::type: {
      MsgRoomQuery query;
      if (!ReadMessage(query)) return;
      got_.roomQueries.push_back(query);
      if (answerQueries_) Send(MsgNotInRoom{.requester = query.requester, .room = query.room});
      return;
    }
    // Lists are kept as far as they came, complete or not.
    case MsgRoomStateRelayed::type: {
      MsgRoomStateRelayed state;
      ReadMessage(state);
      got_.roomStates.push_back(state);
      return;
    }
    case MsgRoomPickups::type: {
      MsgRoomPickups pickups;
      ReadMessage(pickups);
      got_.roomPickups.push_back(pickups.pickups);
      return;
    }
    case MsgGameMode::type:
      Keep<MsgGameMode>(got_.gameModes);
      if (!got_.gameModes.empty()) gameMode_ = got_.gameModes.back().gameMode;
      return;
    case MsgHeartbeat::type:
      Keep<MsgHeartbeat>(got_.heartbeats);
      if (!got_.heartbeats.empty()) gameMode_ = got_.heartbeats.back().gameMode;
      return;
    case MsgWinner::type: return Keep<MsgWinner>(got_.winners, [](const MsgWinner& m) { return m.text; });
    case MsgTeamTable::type: return Keep<MsgTeamTable>(got_.teamTables);
    case MsgAdmin::type: return Keep<MsgAdmin>(got_.admins, SlotOf<MsgAdmin>);
    case MsgTagged::type: return Keep<MsgTagged>(got_.tagged, SlotOf<MsgTagged>);
    case MsgJoinBlue::type: return Keep<MsgJoinBlue>(got_.joinedBlue, SlotOf<MsgJoinBlue>);
    case MsgJoinRed::type: return Keep<MsgJoinRed>(got_.joinedRed, SlotOf<MsgJoinRed>);
    case MsgRoundStart::type: {
      ++got_.roundStarts;
      MsgRoundStart start;
      const bool named = ReadMessage(start, gameMode_) && RoundStartCarriesSlot(gameMode_) && start.slot <= 15;
      got_.roundStartSlots.push_back(named ? start.slot : -1);
      return;
    }
    case MsgResetGame::type: ++got_.resets; return;
    case MsgGameState::type: ++got_.gameStates; return;
    case MsgChainRooms::type: ++got_.chainRooms; return;
    default: return;
  }
}

}  // namespace protocol
