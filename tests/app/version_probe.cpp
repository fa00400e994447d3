// Does nothing: it exists to carry the program's version block in a real
// executable, linked by the toolchain as the program is.
int main() { return 0; }
