// WMI through WmiQuery against simulated machines: the calling and release order, the rule for
// a second process-wide security call, what a class without instances, an unknown class or
// property and a NULL value give, the failures a profile injects, and the WQL the checks send.

#include "support/ScopedMachine.h"
#include "platform/WmiQuery.h"
#include "winapi/Com.h"
#include "winapi/simulated/profile/MachineProfile.h"
#include "winapi/simulated/wmi/WmiJournal.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using winapi::HRESULT;
using winapi::Variant;

const std::string Machine = R"({"wmi": {
    "Win32_Processor": [{"Name": "  Intel(R) Pentium(R) 4 CPU 3.00GHz"}, {"Name": "second"}],
    "Win32_BaseBoard": [{"Manufacturer": null, "Product": "P5GD1", "Version": {"bstr": null}, "Tag": ""}, {"SerialNumber": "only here"}],
    "Win32_Battery": [],
    "Win32_DiskDrive": [{"Size": {"uint64": 8589934592}, "Index": 4294967295, "Signature": -2,
                         "Capabilities": [3, 4], "Availability": {"uint8": 3}, "Offset": {"sint64": -5},
                         "Removable": false, "Bytes": {"uint8[]": [0, 255]}, "Level": {"sint16": -7}}],
    "Win32_PnPEntity": [{"DeviceID": "USB\\VID_1&PID_2\\5&1", "Description": "USB Mass Storage Device"},
                        {"DeviceID": "HID\\X", "Description": "HID Keyboard Device"}]
}})";

class WmiQueryTest : public ::testing::Test {
protected:
    void SetUp() override { Install(Machine); }
    void TearDown() override { winapi::CoUninitialize(); }

    ScopedMachine machine_{"{}"};

    void Install(const std::string& profile)
    {
        machine_.Install(profile);
        ASSERT_TRUE(winapi::SUCCEEDED(winapi::CoInitializeEx(winapi::COINIT_APARTMENTTHREADED)));
        (void)winapi::sim::TakeWmiJournal();
    }

    // The DeviceID values an ExecQuery returns, in order, or the query's failure.
    HRESULT DeviceIds(const std::wstring& language, const std::wstring& query, std::vector<std::wstring>& ids)
    {
        WmiQueryObjects objects;
        HRESULT hr = OpenWqlQuery(L"SELECT * from Win32_PnPEntity", objects);
        if (winapi::FAILED(hr)) {
            return hr;
        }
        std::unique_ptr<winapi::EnumWbemClassObject> enumerator;
        hr = objects.services->ExecQuery(language, query, 0x30, enumerator);
        if (winapi::FAILED(hr)) {
            return hr;
        }
        for (;;) {
            std::unique_ptr<winapi::WbemClassObject> object;
            winapi::ULONG returned = 0;
            if (enumerator->Next(winapi::WBEM_INFINITE, object, returned) != winapi::S_OK || returned == 0) {
                return winapi::S_OK;
            }
            Variant id;
            EXPECT_EQ(object->Get(L"DeviceID", 0, id), winapi::S_OK);
            ids.push_back(WmiText(id));
        }
    }
};

TEST_F(WmiQueryTest, PropertyOfTheFirstInstanceInTheWmiCallingAndReleaseOrder)
{
    Variant name;
    EXPECT_EQ(GetWmiProperty(L"Win32_Processor", L"Name", name), winapi::S_OK);
    EXPECT_EQ(WmiText(name), L"  Intel(R) Pentium(R) 4 CPU 3.00GHz");
    // With the settings of each call: security with the services COM chooses (-1), the default
    // level and impersonation; a blanket of NTLM, no authorisation, call level and impersonation;
    // a forward-only query that returns at once (0x30); an unbounded wait for each object.
    const std::vector<std::wstring> expected{L"CoInitializeSecurity -1 0 3 0",
                                             L"CoCreateInstance(WbemLocator)",
                                             L"ConnectServer ROOT\\CIMV2",
                                             L"CoSetProxyBlanket 10 0 3 3 0",
                                             L"ExecQuery WQL 48 SELECT * from Win32_Processor",
                                             L"Next -1",
                                             L"Get Name",
                                             L"Release IWbemClassObject",
                                             L"Release IEnumWbemClassObject",
                                             L"Release IWbemServices",
                                             L"Release IWbemLocator"};
    EXPECT_EQ(winapi::sim::TakeWmiJournal(), expected);
}

