// The dedicated server's settings file "server_ip.txt": register answer, title and password.
#pragma once

#include <string>

inline constexpr const char* ServerSettingsFile = "server_ip.txt";

// The longest answers the start-up questions take; lines of the file are cut to the same.
inline constexpr int RegisterAnswerLength = 1, TitleLength = 20, PasswordLength = 20;
inline constexpr int OwnAddressLength = 20;  // asked, never stored

// Reads lines 1..3 into RegisterAnswer, GameDescription and HostPassword as they stand (a line
// ends at LF, a zero byte or the end of the file; CR is dropped), each cut to the length its
// question takes. The file is only read. A missing line reads as ""; a missing file leaves the
// values as they were.
void ReadServerSettings();

// Writes the three values, one line each ended by CR LF, as the whole of the file (made when
// missing; nothing of a longer old file stays). False when it could not be written whole: a
// read-only file or folder keeps what it held.
bool WriteServerSettings();
