// demo/main.cpp: the car demo's entry point. The demo itself is still to come.
#include <cstdio>

int main()
{
    std::puts("Ravel demo: the car demo is not built yet; nothing to open.");
    return 0;
}
