// The device checks' helpers in the simulated process: the USB walk's queries and release order,
// the interface names, the value field that the pointing-device check reads, and the backdoor
// probe's answers.

#include "support/ScopedMachine.h"
#include "platform/MachineKind.h"
#include "checks/device/PointingDevices.h"
#include "checks/device/UsbDeviceList.h"
#include "checks/device/WhitelistUSBDeviceTest.h"
#include "winapi/Com.h"
#include "winapi/PortIo.h"
#include "winapi/Wmi.h"
#include "winapi/simulated/wmi/WmiJournal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using winapi::Variant;

// One stick, named with the backslashes doubled as Windows writes the path.
const std::string UsbMachine = R"({"wmi": {
    "Win32_USBControllerDevice": [{"Dependent": "\\\\PC\\root\\cimv2:Win32_PnPEntity.DeviceID=\"USB\\\\VID_1&PID_2\\\\5&1\""}],
    "Win32_PnPEntity": [{"DeviceID": "USB\\VID_1&PID_2\\5&1", "Description": "USB Mass Storage Device"}]
}})";

class DeviceQueriesTest : public ::testing::Test {
protected:
    void TearDown() override { winapi::CoUninitialize(); }

    ScopedMachine machine_{"{}"};

    void Install(const std::string& profile)
    {
        machine_.Install(profile);
        ASSERT_TRUE(winapi::SUCCEEDED(winapi::CoInitializeEx(winapi::COINIT_APARTMENTTHREADED)));
        (void)winapi::sim::TakeWmiJournal();
    }

    WhitelistUSBDeviceTest check{{}};
};

const std::vector<std::wstring> OpenAssociations{L"CoInitializeSecurity -1 0 3 0",
                                                 L"CoCreateInstance(WbemLocator)",
                                                 L"ConnectServer ROOT\\CIMV2",
                                                 L"CoSetProxyBlanket 10 0 3 3 0",
                                                 L"ExecQuery WQL 48 SELECT * from Win32_USBControllerDevice",
                                                 L"Next -1",
                                                 L"Get Dependent"};
const std::wstring DeviceQuery =
    L"ExecQuery WQL 48 SELECT * from Win32_PnPEntity where DeviceId = 'USB\\\\VID_1&PID_2\\\\5&1'";
const std::vector<std::wstring> CloseAssociations{L"Release IEnumWbemClassObject", L"Release IWbemServices",
                                                  L"Release IWbemLocator"};

TEST_F(DeviceQueriesTest, UsbWalkQueriesEachDeviceWithItsDoubledBackslashesAndReleasesInOrder)
{
    Install(UsbMachine);
    bool found = false;
    EXPECT_EQ(HasListedUsbDevice(check, {L"Storage"}, found, UsbSearchApartment::RunMode), winapi::WBEM_S_FALSE);
    EXPECT_TRUE(found);
    EXPECT_EQ(check.PopMoreInfo(), L"Description: USB Mass Storage Device\n");
    EXPECT_FALSE(check.HasMoreInfo());
    std::vector<std::wstring> expected = OpenAssociations;
    expected.insert(expected.end(), {DeviceQuery, L"Next -1", L"Get Description",
                                     // The device and its query, then the association before the next one is asked for.
                                     L"Release IWbemClassObject", L"Release IEnumWbemClassObject",
                                     L"Release IWbemClassObject", L"Next -1"});
    expected.insert(expected.end(), CloseAssociations.begin(), CloseAssociations.end());
    EXPECT_EQ(winapi::sim::TakeWmiJournal(), expected);
}