TEST_F(WmiQueryTest, SecurityIsSetOncePerProcessAndLaterQueriesStillWork)
{
    EXPECT_EQ(winapi::CoInitializeSecurity(-1, 0, 3, 0), winapi::S_OK);
    EXPECT_EQ(winapi::CoInitializeSecurity(-1, 0, 3, 0), winapi::RPC_E_TOO_LATE);
    EXPECT_EQ(InitializeComSecurity(), winapi::S_OK);
    Variant product;
    EXPECT_EQ(GetWmiProperty(L"Win32_BaseBoard", L"Product", product), winapi::S_OK);
    EXPECT_EQ(WmiText(product), L"P5GD1");
}

TEST_F(WmiQueryTest, ClassWithoutInstanceLeavesTheValueAsItWas)
{
    Variant value = Variant::Int32(7);
    EXPECT_EQ(GetWmiProperty(L"Win32_Battery", L"Name", value), winapi::S_OK);
    EXPECT_EQ(value, Variant::Int32(7));
}

TEST_F(WmiQueryTest, UnknownClassOrPropertyFailsAsWmiDoes)
{
    Variant value;
    EXPECT_EQ(GetWmiProperty(L"Win32_Nothing", L"Name", value), winapi::E_FAIL);
    EXPECT_EQ(GetWmiProperty(L"Win32_Processor", L"Colour", value), winapi::E_FAIL);
    EXPECT_EQ(value, Variant());

    WmiQueryObjects objects;
    EXPECT_EQ(OpenWqlQuery(L"SELECT * from Win32_Nothing", objects), winapi::WBEM_E_INVALID_CLASS);
    ASSERT_EQ(OpenWqlQuery(L"SELECT * from Win32_Processor", objects), winapi::S_OK);
    std::unique_ptr<winapi::WbemClassObject> object;
    winapi::ULONG returned = 0;
    ASSERT_EQ(objects.enumerator->Next(winapi::WBEM_INFINITE, object, returned), winapi::S_OK);
    EXPECT_EQ(object->Get(L"Colour", 0, value), winapi::WBEM_E_NOT_FOUND);
    EXPECT_EQ(object->Get(L"__CLASS", 0, value), winapi::S_OK);
    EXPECT_EQ(value, Variant::String(L"Win32_Processor"));
}

TEST_F(WmiQueryTest, NullAndMissingPropertiesReadAsNullAndGiveNoText)
{
    Variant manufacturer;
    EXPECT_EQ(GetWmiProperty(L"Win32_BaseBoard", L"Manufacturer", manufacturer), winapi::S_OK);
    EXPECT_EQ(manufacturer.Type(), winapi::VT_NULL);
    EXPECT_EQ(WmiText(manufacturer), L"");
    // Named only by the second instance: the first holds NULL for it.
    Variant serial;
    EXPECT_EQ(GetWmiProperty(L"Win32_BaseBoard", L"SerialNumber", serial), winapi::S_OK);
    EXPECT_EQ(serial.Type(), winapi::VT_NULL);

    // A string without its pointer is no value either, while an empty string is a value.
    Variant version;
    EXPECT_EQ(GetWmiProperty(L"Win32_BaseBoard", L"Version", version), winapi::S_OK);
    EXPECT_EQ(version.Type(), winapi::VT_BSTR);
    std::wstring text = L"untouched";
    EXPECT_EQ(version.GetString(text), winapi::E_POINTER);
    EXPECT_EQ(text, L"untouched");
    Variant tag;
    EXPECT_EQ(GetWmiProperty(L"Win32_BaseBoard", L"Tag", tag), winapi::S_OK);
    EXPECT_EQ(tag.GetString(text), winapi::S_OK);
    EXPECT_EQ(text, L"");
}

TEST_F(WmiQueryTest, ValuesHaveTheTypesWmiDeliversAndOneExtractorEach)
{
    const auto read = [](const wchar_t* property) {
        Variant value;
        EXPECT_EQ(GetWmiProperty(L"Win32_DiskDrive", property, value), winapi::S_OK) << property;
        return value;
    };
    std::wstring text;
    EXPECT_EQ(read(L"Size").GetString(text), winapi::S_OK);
    EXPECT_EQ(text, L"8589934592");
    EXPECT_EQ(read(L"Offset"), Variant::String(L"-5"));
    std::int32_t number = 99;
    EXPECT_EQ(read(L"Size").GetInt32(number), winapi::DISP_E_TYPEMISMATCH);
    EXPECT_EQ(number, 99);
    EXPECT_EQ(read(L"Index").GetInt32(number), winapi::S_OK);
    EXPECT_EQ(number, -1);
    EXPECT_EQ(read(L"Signature"), Variant::Int32(-2));
    EXPECT_EQ(read(L"Availability"), Variant::UInt8(3));
    EXPECT_EQ(read(L"Level"), Variant::Int16(-7));
    bool flag = true;
    EXPECT_EQ(read(L"Removable").GetBool(flag), winapi::S_OK);
    EXPECT_FALSE(flag);
    std::vector<std::int32_t> elements;
    EXPECT_EQ(read(L"Capabilities").GetIntegerArray(elements), winapi::S_OK);
    EXPECT_EQ(elements, (std::vector<std::int32_t>{3, 4}));
    EXPECT_EQ(read(L"Bytes"), Variant::IntegerArray(winapi::VT_UI1, {0, 255}));
    EXPECT_EQ(read(L"Signature").GetIntegerArray(elements), winapi::DISP_E_TYPEMISMATCH);
}

