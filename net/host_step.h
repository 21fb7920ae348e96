// The host's per-frame network step.
#pragma once

// Once per frame while hosting (client) or always (dedicated server).
void HostNetUpdate();
