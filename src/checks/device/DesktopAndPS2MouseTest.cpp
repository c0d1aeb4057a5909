#include "checks/device/DesktopAndPS2MouseTest.h"

#include "checks/device/PointingDevices.h"

bool DesktopAndPS2MouseTest::Run()
{
    if (!SetPassed(HasPs2PointingDevice(*this))) {
        AddSolution(L"");
    }
    return GetPassed();
}
