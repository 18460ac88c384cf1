// The host's console. Its window arrives with the host console work; until then
// the program only says so.
#include <cstdio>

int main()
{
    std::puts("console: the host window is not built yet; the message layer is.");
    return 0;
}
