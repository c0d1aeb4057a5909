// The software and service checks end to end on a 64-bit desktop (the 32-bit registry view, the
// machine's own framework folders and version resources, the service list), and on variants of
// it that add, take away or break parts.

#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

const std::string Closing = "writing xml and deallocating tests\n";
const std::string FrameworkRoot = "C:\\Windows\\Microsoft.NET\\Framework\\";
const std::string FrameworkFolder = "C:\\Windows\\Microsoft.NET\\Framework";
const std::string NetKey = "SOFTWARE\\Wow6432Node\\Microsoft\\.NETFramework";

std::string Element(const std::string& name, const std::vector<std::string>& parameters, const std::string& solution)
{
    std::string text = "<test><name>" + name + "</name>";
    for (const std::string& parameter : parameters) {
        text += "<parameter>" + parameter + "</parameter>";
    }
    return text + "<descriptive_name language='en'>" + name +
           "</descriptive_name><descriptive_solution language='en'>" + solution + "</descriptive_solution></test>";
}

std::string Result(const std::string& name, bool passed, const std::vector<std::string>& moreInfo,
                   const std::vector<std::string>& solutions = {})
{
    std::string text = "<test><name>" + name + "</name><passed>" + (passed ? "true" : "false") + "</passed>";
    for (const std::string& line : moreInfo) {
        text += line.empty() ? "<more_info/>" : "<more_info>" + line + "</more_info>";
    }
    text += "<descriptive_name>" + name + "</descriptive_name>";
    for (const std::string& line : solutions) {
        text += "<descriptive_solution>" + line + "</descriptive_solution>";
    }
    return text + "</test>";
}

nlohmann::json Version(const std::string& fileVersion)
{
    return {{"version", {{"translations", {"040904b0"}}, {"strings", {{"040904b0", {{"FileVersion", fileVersion}}}}}}}};
}

class SoftwareChecksTest : public ::testing::Test {
protected:
    // The desktop fixture, changed by edit, saved in the scratch folder.
    std::filesystem::path Desktop(const std::function<void(nlohmann::json&)>& edit = {})
    {
        nlohmann::json machine = nlohmann::json::parse(ReadFileText(FixturePath("machines/software-desktop.json")));
        if (edit) {
            edit(machine);
        }
        return folder.Write("machine.json", machine.dump());
    }

    ProgramResult Run(const std::filesystem::path& machine, const std::string& tests)
    {
        const std::filesystem::path input = folder.Write("in.xml", "<input_tests>" + tests + "</input_tests>");
        return RunTarnwick({"-i", input.string(), "-o", "results.xml", "-f"}, folder.Path(), machine);
    }

    std::string Results() const { return folder.Read("results.xml"); }

    ScratchFolder folder;
};

// .NET Framework

const std::string NetElement = Element("NETFrameworkTest", {}, "Install .NET 2.0 in %wS.");
const std::string NetSolution = "Install .NET 2.0 in " + FrameworkRoot + ".";

TEST_F(SoftwareChecksTest, FrameworkOneOneFailsAndAddingTwoZeroPassesWithBothVersionsListed)
{
    // The 64-bit view holds a 2.0 framework that the 32-bit program does not see.
    ProgramResult result = Run(Desktop(), NetElement);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.console, "NETFrameworkTest\n" + Closing);
    EXPECT_EQ(Results(),
              "<test_results>" + Result("NETFrameworkTest", false, {"1.1.9.5\n"}, {NetSolution}) + "</test_results>\n");

    // Listed before 1.1: the folders are looked at in the file system's order, the verdict is
    // the same whatever it is, and the solution names the root even when the check passes.
    result = Run(Desktop([](nlohmann::json& m) {
                     m["files"][FrameworkFolder]["entries"] = {".", "..", "v2.0.50727", "v1.1.4322", "sbscmp10.dll"};
                     m["files"][FrameworkFolder + "\\v2.0.50727"]["entries"] = {".", "..", "mscorlib.dll"};
                     m["files"][FrameworkFolder + "\\v2.0.50727\\mscorlib.dll"] = Version("2.0.7.42 (RTM.7-42)");
                 }),
                 NetElement);
    EXPECT_EQ(Results(), "<test_results>" +
                             Result("NETFrameworkTest", true, {"2.0.7.42 (RTM.7-42)\n", "1.1.9.5\n"}, {NetSolution}) +
                             "</test_results>\n");
}