TEST_F(WmiQueryTest, InjectedFailuresBecomeEFailAndReleaseWhatWasHeld)
{
    const std::vector<std::pair<std::string, std::vector<std::wstring>>> cases{
        {"CoInitializeSecurity", {L"CoInitializeSecurity -1 0 3 0"}},
        {"CoCreateInstance(WbemLocator)", {L"CoInitializeSecurity -1 0 3 0", L"CoCreateInstance(WbemLocator)"}},
        {"ConnectServer",
         {L"CoInitializeSecurity -1 0 3 0", L"CoCreateInstance(WbemLocator)", L"ConnectServer ROOT\\CIMV2",
          L"Release IWbemLocator"}},
        {"CoSetProxyBlanket",
         {L"CoInitializeSecurity -1 0 3 0", L"CoCreateInstance(WbemLocator)", L"ConnectServer ROOT\\CIMV2",
          L"CoSetProxyBlanket 10 0 3 3 0", L"Release IWbemServices", L"Release IWbemLocator"}},
        {"ExecQuery",
         {L"CoInitializeSecurity -1 0 3 0", L"CoCreateInstance(WbemLocator)", L"ConnectServer ROOT\\CIMV2",
          L"CoSetProxyBlanket 10 0 3 3 0", L"ExecQuery WQL 48 SELECT * from Win32_Processor", L"Release IWbemServices",
          L"Release IWbemLocator"}},
        {"Next",
         {L"CoInitializeSecurity -1 0 3 0", L"CoCreateInstance(WbemLocator)", L"ConnectServer ROOT\\CIMV2",
          L"CoSetProxyBlanket 10 0 3 3 0", L"ExecQuery WQL 48 SELECT * from Win32_Processor", L"Next -1",
          L"Release IEnumWbemClassObject", L"Release IWbemServices", L"Release IWbemLocator"}},
        {"Get",
         {L"CoInitializeSecurity -1 0 3 0", L"CoCreateInstance(WbemLocator)", L"ConnectServer ROOT\\CIMV2",
          L"CoSetProxyBlanket 10 0 3 3 0", L"ExecQuery WQL 48 SELECT * from Win32_Processor", L"Next -1", L"Get Name",
          L"Release IWbemClassObject", L"Release IEnumWbemClassObject", L"Release IWbemServices",
          L"Release IWbemLocator"}},
    };
    for (const auto& [call, journal] : cases) {
        winapi::CoUninitialize();
        Install(R"({"wmi": {"Win32_Processor": [{"Name": "P"}]}, "faults": [{"call": ")" + call +
                R"(", "error": "0x80041003"}]})");
        Variant name = Variant::Int32(1);
        EXPECT_EQ(GetWmiProperty(L"Win32_Processor", L"Name", name), winapi::E_FAIL) << call;
        EXPECT_EQ(name, Variant::Int32(1)) << call;
        EXPECT_EQ(winapi::sim::TakeWmiJournal(), journal) << call;
    }
}

TEST_F(WmiQueryTest, NextFailsAfterTheObjectsTheProfileAllows)
{
    winapi::CoUninitialize();
    Install(R"({"wmi": {"Win32_Service": [{"Name": "A"}, {"Name": "B"}, {"Name": "C"}]},
                "faults": [{"call": "Next", "error": "0x80041006", "after": 2}]})");
    WmiQueryObjects objects;
    ASSERT_EQ(OpenWqlQuery(L"SELECT * FROM Win32_Service", objects), winapi::S_OK);
    std::vector<HRESULT> results;
    for (int i = 0; i < 3; ++i) {
        std::unique_ptr<winapi::WbemClassObject> object;
        winapi::ULONG returned = 7;
        results.push_back(objects.enumerator->Next(winapi::WBEM_INFINITE, object, returned));
        EXPECT_EQ(returned, i < 2 ? 1u : 7u);
    }
    EXPECT_EQ(results, (std::vector<HRESULT>{winapi::S_OK, winapi::S_OK, static_cast<HRESULT>(0x80041006u)}));
}

