// The dedicated server: start-up from prompts or its settings file, then the status loop.
#pragma once

// Runs the server until Escape, the window's close request or a termination signal; ends the
// program (exit code 0, or 1 when the server cannot start).
[[noreturn]] void ServerMain(int argc, char** argv);
