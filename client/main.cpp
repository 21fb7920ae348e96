// The client program.
#include "client/client_main.h"
#include "net/program_start.h"

int main(int argc, char** argv) { return RunProgram(ClientMain, argc, argv); }
