// Entry of the corvane simulator.
int main() { return 0; }
