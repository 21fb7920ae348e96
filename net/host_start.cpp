// Starting the server side of the networking library, for a hosting client and the server.
#include "net/host_start.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "net/envelope.h"
#include "net/net_globals.h"
#include "net/netlib_binding.h"
#include "platform/system.h"
#include "world/records.h"

namespace {

constexpr int MaxConnections = 15;
constexpr int LibraryReserved = 414194, ThreadSleepMs = 1;
constexpr int StartFailed = 1;

// Why the library could not listen on port, from the errno it left.
std::string StartFailure(int port, int error) {
  return "UDP port " + std::to_string(port) + ": " +
         (error != 0 ? std::strerror(error) : "the networking library could not listen there");
}

}  // namespace

void StartHostInterface() {
  const int port = GamePortNumber();
  if (NetLib.ServerStart(NetInterface, MaxConnections, LibraryReserved, ThreadSleepMs, port) == StartFailed) {
    const int error = errno;
    Notify("Can not start host");
    // The box says what failed; the operator's terminal or log also gets why.
    std::fprintf(stderr, "%s\n", StartFailure(port, error).c_str());
    // Nothing was registered yet, so there is nothing to log off.
    NetInterface = NetLib.DestroyRakServerInterface(NetInterface);
    // Scripts and service managers must see that hosting failed.
    EndProgram(1);
  }
  if (!HostPassword.empty()) NetLib.ServerSetPassword(NetInterface, HostPassword.c_str());
  NetLib.ServerStartOccasionalPing(NetInterface);
}
