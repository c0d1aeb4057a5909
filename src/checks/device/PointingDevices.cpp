#include "checks/device/PointingDevices.h"

#include <array>
#include <string_view>
#include <utility>

namespace {

constexpr std::array<std::pair<int, std::wstring_view>, 10> InterfaceNames{{
    {1, L"Other"},
    {3, L"Serial"},
    {Ps2Interface, L"PS/2"},
    {5, L"Infrared"},
    {6, L"HP-HIL"},
    {7, L"Bus mouse"},
    {8, L"ADB (Apple Desktop Bus)"},
    {160, L"Bus mouse DB-9"},
    {161, L"Bus mouse micro-DIN"},
    {162, L"USB"},
}};
constexpr std::wstring_view UnknownInterface = L"Unknown";

}  // namespace

std::wstring DeviceInterfaceName(int value)
{
    for (const auto& [number, name] : InterfaceNames) {
        if (number == value) {
            return std::wstring(name);
        }
    }
    return std::wstring(UnknownInterface);
}
