// Runs lumivex on the simulated machine.
#include <cstdio>

int main() {
    std::puts("lumivex: nothing to run yet");
    return 0;
}
