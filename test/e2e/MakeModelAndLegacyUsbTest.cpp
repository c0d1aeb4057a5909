// The make-and-model and legacy USB checks end to end: trailing blanks of the computer string,
// every BIOS characteristic listed with its text, and what the checks do when WMI has nothing
// to give or fails.

#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

const std::string Closing = "writing xml and deallocating tests\n";
const std::string Document =
    "<input_tests>"
    "<test><name>FetchMakeModelTest</name><descriptive_name language='en'>Computer</descriptive_name>"
    "<descriptive_solution language='en'>Recorded.</descriptive_solution></test>"
    "<test><name>LegacyUSBTest</name><descriptive_name language='en'>Legacy USB</descriptive_name>"
    "<descriptive_solution language='en'>Turn on legacy USB.</descriptive_solution></test>"
    "</input_tests>";

std::string MakeModel(bool passed, const std::vector<std::string>& moreInfo)
{
    std::string text =
        "<test><name>FetchMakeModelTest</name><passed>" + std::string(passed ? "true" : "false") + "</passed>";
    for (const std::string& line : moreInfo) {
        text += line.empty() ? "<more_info/>" : "<more_info>" + line + "</more_info>";
    }
    text += "<descriptive_name>Computer</descriptive_name>";
    return text + (passed ? "<descriptive_solution>Recorded.</descriptive_solution>" : "") + "</test>";
}

std::string LegacyUsb(bool passed, const std::vector<std::string>& moreInfo)
{
    std::string text =
        "<test><name>LegacyUSBTest</name><passed>" + std::string(passed ? "true" : "false") + "</passed>";
    for (const std::string& line : moreInfo) {
        text += "<more_info>" + line + "</more_info>";
    }
    return text + "<descriptive_name>Legacy USB</descriptive_name></test>";
}

class MakeModelAndLegacyUsbTest : public ::testing::Test {
protected:
    ProgramResult Run(const nlohmann::json& wmi, const nlohmann::json& faults = nlohmann::json::array())
    {
        const nlohmann::json machine{{"wmi", wmi}, {"faults", faults}};
        const std::filesystem::path profile = folder.Write("machine.json", machine.dump());
        const std::filesystem::path input = folder.Write("in.xml", Document);
        return RunTarnwick({"-i", input.string(), "-o", "results.xml", "-f"}, folder.Path(), profile);
    }

    std::string Results() const { return folder.Read("results.xml"); }

    ScratchFolder folder;
};

nlohmann::json Computer(const nlohmann::json& manufacturer, const nlohmann::json& model)
{
    return nlohmann::json::array({{{"Manufacturer", manufacturer}, {"Model", model}}});
}

TEST_F(MakeModelAndLegacyUsbTest, TrailingBlanksAreRemovedAndEveryCharacteristicIsListed)
{
    // The blank that ends the manufacturer stays inside; the model's two go.
    const ProgramResult result =
        Run({{"Win32_ComputerSystem", Computer("Dell Inc. ", "OptiPlex 760  ")},
             {"Win32_BIOS", {{{"BiosCharacteristics", {7, 33, 3, 33, 39, 40, 47, 48, 63, 64, -1, 2147483647}}}}}});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.console, "FetchMakeModelTest\nLegacyUSBTest\nComputer: Dell Inc.  OptiPlex 760\n" + Closing);
    const std::string unnamed = "There is no string that matches this value";
    EXPECT_EQ(Results(), "<test_results>" + MakeModel(true, {"Dell Inc.  OptiPlex 760"}) +
                             LegacyUsb(true, {"7 - PCI is supported", "33 - USB Legacy is supported",
                                              "3 - BIOS Characteristics Not Supported", "33 - USB Legacy is supported",
                                              "39 - Smart Battery is supported", "40 - Reserved for BIOS vendor",
                                              "47 - Reserved for BIOS vendor", "48 - Reserved for system vendor",
                                              "63 - Reserved for system vendor", "64 - " + unnamed, "-1 - " + unnamed,
                                              "2147483647 - " + unnamed}) +
                             "</test_results>\n");
}