TEST_F(DeviceQueriesTest, FailedDeviceQueryEndsTheWalkAndReleasesWhatIsHeld)
{
    Install(R"({"wmi": {"Win32_USBControllerDevice": [{"Dependent": "\"USB\\\\VID_1&PID_2\\\\5&1\""}],
                "Win32_PnPEntity": []},
                "faults": [{"call": "ExecQuery", "error": "0x80041003", "after": 1}]})");
    bool found = true;
    EXPECT_EQ(HasListedUsbDevice(check, {L""}, found, UsbSearchApartment::RunMode), winapi::E_FAIL);
    EXPECT_FALSE(found);
    std::vector<std::wstring> expected = OpenAssociations;
    expected.insert(expected.end(), {DeviceQuery, L"Release IWbemClassObject"});
    expected.insert(expected.end(), CloseAssociations.begin(), CloseAssociations.end());
    EXPECT_EQ(winapi::sim::TakeWmiJournal(), expected);
}

TEST(DeviceInterfaceNameTest, EveryTableValueHasItsTextAndOthersAreUnknown)
{
    const std::vector<std::pair<int, std::wstring>> table{
        {1, L"Other"},
        {3, L"Serial"},
        {4, L"PS/2"},
        {5, L"Infrared"},
        {6, L"HP-HIL"},
        {7, L"Bus mouse"},
        {8, L"ADB (Apple Desktop Bus)"},
        {160, L"Bus mouse DB-9"},
        {161, L"Bus mouse micro-DIN"},
        {162, L"USB"},
        {0, L"Unknown"},
        {2, L"Unknown"},
        {9, L"Unknown"},
        {159, L"Unknown"},
        {163, L"Unknown"},
        {-1, L"Unknown"},
    };
    for (const auto& [value, name] : table) {
        EXPECT_EQ(DeviceInterfaceName(value), name) << value;
    }
}

TEST(VariantValueFieldTest, ReadsTheFirst32BitsWhateverTheType)
{
    EXPECT_EQ(Variant().ValueField32(), 0u);
    EXPECT_EQ(Variant::Null().ValueField32(), 0u);
    EXPECT_EQ(Variant::Int32(162).ValueField32(), 162u);
    EXPECT_EQ(Variant::Int32(-2).ValueField32(), 0xFFFFFFFEu);
    // The narrower members fill only the low bytes of a zeroed field.
    EXPECT_EQ(Variant::Int16(-1).ValueField32(), 0xFFFFu);
    EXPECT_EQ(Variant::UInt8(4).ValueField32(), 4u);
    EXPECT_EQ(Variant::Bool(true).ValueField32(), 0xFFFFu);
    EXPECT_EQ(Variant::Bool(false).ValueField32(), 0u);
    // A pointer: never 0 and never one of the interface numbers.
    EXPECT_GE(Variant::String(L"4").ValueField32(), 0x10000u);
    EXPECT_GE(Variant::IntegerArray(winapi::VT_I4, {4}).ValueField32(), 0x10000u);
}

TEST(BackdoorProbeTest, AnswersOnlyOnVmwareWithItsPortAndMagic)
{
    ScopedMachine machine(R"({"vmware": true})");
    EXPECT_TRUE(IsVmwareVirtualMachine());
    winapi::PortIoRegisters wrongPort{0x564D5868, 0, 10, 0x5659};
    EXPECT_EQ(winapi::ExecuteInDword(wrongPort), winapi::EXCEPTION_PRIV_INSTRUCTION);
    // Registers are left as they were when the instruction faults.
    EXPECT_EQ(wrongPort.ebx, 0u);
    EXPECT_EQ(wrongPort.edx, 0x5659u);

    machine.Install(R"({})");
    EXPECT_FALSE(IsVmwareVirtualMachine());
    machine.Install(R"({"vmware": true, "faults": [{"call": "ExecuteInDword", "error": "0xC0000005"}]})");
    winapi::PortIoRegisters backdoor{0x564D5868, 0, 10, 0x5658};
    EXPECT_EQ(winapi::ExecuteInDword(backdoor), 0xC0000005u);
    EXPECT_FALSE(IsVmwareVirtualMachine());
    // Where Windows has no vectored exception handling (Windows 2000) the instruction is not
    // executed: the machine is taken for a physical one.
    machine.Install(R"({"vmware": true, "faults": [{"call": "ExecuteInDword", "error": "0xC0000139"}]})");
    EXPECT_FALSE(IsVmwareVirtualMachine());
}

}  // namespace
