// Player ids: handed out once each per process, never -1 and never the unassigned id.
#pragma once

#include "platform/qxrnet/qxrnet.h"

namespace qxrnet {

constexpr RN_PlayerId kUnassignedId = 0;

// The next id: 1, 2, 3, ... (never repeats within a run).
RN_PlayerId NextPlayerId();

}  // namespace qxrnet
