// The entry point of Tarnwick.exe (linked with -municode). The arguments are unused: the program
// reads and splits the process command line itself, as its own mode choice requires.

#include "main/TarnwickMain.h"

int wmain(int /*argc*/, wchar_t** /*argv*/)
{
    return TarnwickMain();
}
