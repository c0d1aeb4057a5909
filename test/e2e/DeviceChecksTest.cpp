// The USB device lists, the pointing-device check and the laptop check end to end, on a desktop
// whose USB associations include every kind that is passed over, and on variants of it: a
// battery, a VMware machine, other pointing devices, and COM and WMI failures.

#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <functional>

namespace {

const std::string EchoedNames =
    "BlacklistUSBDeviceTest\nBlacklistUSBDeviceTest\nBlacklistUSBDeviceTest\n"
    "WhitelistUSBDeviceTest\nWhitelistUSBDeviceTest\nWhitelistUSBDeviceTest\n"
    "WhitelistUSBDeviceTest\nDesktopAndPS2MouseTest\nLaptopTest\n";
const std::string Closing = "writing xml and deallocating tests\n";
// The stick is named by two associations; the other associations name nothing with a description.
const std::string Stick = "Description: USB Mass Storage Device\n";
const std::string Keyboard = "Description: HID Keyboard Device\n";
const std::string Devices = Stick + Keyboard + Stick;
const std::vector<std::string> DeviceLines{Stick, Keyboard, Stick};
const std::string Ps2 = "PS2 Mouse detected";
const std::string UsbMouse = "Unsupported mouse device interface detected: USB";
const std::string OtherMouse = "Unsupported mouse device interface detected: Unknown";
const std::string NoInterface = "Unknown data retrieved";
const std::vector<std::string> DesktopMice{Ps2, UsbMouse, OtherMouse, NoInterface};

std::string Result(const std::string& name, bool passed, const std::vector<std::string>& moreInfo,
                   const std::string& descriptiveName, const std::string& solution = "")
{
    std::string text = "<test><name>" + name + "</name><passed>" + (passed ? "true" : "false") + "</passed>";
    for (const std::string& line : moreInfo) {
        text += "<more_info>" + line + "</more_info>";
    }
    text += "<descriptive_name>" + descriptiveName + "</descriptive_name>";
    if (!solution.empty()) {
        text += "<descriptive_solution>" + solution + "</descriptive_solution>";
    }
    return text + "</test>";
}

// The results of the four USB white lists of the fixture document, whose verdicts do not depend
// on the black lists' COM apartment.
std::string WhiteLists(const std::vector<std::string>& lines)
{
    return Result("WhitelistUSBDeviceTest", false, lines, "Empty white list", "Nothing is on the list.") +
           Result("WhitelistUSBDeviceTest", true, lines, "Keyboard white list") +
           Result("WhitelistUSBDeviceTest", true, lines, "Empty fragment") +
           Result("WhitelistUSBDeviceTest", false, lines, "Fragment on its own line",
                  "The blanks and line breaks count.");
}

std::string Mouse(bool passed, const std::vector<std::string>& moreInfo)
{
    return Result("DesktopAndPS2MouseTest", passed, moreInfo, "PS/2 mouse", passed ? "" : "Attach a PS/2 mouse.");
}

std::string Laptop(bool passed)
{
    return Result("LaptopTest", passed, {}, "Laptop", passed ? "" : "Laptops only.");
}

const std::string MouseAndLaptopDocument =
    "<input_tests><test><name>DesktopAndPS2MouseTest</name><descriptive_name language='en'>PS/2 "
    "mouse</descriptive_name>"
    "<descriptive_solution language='en'>Attach a PS/2 mouse.</descriptive_solution></test>"
    "<test><name>LaptopTest</name><descriptive_name language='en'>Laptop</descriptive_name>"
    "<descriptive_solution language='en'>Laptops only.</descriptive_solution></test></input_tests>";

class DeviceChecksTest : public ::testing::Test {
protected:
    // The desktop fixture, changed by edit, saved in the scratch folder.
    std::filesystem::path Desktop(const std::function<void(nlohmann::json&)>& edit)
    {
        nlohmann::json machine = nlohmann::json::parse(ReadFileText(FixturePath("machines/usb-mouse-desktop.json")));
        edit(machine);
        return folder.Write("machine.json", machine.dump());
    }

