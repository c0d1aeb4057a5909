#include "checks/identity/FetchMakeModelTest.h"

#include "platform/Console.h"
#include "platform/WmiQuery.h"

#include <string_view>

namespace {

const std::wstring ComputerSystemClass = L"Win32_ComputerSystem";
const std::wstring ManufacturerProperty = L"Manufacturer";
const std::wstring ModelProperty = L"Model";

constexpr std::string_view ComputerLine = "Computer: %wS\n";

}  // namespace

bool FetchMakeModelTest::Run()
{
    return SetPassed(winapi::SUCCEEDED(ReadMakeModel()));
}

// A value that WMI reads without error but that holds no text (no instance, NULL) counts as
// empty, as for the other identity checks.
winapi::HRESULT FetchMakeModelTest::ReadMakeModel()
{
    winapi::Variant manufacturer;
    if (winapi::FAILED(GetWmiProperty(ComputerSystemClass, ManufacturerProperty, manufacturer))) {
        return winapi::E_FAIL;
    }
    winapi::Variant model;
    const winapi::HRESULT hr = GetWmiProperty(ComputerSystemClass, ModelProperty, model);
    if (winapi::FAILED(hr)) {
        return hr;
    }
    std::wstring computer = WmiText(manufacturer) + L" " + WmiText(model);
    // Only blanks go; other trailing white space stays, as do leading and inner blanks.
    while (!computer.empty() && computer.back() == L' ') {
        computer.pop_back();
    }
    ConsolePrintf(ComputerLine, computer);
    AddMoreInfo(L"%wS", computer);
    AddSolution(L"");
    return hr;
}
