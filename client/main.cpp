// The client program: runs the client in its own folder and reports a fatal error in a message box.
#include "client/client_main.h"
#include "platform/stream.h"
#include "platform/system.h"

int main(int argc, char** argv) {
  // The settings, the chat log, the tunes and the logon sound lie beside the program,
  // whatever folder it was started from.
  ChangeDir(ProgramFolder());
  try {
    ClientMain(argc, argv);
  } catch (const RuntimeError& error) {
    Notify(error.what());
    return 1;
  }
}