    ProgramResult Run(const std::filesystem::path& machine, const std::string& document = {})
    {
        const std::string input = document.empty() ? FixturePath("documents/device-checks.xml").string()
                                                   : folder.Write("in.xml", document).string();
        return RunTarnwick({"-i", input, "-o", "results.xml", "-f"}, folder.Path(), machine);
    }

    ScratchFolder folder;
};

TEST_F(DeviceChecksTest, DescriptionsAreMatchedExactlyAndEveryPointingDeviceIsReported)
{
    const ProgramResult result = Run(FixturePath("machines/usb-mouse-desktop.json"));
    EXPECT_EQ(result.exitCode, 0);
    std::string devicesSeven;
    for (int list = 0; list < 7; ++list) {
        devicesSeven += Devices;
    }
    EXPECT_EQ(result.console, EchoedNames + devicesSeven + Closing);
    EXPECT_EQ(
        folder.Read("results.xml"),
        "<test_results>" +
            // Both passes over the stick match; the solution is added once.
            Result("BlacklistUSBDeviceTest", false, DeviceLines, "Storage black list", "Remove the USB storage.") +
            Result("BlacklistUSBDeviceTest", true, DeviceLines, "Lower-case black list") +
            Result("BlacklistUSBDeviceTest", true, DeviceLines, "Empty black list") + WhiteLists(DeviceLines) +
            // A desktop with a PS/2 mouse passes, and every other pointing device is still reported.
            Mouse(true, DesktopMice) + Laptop(false) + "</test_results>\n");
}

TEST_F(DeviceChecksTest, DeviceIdentifiersOfNoneOneAndEveryCharacterBetweenTheQuotes)
{
    const std::filesystem::path machine = Desktop([](nlohmann::json& m) {
        m["wmi"]["Win32_USBControllerDevice"] = {
            {{"Dependent", "Win32_PnPEntity.DeviceID=\"\""}},
            {{"Dependent", "Win32_PnPEntity.DeviceID=\"A\""}},
            {{"Dependent", "\"B\""}},
            {{"Dependent", "\""}},
            {{"Dependent", "Win32_PnPEntity.DeviceID=\"C\"D\""}},
        };
        m["wmi"]["Win32_PnPEntity"] = {{{"DeviceID", ""}, {"Description", "Nothing between"}},
                                       {{"DeviceID", "A"}, {"Description", "One character"}},
                                       {{"DeviceID", "B"}, {"Description", "Quotes at both ends"}},
                                       {{"DeviceID", "C\"D"}, {"Description", "A quote inside"}}};
    });
    const ProgramResult result =
        Run(machine,
            "<input_tests><test><name>WhitelistUSBDeviceTest</name>"
            "<parameter>inside</parameter><descriptive_name language='en'>Quoted</descriptive_name>"
            "</test></input_tests>");
    EXPECT_EQ(result.console,
              "WhitelistUSBDeviceTest\nDescription: Nothing between\nDescription: One character\n"
              "Description: Quotes at both ends\nDescription: A quote inside\n" +
                  Closing);
    EXPECT_EQ(folder.Read("results.xml"),
              "<test_results>" +
                  Result("WhitelistUSBDeviceTest", true,
                         {"Description: Nothing between\n", "Description: One character\n",
                          "Description: Quotes at both ends\n", "Description: A quote inside\n"},
                         "Quoted") +
                  "</test_results>\n");
}

TEST_F(DeviceChecksTest, LaptopAndVirtualMachineAreRecognisedBeforeThePointingDevices)
{
    struct Scenario {
        std::string name;
        std::function<void(nlohmann::json&)> edit;
        std::string results;
    };
    const std::vector<Scenario> scenarios{
        {"desktop with a USB mouse only",
         [](nlohmann::json& m) { m["wmi"]["Win32_PointingDevice"] = R"([{"DeviceInterface": 162}])"_json; },
         Mouse(false, {UsbMouse}) + Laptop(false)},
        {"laptop with a USB mouse",
         [](nlohmann::json& m) {
             m["wmi"]["Win32_Battery"] = R"([{"Name": "DELL 4M5290"}])"_json;
             m["wmi"]["Win32_PointingDevice"] = R"([{"DeviceInterface": 162}])"_json;
         },
         Mouse(true, {"Machine is a laptop"}) + Laptop(true)},
        {"VMware desktop", [](nlohmann::json& m) { m["vmware"] = true; },
         Mouse(true, {"Machine is a VM"}) + Laptop(true)},
        // A battery query that fails counts as no battery, and the virtual machine still counts.
        {"VMware desktop without WMI",
         [](nlohmann::json& m) {
             m["vmware"] = true;
             m["faults"] = R"([{"call": "ExecQuery", "error": "0x80041003"}])"_json;
         },
         Mouse(true, {"Machine is a VM"}) + Laptop(true)},
        // Any exception of the probe is absorbed and means a physical machine.
        {"VMware desktop whose probe faults",
         [](nlohmann::json& m) {
             m["vmware"] = true;
             m["faults"] = R"([{"call": "ExecuteInDword", "error": "0xC0000005"}])"_json;
         },
         Mouse(true, DesktopMice) + Laptop(false)},
        // The battery query succeeds, the pointing-device query fails: no PS/2 mouse.
        {"pointing devices unreadable",
         [](nlohmann::json& m) { m["faults"] = R"([{"call": "ExecQuery", "error": "0x80041003", "after": 1}])"_json; },
         Mouse(false, {}) + Laptop(false)},
        // A pointing device whose DeviceInterface cannot be read is passed over.
        {"one interface unreadable",
         [](nlohmann::json& m) { m["faults"] = R"([{"call": "Get", "error": "0x80041001", "after": 1}])"_json; },
         Mouse(true, {Ps2}) + Laptop(false)},
    };
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.name);
        const ProgramResult result = Run(Desktop(scenario.edit), MouseAndLaptopDocument);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.console, "DesktopAndPS2MouseTest\nLaptopTest\n" + Closing);
        EXPECT_EQ(folder.Read("results.xml"), "<test_results>" + scenario.results + "</test_results>\n");
    }
}

