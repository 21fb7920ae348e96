// The dedicated-server switch: 1 (true) in the server build of the shared game, 0 in the client's.
#pragma once

#ifdef QXR_DEDICATED
inline constexpr bool Dedicated = true;
#else
inline constexpr bool Dedicated = false;
#endif
