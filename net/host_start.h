// Starting the server side of the networking library, for a hosting client and the server.
#pragma once

// Starts the server side of the library (NetInterface, already made) on the game's port for
// fifteen connections, with HostPassword and the pings. A port that cannot be opened ends the
// program with status 1 after "Can not start host" and, on standard error, the reason.
void StartHostInterface();