// The failing calls of one device's query (its DeviceID, letter case ignored) fail there alone:
// the class's query and the other devices' queries answer.
TEST_F(WmiQueryTest, DeviceQueryFaultsBelongToThatDeviceAlone)
{
    winapi::CoUninitialize();
    Install(R"({"wmi": {"Win32_PnPEntity": {
        "instances": [{"DeviceID": "USB\\VID_1&PID_2\\5&1"}, {"DeviceID": "HID\\X"}, {"DeviceID": "HID\\Y"}],
        "deviceQueries": {"usb\\vid_1&pid_2\\5&1": {"faults": {"ExecQuery": "0x80041006"}},
                          "HID\\X": {"faults": {"Next": "0x80041010"}}}}}})");
    std::vector<std::wstring> ids;
    EXPECT_EQ(DeviceIds(L"WQL", L"SELECT * from Win32_PnPEntity where DeviceID = 'USB\\\\VID_1&PID_2\\\\5&1'", ids),
              static_cast<HRESULT>(0x80041006u));
    EXPECT_EQ(DeviceIds(L"WQL", L"SELECT * from Win32_PnPEntity where DeviceID = 'HID\\\\Y'", ids), winapi::S_OK);
    EXPECT_EQ(DeviceIds(L"WQL", L"SELECT * from Win32_PnPEntity", ids), winapi::S_OK);
    EXPECT_EQ(ids, (std::vector<std::wstring>{L"HID\\Y", L"USB\\VID_1&PID_2\\5&1", L"HID\\X", L"HID\\Y"}));

    WmiQueryObjects objects;
    ASSERT_EQ(OpenWqlQuery(L"SELECT * from Win32_PnPEntity where DeviceId = 'hid\\\\x'", objects), winapi::S_OK);
    std::vector<HRESULT> results;
    for (int i = 0; i < 2; ++i) {
        std::unique_ptr<winapi::WbemClassObject> object;
        winapi::ULONG returned = 0;
        results.push_back(objects.enumerator->Next(winapi::WBEM_INFINITE, object, returned));
    }
    EXPECT_EQ(results, (std::vector<HRESULT>{winapi::S_OK, static_cast<HRESULT>(0x80041010u)}));
}

TEST_F(WmiQueryTest, EnumeratorEndsWithWbemSFalse)
{
    std::vector<std::wstring> ids;
    ASSERT_EQ(DeviceIds(L"WQL", L"SELECT * from Win32_PnPEntity", ids), winapi::S_OK);
    EXPECT_EQ(ids, (std::vector<std::wstring>{L"USB\\VID_1&PID_2\\5&1", L"HID\\X"}));
    WmiQueryObjects objects;
    ASSERT_EQ(OpenWqlQuery(L"SELECT * from Win32_Battery", objects), winapi::S_OK);
    std::unique_ptr<winapi::WbemClassObject> object;
    winapi::ULONG returned = 1;
    EXPECT_EQ(objects.enumerator->Next(winapi::WBEM_INFINITE, object, returned), winapi::WBEM_S_FALSE);
    EXPECT_EQ(returned, 0u);
    EXPECT_FALSE(object);
}

TEST_F(WmiQueryTest, WqlKeywordsInAnyCaseAndTheDeviceWhereClause)
{
    const std::vector<std::pair<std::wstring, std::vector<std::wstring>>> matching{
        {L"select * FROM win32_pnpentity", {L"USB\\VID_1&PID_2\\5&1", L"HID\\X"}},
        {L"  SELECT  *  from  Win32_PnPEntity  ", {L"USB\\VID_1&PID_2\\5&1", L"HID\\X"}},
        // The form the USB lists build from a Dependent path: backslashes doubled, as WQL escapes them.
        {L"SELECT * from Win32_PnPEntity where DeviceId = 'USB\\\\VID_1&PID_2\\\\5&1'", {L"USB\\VID_1&PID_2\\5&1"}},
        {L"SELECT * from Win32_PnPEntity WHERE DeviceID='usb\\\\vid_1&pid_2\\\\5&1'", {L"USB\\VID_1&PID_2\\5&1"}},
        {L"SELECT * from Win32_PnPEntity where DeviceId = \"HID\\\\X\"", {L"HID\\X"}},
        {L"SELECT * from Win32_PnPEntity where DeviceId = 'nothing'", {}},
    };
    for (const auto& [query, expected] : matching) {
        std::vector<std::wstring> ids;
        EXPECT_EQ(DeviceIds(L"WQL", query, ids), winapi::S_OK);
        EXPECT_EQ(ids, expected);
    }
    const std::vector<std::pair<std::wstring, HRESULT>> refused{
        {L"SELECT Name from Win32_PnPEntity", winapi::WBEM_E_INVALID_QUERY},
        {L"SELECT * Win32_PnPEntity", winapi::WBEM_E_INVALID_QUERY},
        {L"SELECT * fromWin32_PnPEntity", winapi::WBEM_E_INVALID_QUERY},
        {L"SELECT * from Win32_PnPEntity where DeviceId = 'open", winapi::WBEM_E_INVALID_QUERY},
        {L"SELECT * from Win32_PnPEntity where Colour = 'red'", winapi::WBEM_E_INVALID_QUERY},
        {L"SELECT * from Win32_PnPEntity extra", winapi::WBEM_E_INVALID_QUERY},
        {L"SELECT * from Win32_Nothing where DeviceId = 'x'", winapi::WBEM_E_INVALID_CLASS},
    };
    for (const auto& [query, error] : refused) {
        std::vector<std::wstring> ids;
        EXPECT_EQ(DeviceIds(L"WQL", query, ids), error);
    }
    std::vector<std::wstring> ids;
    EXPECT_EQ(DeviceIds(L"SQL", L"SELECT * from Win32_PnPEntity", ids), winapi::WBEM_E_INVALID_QUERY_TYPE);
}

