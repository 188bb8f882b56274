// The galvora executable.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("Galvora 2.11.02\n");
            return 0;
        }
    }
    std::printf("Galvora 2.11.02\n");
    return 0;
}