TEST_F(DeviceChecksTest, DeviceClassesKnowTheirPropertiesWithoutInstances)
{
    // No Plug and Play record at all: every device query succeeds and finds nothing, so the lists
    // decide on no description. A pointing device without an interface value holds NULL.
    const ProgramResult result = Run(Desktop([](nlohmann::json& m) {
        m["wmi"]["Win32_PnPEntity"] = nlohmann::json::array();
        m["wmi"]["Win32_PointingDevice"] = R"([{"Name": "Touchpad"}])"_json;
    }));
    EXPECT_EQ(result.console, EchoedNames + Closing);
    EXPECT_EQ(folder.Read("results.xml"),
              "<test_results>" + Result("BlacklistUSBDeviceTest", true, {}, "Storage black list") +
                  Result("BlacklistUSBDeviceTest", true, {}, "Lower-case black list") +
                  Result("BlacklistUSBDeviceTest", true, {}, "Empty black list") +
                  Result("WhitelistUSBDeviceTest", false, {}, "Empty white list", "Nothing is on the list.") +
                  Result("WhitelistUSBDeviceTest", false, {}, "Keyboard white list", "Never added.") +
                  Result("WhitelistUSBDeviceTest", false, {}, "Empty fragment", "Never added.") +
                  Result("WhitelistUSBDeviceTest", false, {}, "Fragment on its own line",
                         "The blanks and line breaks count.") +
                  Mouse(false, {NoInterface}) + Laptop(false) + "</test_results>\n");
}

