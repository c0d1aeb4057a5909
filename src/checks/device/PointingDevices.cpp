#include "checks/device/PointingDevices.h"

#include "platform/ComApartment.h"
#include "platform/WmiQuery.h"
#include "platform/MachineKind.h"

#include <array>
#include <memory>
#include <string_view>
#include <utility>

namespace {

const std::wstring PointingDeviceQuery = L"SELECT * from Win32_PointingDevice";
const std::wstring DeviceInterfaceProperty = L"DeviceInterface";

constexpr std::string_view ComFailureLine = "DesktopAndPS2MouseTest COINITIALIZE FAILED\n";
constexpr std::wstring_view LaptopInfo = L"Machine is a laptop";
constexpr std::wstring_view VirtualMachineInfo = L"Machine is a VM";
constexpr std::wstring_view NoValueInfo = L"Unknown data retrieved";
constexpr std::wstring_view Ps2Info = L"PS2 Mouse detected";
constexpr std::wstring_view UnsupportedInfo = L"Unsupported mouse device interface detected: %wS";

constexpr int Ps2Interface = 4;

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

bool HasPs2PointingDevice(Test& test)
{
    if (HasBattery(ComFailureLine)) {
        test.AddMoreInfo(LaptopInfo);
        return true;
    }
    if (IsVmwareVirtualMachine()) {
        test.AddMoreInfo(VirtualMachineInfo);
        return true;
    }
    WmiQueryObjects query;
    if (winapi::FAILED(OpenWqlQueryInOwnApartment(ComFailureLine, PointingDeviceQuery, query)) || !query.enumerator) {
        return false;
    }
    // Declared after the query objects, so it is released first.
    std::unique_ptr<winapi::WbemClassObject> device;
    winapi::HRESULT hr = winapi::S_OK;
    bool ps2 = false;
    // Every device is recorded, also after a PS/2 one was found.
    while (NextWmiObject(*query.enumerator, device, hr)) {
        winapi::Variant value;
        if (winapi::FAILED(device->Get(DeviceInterfaceProperty, 0, value))) {
            continue;
        }
        // The number is read from the value field whatever the type: NULL reads as 0.
        const int deviceInterface = static_cast<int>(value.ValueField32());
        if (deviceInterface == 0) {
            test.AddMoreInfo(NoValueInfo);
        } else if (deviceInterface == Ps2Interface) {
            test.AddMoreInfo(Ps2Info);
            ps2 = true;
        } else {
            test.AddMoreInfo(UnsupportedInfo, DeviceInterfaceName(deviceInterface));
        }
    }
    return ps2;
}
