#include "checks/device/BlacklistUSBDeviceTest.h"

#include "checks/device/UsbDeviceList.h"

BlacklistUSBDeviceTest::BlacklistUSBDeviceTest(const std::vector<std::wstring>& list) : Test(list), parameters(list) {}

bool BlacklistUSBDeviceTest::Run()
{
    bool found = false;
    if (winapi::FAILED(HasListedUsbDevice(*this, parameters, found, UsbSearchApartment::EnteredByCheck))) {
        return SetPassed(true);
    }
    if (!SetPassed(!found)) {
        AddSolution(L"");
    }
    return GetPassed();
}
