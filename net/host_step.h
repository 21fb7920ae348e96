// The host's per-frame network step.
#pragma once

// The most packets one host step handles. What is left waits for the next frame, so that a
// flood, which the library keeps taking in while the queue is drained, cannot hold up the
// heartbeat, the states broadcast or the frame; a full game's honest traffic is a few packets
// a frame.
inline constexpr int HostStepPackets = 256;

// Once per frame while hosting (client) or always (dedicated server): the heartbeat, the
// packets queued since the last frame (at most HostStepPackets), the silence drop, the states
// broadcast every 40 ms and the round checks.
void HostNetUpdate();
// Handles the packet in CurrentPacket (a library event or a game message) as the host step
// does; for HostNetUpdate and for tests that feed packets of their own.
void HostHandlePacket();
