// The dedicated server's settings file "server_ip.txt": register answer, title and password.
#pragma once

#include <string>

inline constexpr const char* ServerSettingsFile = "server_ip.txt";

// Reads lines 1..3 into RegisterAnswer, GameDescription and HostPassword as they stand (a line
// ends at LF, a zero byte or the end of the file; CR is dropped). A missing file or line leaves
// the value as it was.
void ReadServerSettings();

// Writes the three values back, one line each ended by CR LF, from the start of the file
// (made when missing). False when the file can be neither opened nor made.
bool WriteServerSettings();
