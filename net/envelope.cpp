// The message envelope: field codes over the library's bitstreams, the send modes, clock and interface life.
#include "net/envelope.h"

#include <climits>
#include <cstring>

#include "net/game_list.h"
#include "net/net_globals.h"
#include "net/netlib_binding.h"
#include "world/dedicated.h"
#include "world/records.h"

RN_BitStream* OutStream = nullptr;
RN_BitStream* InStream = nullptr;
RN_Packet* CurrentPacket = nullptr;
RN_Interface* NetInterface = nullptr;
RN_PlayerId UnassignedId = 0;

namespace {

// Library values of the send modes.
constexpr int HighPriority = 1, LowPriority = 3;
constexpr int UnreliableSequenced = 1, ReliableOrdered = 3;
constexpr int ReplyChannel = 0, StateChannel = 1, GameChannel = 2, ChatChannel = 3;
// Passed through to the library's start and connect calls; it ignores them.
constexpr int LibraryReserved = 414194, ThreadSleepMs = 1;

bool IsSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Decimal text to an int: white space, an optional sign, digits; saturates at the int range.
int IntFromText(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && IsSpace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

void SendToEveryone(int priority, int reliability, int channel) {
  NetLib.ServerSend2(NetInterface, OutStream, priority, reliability, channel, UnassignedId, 1);
}

void SendToHost(int priority, int reliability, int channel) {
  NetLib.ClientSend2(NetInterface, OutStream, priority, reliability, channel);
}

}  // namespace

bool NetHostSide() { return Hosting || Dedicated; }

void NetBeginMessage() {
  NetLib.BitStreamReset(OutStream);
  NetLib.BitStreamWriteUnsignedChar(OutStream, GameMessageId);
}

void NetWriteByte(int value) { NetLib.BitStreamWriteUnsignedChar(OutStream, value & 0xFF); }

void NetWriteShort(int value) { NetLib.BitStreamWriteShort(OutStream, value & 0xFFFF); }

void NetWriteString(const std::string& text) {
  const size_t length = text.size() < MaxStringLength ? text.size() : MaxStringLength;
  NetWriteByte(static_cast<int>(length) + 1);
  NetLib.BitStreamWrite(OutStream, text.data(), static_cast<int>(length));
  NetWriteByte(0);
}

void NetWriteIntString(int value) { NetWriteString(std::to_string(value)); }

int NetReadByte() { return NetLib.BitStreamReadUnsignedChar(InStream); }

int NetReadShort() { return NetLib.BitStreamReadShort(InStream); }

std::string NetReadString() {
  const int n = NetReadByte();
  if (n == 0) return "";
  const auto* bytes = reinterpret_cast<const char*>(NetLib.BitStreamRead(InStream, n));
  return std::string(bytes, strnlen(bytes, static_cast<size_t>(n)));
}

int NetReadIntString() { return IntFromText(NetReadString()); }

bool NetReadPastEnd() { return NetLib.BitStreamReadPastEnd(InStream) != 0; }

bool NetReceive() {
  CurrentPacket = NetHostSide() ? NetLib.ServerReceive(NetInterface) : NetLib.ClientReceive(NetInterface);
  InStream = CurrentPacket != nullptr ? NetLib.BitStreamCreateFromPacket(CurrentPacket) : nullptr;
  return CurrentPacket != nullptr;
}

void NetFreePacket() {
  // The packet owns its stream: InStream goes with it.
  InStream = nullptr;
  if (NetHostSide()) {
    CurrentPacket = NetLib.ServerDeallocatePacket(NetInterface, CurrentPacket);
  } else {
    CurrentPacket = NetLib.ClientDeallocatePacket(NetInterface, CurrentPacket);
  }
}

void NetSend(int slot) {
  if (!NetHostSide()) {
    SendToHost(HighPriority, ReliableOrdered, GameChannel);
  } else if (slot == -1) {
    SendToEveryone(HighPriority, ReliableOrdered, GameChannel);
  } else if (ValidSlot(slot)) {
    NetLib.ServerSend2(NetInterface, OutStream, HighPriority, ReliableOrdered, GameChannel, Slots[slot].netId, 0);
  }
}

void NetSendChat() {
  if (NetHostSide()) {
    SendToEveryone(HighPriority, ReliableOrdered, ChatChannel);
  } else {
    SendToHost(HighPriority, ReliableOrdered, ChatChannel);
  }
}

void NetSendUnreliable() {
  if (NetHostSide()) {
    SendToEveryone(LowPriority, UnreliableSequenced, StateChannel);
  } else {
    SendToHost(LowPriority, UnreliableSequenced, StateChannel);
  }
}

void NetSendTo(RN_PlayerId netId) {
  NetLib.ServerSend2(NetInterface, OutStream, HighPriority, ReliableOrdered, ReplyChannel, netId, 0);
}

int NetTime() { return NetHostSide() ? NetLib.GetTime() : GameClock(); }

int NetConnect(const std::string& host, int port, const std::string& password) {
  NetInterface = NetLib.GetRakClientInterface();
  if (!password.empty()) NetLib.ClientSetPassword(NetInterface, password.c_str());
  if (NetLib.ClientConnect(NetInterface, host.c_str(), port, 0, LibraryReserved, ThreadSleepMs) == 0) return 0;
  NetLib.ClientStartOccasionalPing(NetInterface);
  return 1;
}

void NetShutdown() {
  if (!NetHostSide()) {
    NetInterface = NetLib.DestroyRakClientInterface(NetInterface);
    return;
  }
  NetInterface = NetLib.DestroyRakServerInterface(NetInterface);
  LogOffGameList();
  Hosting = 0;
}
