// The entry point of TarnwickCapture.exe (linked with -municode). Like Tarnwick.exe, the program
// reads and splits the process command line itself.

#include "capture/CaptureMain.h"

int wmain(int /*argc*/, wchar_t** /*argv*/)
{
    return TarnwickCaptureMain();
}
