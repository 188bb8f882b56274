// The galvora executable.
#include "app/startup.h"

int main(int argc, char** argv) { return galvora::Main(argc, argv); }
