#include "checks/identity/HardwareIdentityMatch.h"

#include "platform/Console.h"
#include "platform/WmiQuery.h"

#include <algorithm>
#include <string_view>

namespace {

const std::wstring BaseBoardClass = L"Win32_BaseBoard";
const std::wstring ManufacturerProperty = L"Manufacturer";
const std::wstring ProductProperty = L"Product";
const std::wstring ProcessorClass = L"Win32_Processor";
const std::wstring NameProperty = L"Name";

constexpr std::string_view ManufacturerLine = "MOTHERBOARD MANUFACTURER: %wS\n";
constexpr std::string_view ProductLine = "MOTHERBOARD PRODUCT: %wS\n";
constexpr std::string_view BoardLine = "MOTHERBOARD: %wS\n";

bool Listed(const std::vector<std::wstring>& parameters, const std::wstring& identity)
{
    return std::ranges::find(parameters, identity) != parameters.end();
}

}  // namespace

// A property that WMI reads without error but that holds no text (a class without an instance,
// a NULL value) counts as the empty string: it is printed, recorded and compared as such.
winapi::HRESULT MatchMotherboard(Test& test, const std::vector<std::wstring>& parameters, bool& found)
{
    found = false;
    winapi::Variant manufacturer;
    if (winapi::FAILED(GetWmiProperty(BaseBoardClass, ManufacturerProperty, manufacturer))) {
        return winapi::E_FAIL;
    }
    const std::wstring manufacturerText = WmiText(manufacturer);
    ConsolePrintf(ManufacturerLine, manufacturerText);
    winapi::Variant product;
    const winapi::HRESULT hr = GetWmiProperty(BaseBoardClass, ProductProperty, product);
    if (winapi::FAILED(hr)) {
        return hr;
    }
    const std::wstring productText = WmiText(product);
    ConsolePrintf(ProductLine, productText);
    const std::wstring board = manufacturerText + L" " + productText;
    ConsolePrintf(BoardLine, board);
    test.AddMoreInfo(L"%wS", board);
    found = Listed(parameters, board);
    return hr;
}

winapi::HRESULT MatchProcessor(Test& test, const std::vector<std::wstring>& parameters, bool& found)
{
    found = false;
    winapi::Variant name;
    const winapi::HRESULT hr = GetWmiProperty(ProcessorClass, NameProperty, name);
    if (winapi::FAILED(hr)) {
        return hr;
    }
    const std::wstring nameText = WmiText(name);
    test.AddMoreInfo(L"%wS", nameText);
    found = Listed(parameters, nameText);
    return hr;
}
