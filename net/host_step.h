// The host's per-frame network step.
#pragma once

// Once per frame while hosting (client) or always (dedicated server): the heartbeat, every
// packet queued since the last frame, the silence drop, the states broadcast every 40 ms and
// the round checks.
void HostNetUpdate();
// Handles the packet in CurrentPacket (a library event or a game message) as the host step
// does; for HostNetUpdate and for tests that feed packets of their own.
void HostHandlePacket();