TEST_F(SoftwareChecksTest, EveryFolderEntryIsSearchedDotsIncludedAndFilesAreNot)
{
    // ".." stands for the folder above the root; a file entry is not searched, even when a
    // version could be read below its name.
    const ProgramResult result = Run(Desktop([](nlohmann::json& m) {
                                         m["files"]["C:\\Windows\\Microsoft.NET\\mscorlib.dll"] = Version("0.9");
                                         m["files"][FrameworkFolder + "\\sbscmp10.dll\\mscorlib.dll"] = Version("9.0");
                                     }),
                                     NetElement);
    EXPECT_EQ(Results(), "<test_results>" + Result("NETFrameworkTest", false, {"0.9\n", "1.1.9.5\n"}, {NetSolution}) +
                             "</test_results>\n");
}

TEST_F(SoftwareChecksTest, FrameworkFailuresGiveTheirLinesAndSolutions)
{
    struct Scenario {
        std::string what;
        std::function<void(nlohmann::json&)> edit;
        std::string console;
        std::vector<std::string> moreInfo;
        std::vector<std::string> solutions;
    };
    const std::vector<Scenario> scenarios{
        {"no framework key", [](nlohmann::json& m) { m["registry"].erase(NetKey); }, "", {}, {}},
        {"no install root",
         [](nlohmann::json& m) { m["registry"][NetKey]["values"] = nlohmann::json::object(); },
         "",
         {},
         {}},
        {"a root that cannot be searched",
         [](nlohmann::json& m) { m["files"].erase(FrameworkFolder); },
         "no files found\n",
         {},
         {NetSolution}},
        {"a search that cannot start",
         [](nlohmann::json& m) {
             m["faults"] = {{{"call", "FindFirstFileW"}, {"error", 5}}};
         },
         "no files found\n",
         {},
         {NetSolution}},
        // The search ends at the first failing step: v1.1.4322 comes third.
        {"a search that breaks off",
         [](nlohmann::json& m) {
             m["faults"] = {{{"call", "FindNextFileW"}, {"error", 5}, {"after", 1}}};
         },
         "",
         {},
         {NetSolution}},
        // The root is read as text whatever the value's type.
        {"a root of another type",
         [](nlohmann::json& m) {
             m["registry"][NetKey]["values"]["InstallRoot"] = {{"type", "REG_EXPAND_SZ"}, {"data", FrameworkRoot}};
         },
         "",
         {"1.1.9.5\n"},
         {NetSolution}},
        {"a library without a version resource",
         [](nlohmann::json& m) {
             m["files"][FrameworkFolder + "\\v1.1.4322\\mscorlib.dll"] = nlohmann::json::object();
         },
         "",
         {},
         {NetSolution}},
        {"a version only in the second translation",
         [](nlohmann::json& m) {
             m["files"][FrameworkFolder + "\\v1.1.4322\\mscorlib.dll"]["version"]["translations"] = {"040704b0",
                                                                                                     "040904b0"};
         },
         "",
         {},
         {NetSolution}},
        {"an empty translation table",
         [](nlohmann::json& m) {
             m["files"][FrameworkFolder + "\\v1.1.4322\\mscorlib.dll"]["version"]["translations"] =
                 nlohmann::json::array();
         },
         "",
         {},
         {NetSolution}},
        {"an empty version string",
         [](nlohmann::json& m) { m["files"][FrameworkFolder + "\\v1.1.4322\\mscorlib.dll"] = Version(""); },
         "",
         {},
         {NetSolution}},
        {"a version resource that cannot be read",
         [](nlohmann::json& m) {
             m["faults"] = {{{"call", "GetFileVersionInfoW"}, {"error", 5}}};
         },
         "",
         {},
         {NetSolution}},
        {"a version value that cannot be queried",
         [](nlohmann::json& m) {
             m["faults"] = {{{"call", "VerQueryValueW"}, {"error", 1813}, {"after", 1}}};
         },
         "",
         {},
         {NetSolution}},
        {"a version whose size cannot be read",
         [](nlohmann::json& m) {
             m["faults"] = {{{"call", "GetFileVersionInfoSizeW"}, {"error", 5}}};
         },
         "",
         {},
         {NetSolution}},
    };
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.what);
        const ProgramResult result = Run(Desktop(scenario.edit), NetElement);
        EXPECT_EQ(result.console, "NETFrameworkTest\n" + scenario.console + Closing);
        EXPECT_EQ(Results(), "<test_results>" +
                                 Result("NETFrameworkTest", false, scenario.moreInfo, scenario.solutions) +
                                 "</test_results>\n");
    }
}

