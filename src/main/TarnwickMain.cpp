#include "main/TarnwickMain.h"

#include "main/RunMode.h"
#include "main/UpdateMode.h"
#include "winapi/Win32.h"

#include <algorithm>

namespace {

const std::wstring UpdateOption = L"-update";

}  // namespace

int TarnwickMain()
{
    const std::vector<std::wstring> arguments = winapi::CommandLineToArgvW(winapi::GetCommandLineW());
    if (std::ranges::find(arguments, UpdateOption) != arguments.end()) {
        return RunUpdateMode(arguments);
    }
    return RunModeMain(arguments);
}
