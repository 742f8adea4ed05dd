// demo/main.cpp: the car demo's entry point.
#include "demo/Demo.h"

int main(int, char** argv)
{
    return ravel::demo::RunDemo(argv[0]);
}
