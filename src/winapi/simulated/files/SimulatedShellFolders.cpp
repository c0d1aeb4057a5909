// The shell's special folders of the simulated machine: the one the program asks for, Program
// Files, as the profile gives it.

#include "winapi/Storage.h"

#include "winapi/simulated/SimulatedMachine.h"

#include <algorithm>
#include <optional>
#include <string>

namespace winapi {

HRESULT SHGetFolderPathW(int folder, DWORD /*flags*/, std::span<wchar_t> path)
{
    sim::Machine& machine = sim::CurrentMachine();
    if (const auto error = machine.TakeFault(L"SHGetFolderPathW")) {
        return static_cast<HRESULT>(*error);
    }
    if (folder != CSIDL_PROGRAM_FILES || path.size() < MAX_PATH) {
        return E_INVALIDARG;
    }
    const std::optional<std::wstring>& programFiles = machine.programFilesFolder;
    if (!programFiles || programFiles->size() >= MAX_PATH) {
        return E_FAIL;
    }
    std::ranges::copy(*programFiles, path.begin());
    path[programFiles->size()] = L'\0';
    return S_OK;
}

}  // namespace winapi