TEST_F(MakeModelAndLegacyUsbTest, ComputerStringsAndCharacteristicArraysAtTheirEdges)
{
    struct Scenario {
        std::string what;
        nlohmann::json computer;
        nlohmann::json characteristics;
        std::string computerString;
        bool legacyUsb;
        std::vector<std::string> characteristicLines;
    };
    const std::vector<Scenario> scenarios{
        {"an empty model, 33 last",
         Computer("LENOVO", ""),
         {9, 33},
         "LENOVO",
         true,
         {"9 - Plug and Play is supported", "33 - USB Legacy is supported"}},
        {"leading blanks and a trailing tab stay, 33 alone",
         Computer("  HP", "dc7900\t "),
         {33},
         "  HP dc7900\t",
         true,
         {"33 - USB Legacy is supported"}},
        {"all blanks, an empty array", Computer("   ", " "), nlohmann::json::array(), "", false, {}},
        {"NULL values, no array", Computer(nullptr, nullptr), nullptr, "", false, {}},
        {"no instance",
         nlohmann::json::array(),
         nlohmann::json::array({0, 1, 2}),
         "",
         false,
         {"0 - Reserved", "1 - Reserved", "2 - Unknown"}},
    };
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.what);
        const ProgramResult result = Run({{"Win32_ComputerSystem", scenario.computer},
                                          {"Win32_BIOS", {{{"BiosCharacteristics", scenario.characteristics}}}}});
        EXPECT_EQ(result.console,
                  "FetchMakeModelTest\nLegacyUSBTest\nComputer: " + scenario.computerString + "\n" + Closing);
        EXPECT_EQ(Results(), "<test_results>" + MakeModel(true, {scenario.computerString}) +
                                 LegacyUsb(scenario.legacyUsb, scenario.characteristicLines) + "</test_results>\n");
    }
}

TEST_F(MakeModelAndLegacyUsbTest, UnreadableValuesFailBothChecksWithoutALine)
{
    const nlohmann::json wmi{{"Win32_ComputerSystem", Computer("Dell Inc.", "OptiPlex 760")},
                             {"Win32_BIOS", {{{"BiosCharacteristics", {33}}}}}};
    struct Scenario {
        std::string what;
        nlohmann::json wmi;
        nlohmann::json faults;
    };
    const std::vector<Scenario> scenarios{
        {"no such classes", nlohmann::json::object(), nlohmann::json::array()},
        // The manufacturer is read, the model and the characteristics are not.
        {"reads failing after the first", wmi, {{{"call", "Get"}, {"error", "0x80041001"}, {"after", 1}}}},
        {"no connection", wmi, {{{"call", "ConnectServer"}, {"error", "0x80041003"}}}},
    };
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.what);
        const ProgramResult result = Run(scenario.wmi, scenario.faults);
        EXPECT_EQ(result.console, "FetchMakeModelTest\nLegacyUSBTest\n" + Closing);
        EXPECT_EQ(Results(), "<test_results>" + MakeModel(false, {}) + LegacyUsb(false, {}) + "</test_results>\n");
    }
}

TEST_F(MakeModelAndLegacyUsbTest, AnUnreadableElementIsLeftOutAndAnUnreadableBoundListsNothing)
{
    const nlohmann::json wmi{{"Win32_ComputerSystem", Computer("Dell Inc.", "OptiPlex 760")},
                             {"Win32_BIOS", {{{"BiosCharacteristics", {7, 33}}}}}};
    // Only the first element can be read: 33 is neither listed nor counted.
    Run(wmi, {{{"call", "SafeArrayGetElement"}, {"error", "0x8002000B"}, {"after", 1}}});
    EXPECT_EQ(Results(), "<test_results>" + MakeModel(true, {"Dell Inc. OptiPlex 760"}) +
                             LegacyUsb(false, {"7 - PCI is supported"}) + "</test_results>\n");
    Run(wmi, {{{"call", "SafeArrayGetUBound"}, {"error", "0x8002000B"}}});
    EXPECT_EQ(Results(), "<test_results>" + MakeModel(true, {"Dell Inc. OptiPlex 760"}) + LegacyUsb(false, {}) +
                             "</test_results>\n");
}

}  // namespace
