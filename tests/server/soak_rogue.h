// What a rogue player of the soak sends: garbage, messages cut short, and messages forged in
// other players' names.
#pragma once

#include <random>

#include "tests/net/protocol_client.h"

namespace soak {

// Marks of the messages forged in other players' names: no honest player may ever be seen
// where a forged state puts it, with a forged ping, or say a forged line.
inline constexpr int ForgedX = -7, ForgedY = -7, ForgedPing = 777;
inline constexpr const char* ForgedChatMark = "#forged#";

// Sends one hostile message, chosen at random. Garbage never forms a leave for the rogue's own
// slot (which would give its slot up behind the test's back); everything else goes.
void SendSomethingHostile(protocol::ProtocolClient& rogue, std::mt19937& random);

}  // namespace soak
