// The dedicated server program.
#include "net/program_start.h"
#include "server/server_main.h"

int main(int argc, char** argv) { return RunProgram(ServerMain, argc, argv); }
