// Stand-ins for the online operations the world rules call, until online play is built.
//
// In single play none of them has anything to do: the own state goes to nobody, a win is
// never announced and there is no host to record a pickup. Online play replaces this file.
#include <string>

#include "net/dispatcher.h"
#include "net/host_rules.h"

void SendPlayerState(int) {}
void AnnounceWinner(const std::string&) {}
void HostPickupTaken(int, int, int) {}