TEST_F(DeviceChecksTest, ApartmentFailurePassesTheBlackListsAndFailsTheMachineChecks)
{
    // The run mode's own CoInitializeEx succeeds; every check's nested one fails. The white lists
    // do not enter the apartment again and are not affected.
    const ProgramResult result = Run(Desktop([](nlohmann::json& m) {
        m["faults"] = R"([{"call": "CoInitializeEx", "error": "0x80010106", "after": 1}])"_json;
    }));
    EXPECT_EQ(result.exitCode, 0);
    const std::string blackFailed = "BLACKLIST USB COINITIALIZE FAILED\n";
    const std::string mouseFailed = "DesktopAndPS2MouseTest COINITIALIZE FAILED\n";
    EXPECT_EQ(result.console, EchoedNames + blackFailed + blackFailed + blackFailed + Devices + Devices + Devices +
                                  Devices + mouseFailed + mouseFailed + "LAPTOPTEST COINITIALIZE FAILED\n" + Closing);
    EXPECT_EQ(folder.Read("results.xml"),
              "<test_results>" + Result("BlacklistUSBDeviceTest", true, {}, "Storage black list") +
                  Result("BlacklistUSBDeviceTest", true, {}, "Lower-case black list") +
                  Result("BlacklistUSBDeviceTest", true, {}, "Empty black list") + WhiteLists(DeviceLines) +
                  Mouse(false, {}) + Laptop(false) + "</test_results>\n");
}

TEST_F(DeviceChecksTest, WmiFailuresPassBothListsWithoutSolutionAndKeepTheLinesSeenBefore)
{
    // The white list runs first. A fault fails every call after its count, so the black list
    // after it fails at its first query and records nothing.
    struct Scenario {
        std::string name;
        std::string faults;
        std::vector<std::string> lines;
    };
    const std::vector<Scenario> scenarios{
        {"no connection", R"([{"call": "ConnectServer", "error": "0x80041003"}])", {}},
        {"association query", R"([{"call": "ExecQuery", "error": "0x80041003"}])", {}},
        // The association query and the stick's and the vanished device's queries succeed; the
        // query for the device without description fails and ends the walk.
        {"third device query", R"([{"call": "ExecQuery", "error": "0x80041003", "after": 3}])", {Stick}},
        // The stick's association and record, then the two associations without an identifier
        // come; the next Next fails.
        {"association walk", R"([{"call": "Next", "error": "0x80041006", "after": 4}])", {Stick}},
    };
    const std::string document =
        "<input_tests><test><name>WhitelistUSBDeviceTest</name><parameter>Card Reader</parameter>"
        "<descriptive_name language='en'>White</descriptive_name>"
        "<descriptive_solution language='en'>Never added.</descriptive_solution></test>"
        "<test><name>BlacklistUSBDeviceTest</name><parameter>Storage</parameter>"
        "<descriptive_name language='en'>Black</descriptive_name>"
        "<descriptive_solution language='en'>Never added.</descriptive_solution></test>"
        "</input_tests>";
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.name);
        const ProgramResult result =
            Run(Desktop([&](nlohmann::json& m) { m["faults"] = nlohmann::json::parse(scenario.faults); }), document);
        EXPECT_EQ(result.exitCode, 0);
        std::string printed;
        for (const std::string& line : scenario.lines) {
            printed += line;
        }
        EXPECT_EQ(result.console, "WhitelistUSBDeviceTest\nBlacklistUSBDeviceTest\n" + printed + Closing);
        EXPECT_EQ(folder.Read("results.xml"),
                  "<test_results>" + Result("WhitelistUSBDeviceTest", true, scenario.lines, "White") +
                      Result("BlacklistUSBDeviceTest", true, {}, "Black") + "</test_results>\n");
    }
}

}  // namespace
