// Counting what a peer has not acknowledged, stopping at the bounds.
#include "platform/qxrnet/send_backlog.h"

#include <initializer_list>

namespace qxrnet {

bool BacklogFull(const ENetPeer& peer) {
  size_t commands = 0;
  size_t bytes = 0;
  for (const ENetList* list : {&peer.outgoingCommands, &peer.sentReliableCommands}) {
    auto& walked = const_cast<ENetList&>(*list);
    for (ENetListIterator it = enet_list_begin(&walked); it != enet_list_end(&walked); it = enet_list_next(it)) {
      const auto* command = reinterpret_cast<const ENetOutgoingCommand*>(it);
      ++commands;
      bytes += command->fragmentLength;
      if (commands >= kMostUnacknowledgedCommands || bytes >= kMostUnacknowledgedBytes) return true;
    }
  }
  return false;
}

}  // namespace qxrnet