TEST_F(SoftwareChecksTest, FrameworkVersionPassesFromExactlyTwoOnInWhateverNumberOfComponents)
{
    const std::vector<std::pair<std::string, bool>> versions{
        {"2", true},          {"2.0", true},          {"2.0.0.0", true}, {"2.0.0.0.0", true}, {"2.0.0.1", true},
        {"2.1", true},        {"1.9.9.9", false},     {"1", false},      {"1.99999", false},  {"1.0.0.0.1", false},
        {"2.0 (beta)", true}, {"1.9.9.9 (2)", false}, {"02.00", true},   {"v2.0", false},
    };
    // Not a structured binding: clang 14 refuses to capture one in the lambda below.
    for (const auto& row : versions) {
        const std::string& version = row.first;
        const bool passes = row.second;
        SCOPED_TRACE(version);
        const ProgramResult result = Run(Desktop([&](nlohmann::json& m) {
                                             m["files"][FrameworkFolder + "\\v1.1.4322\\mscorlib.dll"] =
                                                 Version(version);
                                         }),
                                         NetElement);
        EXPECT_EQ(result.console, "NETFrameworkTest\n" + Closing);
        EXPECT_EQ(Results(), "<test_results>" + Result("NETFrameworkTest", passes, {version + "\n"}, {NetSolution}) +
                                 "</test_results>\n");
    }
}

// The maker's products

const std::string ProductsElement = Element("QuillonInstallationTest", {}, "Uninstall %wS.");

TEST_F(SoftwareChecksTest, InstalledProductsAreReportedTesselFirstAndAKeyWithoutLocationDoesNotCount)
{
    const auto install = [](nlohmann::json& m, const std::string& key, const std::string& location) {
        m["registry"]["SOFTWARE\\Wow6432Node\\" + key]["values"]["Location"] = {{"type", "REG_SZ"}, {"data", location}};
    };
    EXPECT_EQ(Run(Desktop(), ProductsElement).console, "QuillonInstallationTest\n" + Closing);
    EXPECT_EQ(Results(), "<test_results>" + Result("QuillonInstallationTest", true, {}) + "</test_results>\n");

    Run(Desktop([&](nlohmann::json& m) {
            install(m, "Varrowen\\Quillon for PC", "C:\\Program Files (x86)\\Quillon\\");
            install(m, "Norvale\\Tessel", "C:\\Program Files (x86)\\Tessel\\");
        }),
        ProductsElement);
    EXPECT_EQ(Results(), "<test_results>" +
                             Result("QuillonInstallationTest", false,
                                    {"C:\\Program Files (x86)\\Tessel\\", "C:\\Program Files (x86)\\Quillon\\"},
                                    {"Uninstall C:\\Program Files (x86)\\Tessel\\.",
                                     "Uninstall C:\\Program Files (x86)\\Quillon\\."}) +
                             "</test_results>\n");

    // A key without "Location", and a key in the 64-bit view that the 32-bit program never sees.
    Run(Desktop([&](nlohmann::json& m) {
            m["registry"]["SOFTWARE\\Wow6432Node\\Norvale\\Tessel"] = nlohmann::json::object();
            m["registry"]["SOFTWARE\\Varrowen\\Quillon for PC"]["values"]["Location"] = {{"type", "REG_SZ"},
                                                                                         {"data", "C:\\Q\\"}};
        }),
        ProductsElement);
    EXPECT_EQ(Results(), "<test_results>" + Result("QuillonInstallationTest", true, {}) + "</test_results>\n");

    // The location is taken as text whatever the value's type; a failed read counts as absent.
    Run(Desktop([&](nlohmann::json& m) {
            m["registry"]["SOFTWARE\\Wow6432Node\\Norvale\\Tessel"]["values"]["Location"] = {
                {"type", "REG_MULTI_SZ"}, {"data", {"C:\\T\\", "x"}}};
            install(m, "Varrowen\\Quillon for PC", "C:\\Q\\");
            m["faults"] = {{{"call", "RegQueryValueExW"}, {"error", 5}, {"after", 2}}};
        }),
        ProductsElement);
    EXPECT_EQ(Results(), "<test_results>" +
                             Result("QuillonInstallationTest", false, {"C:\\T\\"}, {"Uninstall C:\\T\\."}) +
                             "</test_results>\n");

    // A location of no bytes is still asked for a second time, into a buffer of no bytes: when
    // that second query fails, the product does not count.
    Run(Desktop([&](nlohmann::json& m) {
            m["registry"]["SOFTWARE\\Wow6432Node\\Norvale\\Tessel"]["values"]["Location"] = {{"type", "REG_BINARY"},
                                                                                             {"data", ""}};
            m["faults"] = {{{"call", "RegQueryValueExW"}, {"error", 5}, {"after", 1}}};
        }),
        ProductsElement);
    EXPECT_EQ(Results(), "<test_results>" + Result("QuillonInstallationTest", true, {}) + "</test_results>\n");
}

