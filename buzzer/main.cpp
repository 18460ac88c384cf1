// A contestant's buzzer. Its windows arrive with the contestant client work;
// until then the program only says so.
#include <cstdio>

int main()
{
    std::puts("buzzer: the contestant window is not built yet; the message layer is.");
    return 0;
}
