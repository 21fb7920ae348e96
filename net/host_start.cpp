// Starting the server side of the networking library, for a hosting client and the server.
#include "net/host_start.h"

#include "net/envelope.h"
#include "net/net_globals.h"
#include "net/netlib_binding.h"
#include "platform/system.h"
#include "world/records.h"

namespace {

constexpr int MaxConnections = 15;
constexpr int LibraryReserved = 414194, ThreadSleepMs = 1;
constexpr int StartFailed = 1;

}  // namespace

void StartHostInterface() {
  if (NetLib.ServerStart(NetInterface, MaxConnections, LibraryReserved, ThreadSleepMs, GamePortNumber()) ==
      StartFailed) {
    Notify("Can not start host");
    // Nothing was registered yet, so there is nothing to log off.
    NetInterface = NetLib.DestroyRakServerInterface(NetInterface);
    // Scripts and service managers must see that hosting failed.
    EndProgram(1);
  }
  if (!HostPassword.empty()) NetLib.ServerSetPassword(NetInterface, HostPassword.c_str());
  NetLib.ServerStartOccasionalPing(NetInterface);
}
