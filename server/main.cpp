// The dedicated server program.
int main() { return 0; }
