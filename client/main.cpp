// The client program.
int main() { return 0; }
