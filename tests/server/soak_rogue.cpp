// The rogue's repertoire: random bytes, cut-short messages, forgeries, floods of requests.
#include "tests/server/soak_rogue.h"

#include <cstdint>
#include <string>
#include <vector>

#include "net/chat_window.h"
#include "net/envelope.h"
#include "net/messages.h"

namespace soak {
namespace {

using protocol::Mode;
using protocol::ProtocolClient;

constexpr int HomeRoom = 32;  // a room with pickups

class Dice {
 public:
  explicit Dice(std::mt19937& random) : random_(random) {}
  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  uint8_t Byte() { return static_cast<uint8_t>(Between(0, 255)); }
  // A slot that is not the rogue's own: another player's, or none at all.
  int OtherSlot(int own) {
    static constexpr int NoSlots[] = {16, 99, 255};
    if (Between(0, 4) == 0) return NoSlots[Between(0, 2)];
    int slot = Between(0, 14);
    return slot >= own ? slot + 1 : slot;
  }
  Mode AnyMode() { return static_cast<Mode>(Between(0, 3)); }

 private:
  std::mt19937& random_;
};

// Garbage that happens to read as a leave for the rogue's own slot becomes an enter-room.
void KeepOwnSlot(std::vector<uint8_t>& bytes, int own) {
  if (bytes.size() >= 3 && bytes[0] == GameMessageId && bytes[1] == MsgLeave::type && bytes[2] == own) {
    bytes[1] = MsgEnterRoom::type;
  }
}

void SendGarbage(ProtocolClient& rogue, Dice& dice) {
  const bool large = dice.Between(0, 9) == 0;
  std::vector<uint8_t> bytes(static_cast<size_t>(dice.Between(1, large ? 1500 : 40)));
  for (uint8_t& byte : bytes) byte = dice.Byte();
  switch (dice.Between(0, 2)) {
    case 0: bytes.insert(bytes.begin(), {GameMessageId, static_cast<uint8_t>(dice.Between(0, 63))}); break;
    case 1: bytes.insert(bytes.begin(), GameMessageId); break;
    default: break;  // anything at all (the library refuses to send what starts below 64)
  }
  KeepOwnSlot(bytes, rogue.Slot());
  rogue.SendRaw(bytes, dice.AnyMode());
}

void SendCutShort(ProtocolClient& rogue, Dice& dice) {
  std::vector<uint8_t> bytes{GameMessageId, static_cast<uint8_t>(dice.Between(0, 63))};
  for (int i = dice.Between(0, 2); i > 0; --i) bytes.push_back(0xFF);
  KeepOwnSlot(bytes, rogue.Slot());
  rogue.SendRaw(bytes, dice.AnyMode());
}

void SendForgery(ProtocolClient& rogue, Dice& dice) {
  const int other = dice.OtherSlot(rogue.Slot());
  switch (dice.Between(0, 8)) {
    case 0:
      rogue.Send(MsgPlayerState{.slot = other, .x = ForgedX, .y = ForgedY, .room = HomeRoom, .score = 999, .lives = 1},
                 dice.Between(0, 1) ? Mode::Unreliable : Mode::Reliable);
      return;
    case 1: return rogue.Send(MsgLeave{other});
    case 2: return rogue.Send(MsgChat{ChatLineFor(other, ForgedChatMark)}, Mode::Chat);
    case 3: return rogue.Send(MsgJoin{.nameAndSlot = "Impostor" + std::to_string(other), .skin = dice.Between(-5, 60)});
    case 4: return rogue.Send(MsgPickupTaken{.room = HomeRoom, .pickupIndex = dice.Between(-5, 1200), .collector = other});
    case 5: return rogue.Send(MsgEnterRoom{.slot = other, .room = dice.Between(-5, 300)});
    case 6: return rogue.Send(MsgPing{.slot = other, .ping = ForgedPing});
    case 7: {
      MsgRoomState state{.requester = dice.Between(0, 20), .room = dice.Between(0, 256), .time = dice.Between(-9, 9), .enemies = {}};
      state.enemies.assign(static_cast<size_t>(dice.Between(0, 255)), RoomEnemyState{.x = -1, .y = -1, .moveDir = 255});
      return rogue.Send(state);
    }
    default: return rogue.Send(MsgNotInRoom{.requester = dice.Between(0, 20), .room = dice.Between(0, 256)});
  }
}

// Requests only the administrator, or nobody, may make; and requests asked again and again.
void SendRequest(ProtocolClient& rogue, Dice& dice) {
  const int any = dice.Between(0, 20);
  switch (dice.Between(0, 9)) {
    case 0: return rogue.Send(MsgStartGame{dice.Between(0, 255)});
    case 1: return rogue.Send(MsgAdminHandOver{any});
    case 2: return rogue.Send(MsgResetGame{});
    case 3: return rogue.Send(MsgWinner{rogue.Name()});
    case 4: return rogue.Send(MsgGameModeRequest{any});
    case 5: return rogue.Send(MsgGameStateRequest{});
    case 6: return rogue.Send(MsgMyTeam{.slot = any, .team = dice.Between(0, 255)});
    case 7: return rogue.Send(MsgJoinBlue{any});
    case 8: return rogue.Send(MsgJoinRed{any});
    default: return rogue.Send(MsgWelcomeRequest{.value = any});
  }
}

}  // namespace

void SendSomethingHostile(ProtocolClient& rogue, std::mt19937& random) {
  Dice dice(random);
  switch (dice.Between(0, 5)) {
    case 0:
    case 1: return SendGarbage(rogue, dice);
    case 2: return SendCutShort(rogue, dice);
    case 3:
    case 4: return SendForgery(rogue, dice);
    default: return SendRequest(rogue, dice);
  }
}

}  // namespace soak
