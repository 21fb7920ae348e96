// The dedicated-server switch: 1 in the server build of the shared game, 0 in the client's.
#pragma once

#ifdef QXR_DEDICATED
inline constexpr int Dedicated = 1;
#else
inline constexpr int Dedicated = 0;
#endif