TEST_F(SoftwareChecksTest, ValuesOfAnyTypeAreReadAsTheSixteenBitCharactersWindowsStoresTextIn)
{
    // "C:\T\" and "C:\Windows\Microsoft.NET\Framework\" as UTF-16 bytes with their terminators,
    // and a number whose four bytes are the characters "AB".
    const auto utf16 = [](const std::string& text) {
        std::string hex;
        const char* digits = "0123456789abcdef";
        for (const char c : text + '\0') {
            hex += {digits[(c >> 4) & 0xF], digits[c & 0xF], '0', '0'};
        }
        return hex;
    };
    Run(Desktop([&](nlohmann::json& m) {
            m["registry"]["SOFTWARE\\Wow6432Node\\Norvale\\Tessel"]["values"]["Location"] = {
                {"type", "REG_BINARY"}, {"data", utf16("C:\\T\\")}};
            m["registry"]["SOFTWARE\\Wow6432Node\\Varrowen\\Quillon for PC"]["values"]["Location"] = {
                {"type", "REG_DWORD"}, {"data", 0x00420041}};
            m["registry"][NetKey]["values"]["InstallRoot"] = {{"type", "REG_BINARY"}, {"data", utf16(FrameworkRoot)}};
        }),
        ProductsElement + NetElement);
    EXPECT_EQ(Results(),
              "<test_results>" +
                  Result("QuillonInstallationTest", false, {"C:\\T\\", "AB"}, {"Uninstall C:\\T\\.", "Uninstall AB."}) +
                  Result("NETFrameworkTest", false, {"1.1.9.5\n"}, {NetSolution}) + "</test_results>\n");

    // A character beyond the 16-bit range is stored as a surrogate pair and read back whole.
    Run(Desktop([&](nlohmann::json& m) {
            m["registry"]["SOFTWARE\\Wow6432Node\\Norvale\\Tessel"]["values"]["Location"] = {
                {"type", "REG_SZ"}, {"data", "C:\\\xF0\x9D\x84\x9E\\"}};
        }),
        ProductsElement);
    EXPECT_EQ(Results(), "<test_results>" +
                             Result("QuillonInstallationTest", false, {"C:\\\xF0\x9D\x84\x9E\\"},
                                    {"Uninstall C:\\\xF0\x9D\x84\x9E\\."}) +
                             "</test_results>\n");
}

// Services

std::string ServiceLines(const std::vector<std::string>& fragments, const std::string& name, const std::string& state)
{
    std::string lines;
    for (const std::string& fragment : fragments) {
        lines += "Parameter: " + fragment + "\n";
    }
    return lines + "Service: " + name + " -State: " + state + "\n";
}

