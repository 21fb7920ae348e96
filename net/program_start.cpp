// What both programs do around their own start-up: signals, the game port, the own folder, fatal errors.
#include "net/program_start.h"

#include <string>

#include "net/net_globals.h"
#include "platform/stream.h"
#include "platform/system.h"
#include "platform/termination.h"

int RunProgram(void (*program)(int argc, char** argv), int argc, char** argv) {
  QuitOnTerminationSignals();
  if (const std::string problem = GamePortProblem(); !problem.empty()) {
    Notify(problem);
    return 1;
  }
  ChangeDir(ProgramFolder());
  try {
    program(argc, argv);
  } catch (const RuntimeError& error) {
    Notify(error.what());
    return 1;
  }
  return 0;
}
