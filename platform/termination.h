// Termination signals: SIGTERM, SIGINT and SIGHUP become a quit request that loops and prompts see.
#pragma once

// From now on SIGTERM, SIGINT and SIGHUP no longer kill the program: they set the quit request,
// so that service managers, `timeout`, Ctrl+C and a closed terminal stop it through its own
// exit path. Call it first thing in main, before a window opens.
void QuitOnTerminationSignals();

// A termination signal has arrived. It stays set: every loop and modal prompt that sees it
// makes its way to the program's exit.
bool QuitSignalled();
