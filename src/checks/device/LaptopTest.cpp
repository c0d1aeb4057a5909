#include "checks/device/LaptopTest.h"

#include "platform/MachineKind.h"

#include <string_view>

namespace {

constexpr std::string_view ComFailureLine = "LAPTOPTEST COINITIALIZE FAILED\n";

}  // namespace

bool LaptopTest::Run()
{
    // The backdoor is probed only when there is no battery.
    if (!SetPassed(HasBattery(ComFailureLine) || IsVmwareVirtualMachine())) {
        AddSolution(L"");
    }
    return GetPassed();
}
