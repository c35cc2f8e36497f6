// Carrier of the test programs' shared precompiled header; it runs no test.
int main() { return 0; }
