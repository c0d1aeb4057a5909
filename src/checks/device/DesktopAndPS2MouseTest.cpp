#include "checks/device/DesktopAndPS2MouseTest.h"

#include "platform/ComApartment.h"
#include "platform/MachineKind.h"
#include "platform/WmiQuery.h"
#include "checks/device/PointingDevices.h"

#include <memory>
#include <string>
#include <string_view>

namespace {

const std::wstring PointingDeviceQuery = L"SELECT * from Win32_PointingDevice";
const std::wstring DeviceInterfaceProperty = L"DeviceInterface";

constexpr std::string_view ComFailureLine = "DesktopAndPS2MouseTest COINITIALIZE FAILED\n";
constexpr std::wstring_view LaptopInfo = L"Machine is a laptop";
constexpr std::wstring_view VirtualMachineInfo = L"Machine is a VM";
constexpr std::wstring_view NoValueInfo = L"Unknown data retrieved";
constexpr std::wstring_view Ps2Info = L"PS2 Mouse detected";
constexpr std::wstring_view UnsupportedInfo = L"Unsupported mouse device interface detected: %wS";

// Whether the machine has a pointing device the check accepts: a laptop or a VMware virtual
// machine counts as one; otherwise every pointing device that WMI knows is recorded, and the
// answer is whether one is PS/2. A COM or WMI failure counts as none.
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

}  // namespace

bool DesktopAndPS2MouseTest::Run()
{
    if (!SetPassed(HasPs2PointingDevice(*this))) {
        AddSolution(L"");
    }
    return GetPassed();
}
