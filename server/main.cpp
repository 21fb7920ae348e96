// The dedicated server program: runs the server and reports a fatal error in a message box.
#include "platform/system.h"
#include "server/server_main.h"

int main(int argc, char** argv) {
  try {
    ServerMain(argc, argv);
  } catch (const RuntimeError& error) {
    Notify(error.what());
    return 1;
  }
}
