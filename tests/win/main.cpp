#include "tests/win/harness.h"

int main(int argc, char** argv) { return qvtest::RunTestProgram(argc, argv); }
