#include "checks/device/WhitelistUSBDeviceTest.h"

#include "checks/device/UsbDeviceList.h"

WhitelistUSBDeviceTest::WhitelistUSBDeviceTest(const std::vector<std::wstring>& list) : Test(list), parameters(list) {}

bool WhitelistUSBDeviceTest::Run()
{
    bool found = false;
    if (winapi::FAILED(HasListedUsbDevice(*this, parameters, found, UsbSearchApartment::RunMode))) {
        return SetPassed(true);
    }
    if (!SetPassed(found)) {
        AddSolution(L"");
    }
    return GetPassed();
}