TEST_F(SoftwareChecksTest, ServiceNamesAreSearchedForFragmentsWithLetterCaseCounting)
{
    const std::string document = Element("BlacklistServiceTest", {"Spool"}, "Remove it.") +
                                 Element("BlacklistServiceTest", {"spool"}, "Remove it.") +
                                 Element("BlacklistServiceTest", {}, "Remove it.") +
                                 Element("BlacklistServiceTest", {""}, "Remove it.");
    const ProgramResult result = Run(Desktop(), document);
    const auto walk = [](const std::vector<std::string>& fragments) {
        return ServiceLines(fragments, "BITS", "Running") + ServiceLines(fragments, "Spooler", "Stopped") +
               ServiceLines(fragments, "wuauserv", "Running");
    };
    EXPECT_EQ(result.console,
              "BlacklistServiceTest\nBlacklistServiceTest\nBlacklistServiceTest\nBlacklistServiceTest\n" +
                  walk({"Spool"}) + walk({"spool"}) + walk({}) + walk({""}) + Closing);
    // A stopped Spooler counts; an empty fragment is in every name.
    EXPECT_EQ(Results(), "<test_results>" + Result("BlacklistServiceTest", false, {}, {"Remove it."}) +
                             Result("BlacklistServiceTest", true, {}) + Result("BlacklistServiceTest", true, {}) +
                             Result("BlacklistServiceTest", false, {}, {"Remove it."}) + "</test_results>\n");
}

TEST_F(SoftwareChecksTest, TwoFragmentsAndAHundredServicesGiveTwoHundredParameterLines)
{
    std::string expected = "BlacklistServiceTest\n";
    const ProgramResult result =
        Run(Desktop([&](nlohmann::json& m) {
                m["wmi"]["Win32_Service"] = nlohmann::json::array();
                for (int i = 0; i < 100; ++i) {
                    const std::string name = "svc" + std::to_string(i);
                    m["wmi"]["Win32_Service"].push_back({{"Name", name}, {"State", "Running"}});
                    expected += ServiceLines({"Tessel", "svc99"}, name, "Running");
                }
            }),
            Element("BlacklistServiceTest", {"Tessel", "svc99"}, "Remove it."));
    EXPECT_EQ(result.console, expected + Closing);
    EXPECT_EQ(Results(),
              "<test_results>" + Result("BlacklistServiceTest", false, {}, {"Remove it."}) + "</test_results>\n");
}

TEST_F(SoftwareChecksTest, ServicesWithoutNameOrStateAndFailuresOfComOrWmi)
{
    const std::string document = Element("BlacklistServiceTest", {"Spool"}, "Remove it.");
    // A service whose name cannot be read is not matched, but its state is printed; one
    // without a state leaves its line open.
    ProgramResult result = Run(Desktop([](nlohmann::json& m) {
                                   m["wmi"]["Win32_Service"] = {{{"Name", nullptr}, {"State", "Running"}},
                                                                {{"Name", "Spooler"}, {"State", nullptr}},
                                                                {{"Name", "BITS"}, {"State", "Stopped"}}};
                               }),
                               document);
    EXPECT_EQ(result.console,
              "BlacklistServiceTest\nState: Running\nParameter: Spool\nService: Spooler -"
              "Parameter: Spool\nService: BITS -State: Stopped\n" +
                  Closing);
    EXPECT_EQ(Results(),
              "<test_results>" + Result("BlacklistServiceTest", false, {}, {"Remove it."}) + "</test_results>\n");

    struct Scenario {
        std::string what;
        nlohmann::json faults;
        std::string console;
    };
    const std::vector<Scenario> scenarios{
        // The run's own initialisation comes first.
        {"COM",
         {{{"call", "CoInitializeEx"}, {"error", "0x80004005"}, {"after", 1}}},
         "BLACKLIST SERVICE COINITIALIZE FAILED\n"},
        {"the query", {{{"call", "ExecQuery"}, {"error", "0x80041003"}}}, ""},
        {"the locator", {{{"call", "CoCreateInstance(WbemLocator)"}, {"error", "0x80040154"}}}, ""},
        // The Spooler is never reached: the walk ends with an error, and the check passes.
        {"the walk",
         {{{"call", "Next"}, {"error", "0x80041001"}, {"after", 1}}},
         ServiceLines({"Spool"}, "BITS", "Running")},
        // Both reads of the Spooler fail (the third and fourth Get): nothing of it is printed.
        {"the reads",
         {{{"call", "Get"}, {"error", "0x80041001"}, {"after", 2}}},
         ServiceLines({"Spool"}, "BITS", "Running")},
    };
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.what);
        result = Run(Desktop([&](nlohmann::json& m) { m["faults"] = scenario.faults; }), document);
        EXPECT_EQ(result.console, "BlacklistServiceTest\n" + scenario.console + Closing);
        EXPECT_EQ(Results(), "<test_results>" + Result("BlacklistServiceTest", true, {}) + "</test_results>\n");
    }
}

}  // namespace
