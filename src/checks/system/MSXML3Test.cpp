#include "checks/system/MSXML3Test.h"

#include "winapi/Win32.h"

namespace {

const std::wstring Msxml3Library = L"msxml3.dll";

}  // namespace

bool MSXML3Test::Run()
{
    const winapi::UniqueModule module = winapi::LoadLibraryW(Msxml3Library);
    return SetPassed(module.is_valid());
}
