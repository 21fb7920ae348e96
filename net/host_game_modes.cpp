// The host as referee: game modes chosen in the lounge, the count-down, rounds and winners.
#include "net/host_internal.h"

bool HostGameModeMessage(int) { return false; }

void HostRoundChecks() {}
