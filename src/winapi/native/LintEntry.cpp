// The entry point of TarnwickLint.exe (linked with -municode). Like Tarnwick.exe, the linter
// reads and splits the process command line itself.

#include "lint/LintMain.h"

int wmain(int /*argc*/, wchar_t** /*argv*/)
{
    return TarnwickLintMain();
}
