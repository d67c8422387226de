// SPDX-License-Identifier: GPL-2.0-or-later
// Stands in for an engine: a program that runs, under whatever name it is
// copied to, until the test ends it (or a minute has passed).
#include <windows.h>

int main()
{
    Sleep(60000);
    return 0;
}
