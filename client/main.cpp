// The client program: runs the client and reports a fatal error in a message box.
#include "client/client_main.h"
#include "platform/system.h"

int main(int argc, char** argv) {
  try {
    ClientMain(argc, argv);
  } catch (const RuntimeError& error) {
    Notify(error.what());
    return 1;
  }
}