TEST(WmiProfileTest, BadWmiSectionsNameTheField)
{
    const auto problem = [](const std::string& profile) {
        winapi::sim::Machine machine;
        return winapi::sim::LoadMachineProfile(profile, machine);
    };
    const std::string forms =
        "expected a string, null, true or false, a whole number from -2147483648 to 4294967295, an array of such "
        "numbers, or an object with one of \"uint64\", \"sint64\", \"uint8\", \"sint16\", \"uint8[]\", \"bstr\", "
        "\"fault\"";
    EXPECT_EQ(problem(R"({"wmi": []})"), "field \"wmi\": expected an object");
    EXPECT_EQ(problem(R"({"wmi": {"Win32_BIOS": 5}})"), "field \"wmi.Win32_BIOS\": expected an array of instances");
    // A class whose queries fail: an object of its instances and its failing calls.
    EXPECT_EQ(problem(R"({"wmi": {"Win32_BIOS": {"faults": {"ExecQuery": 1}}}})"), "");
    EXPECT_EQ(problem(R"({"wmi": {"Win32_BIOS": {"instances": {}}}})"),
              "field \"wmi.Win32_BIOS.instances\": expected an array of instances");
    EXPECT_EQ(problem(R"({"wmi": {"Win32_BIOS": {"instances": [], "colour": 1}}})"),
              "field \"wmi.Win32_BIOS.colour\": unknown field");
    EXPECT_EQ(
        problem(R"({"wmi": {"Win32_BIOS": {"faults": {"Get": 1}}}})"),
        "field \"wmi.Win32_BIOS.faults.Get\": no call of this object is named so; expected one of ExecQuery, Next");
    EXPECT_EQ(problem(R"({"wmi": {"Win32_BIOS": {"instances": [{"Size": {"fault": "no"}}]}}})")
                  .rfind("field \"wmi.Win32_BIOS.instances[0].Size.fault\": ", 0),
              0u);
    EXPECT_EQ(problem(R"({"wmi": {"Win32_BIOS": ["x"]}})"),
              "field \"wmi.Win32_BIOS[0]\": expected an object of property values");
    EXPECT_EQ(problem(R"({"wmi": {"Win32_BIOS": [{}, {"Size": 4294967296}]}})"),
              "field \"wmi.Win32_BIOS[1].Size\": " + forms);
    EXPECT_EQ(problem(R"({"wmi": {"Win32_BIOS": [{"Size": {"uint64": -1}}]}})"),
              "field \"wmi.Win32_BIOS[0].Size\": " + forms);
    EXPECT_EQ(problem(R"({"wmi": {"Win32_BIOS": [{"Names": ["a"]}]}})"), "field \"wmi.Win32_BIOS[0].Names\": " + forms);
    EXPECT_EQ(problem(R"({"wmi": {"Win32_BIOS": [{"B": {"uint8": 256}}]}})"),
              "field \"wmi.Win32_BIOS[0].B\": " + forms);
    EXPECT_EQ(problem(R"({"wmi": {"Win32_BIOS": [{"B": {"uint8": 1, "sint16": 1}}]}})"),
              "field \"wmi.Win32_BIOS[0].B\": " + forms);
    EXPECT_EQ(problem(R"({"faults": [{"call": "next", "error": 1}]})"), "");
}

}  // namespace
