// The operating system, memory, privilege, BitLocker and BITS checks end to end, on one Windows 7
// Enterprise desktop and the variants of it that each scenario makes: other versions and
// editions, less memory, other tokens, BITS refusing, and platform calls that fail.

#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <functional>
#include <string>

namespace {

const std::string EchoedNames = "OSTest\nMemoryTest\nAdministratorTest\nBitLockerTest\nBitsAdminTest\n";
const std::string Written = "writing xml and deallocating tests\n";
const std::string Seven = "Microsoft Windows 7 Enterprise Edition, 64-bit (build 7600)";
const std::string XpSp3 = "Microsoft Windows XP Professional Service Pack 3 (build 2600)";
const std::string NotAdministrator =
    "Your account does not have administrator privileges. Log on as an administrator and try again.";
const std::string PresenceOnly = "<more_info>Checks only if the feature is present, not if it is running</more_info>";
// The WMI diagnostics of the fixture: one line more than there are instances of each class.
const std::string WmiLines =
    "got computer system\ninterator\ngot memory\nTotalPhysicalMemory: 4095\n"
    "got computer system\n"
    "got computer system\ninterator\ngot memory\nTotalVisibleMemorySize: 3\n"
    "got computer system\n"
    "got computer system\ninterator\ngot memory\nCapacity: 2048\n"
    "got computer system\ninterator\ngot memory\nCapacity: 2048\n"
    "got computer system\n";

const nlohmann::json XpVersion = {{"major", 5},
                                  {"minor", 1},
                                  {"build", 2600},
                                  {"platformId", 2},
                                  {"servicePack", "Service Pack 3"},
                                  {"servicePackMajor", 3},
                                  {"servicePackMinor", 0},
                                  {"suiteMask", 256},
                                  {"productType", 1}};

// One test element of the results, as the writer puts it.
std::string Element(const std::string& name, bool passed, const std::string& moreInfo,
                    const std::string& descriptiveName, const std::string& solution = {})
{
    return "<test><name>" + name + "</name><passed>" + (passed ? "true" : "false") + "</passed>" + moreInfo +
           "<descriptive_name>" + descriptiveName + "</descriptive_name>" +
           (solution.empty() ? "" : "<descriptive_solution>" + solution + "</descriptive_solution>") + "</test>";
}

std::string MoreInfo(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines) {
        text += "<more_info>" + line + "</more_info>";
    }
    return text;
}

std::string OsElement(bool passed, const std::string& description)
{
    return Element("OSTest", passed, description.empty() ? "" : MoreInfo({description}), "Supported Windows",
                   description + " is not supported.");
}

std::string MemoryElement(const std::string& needed, const std::string& installed, bool passed)
{
    return Element("MemoryTest", passed, MoreInfo({needed, installed}), "Memory",
                   passed ? "" : "Install at least " + needed + " MB.");
}

std::string AdministratorElement(bool passed, const std::vector<std::string>& lines)
{
    return Element("AdministratorTest", passed, MoreInfo(lines), "Administrator", "Run as administrator.");
}

// The check never adds a solution, whatever its verdict.
std::string BitLockerElement(bool passed)
{
    return Element("BitLockerTest", passed, PresenceOnly, "No BitLocker");
}

std::string BitsElement(bool passed)
{
    return Element("BitsAdminTest", passed, "", "BITS", passed ? "" : "Log on interactively.");
}

class SystemChecksTest : public ::testing::Test {
protected:
    // The Windows 7 fixture, changed by edit, saved in the scratch folder.
    std::filesystem::path Machine(const std::function<void(nlohmann::json&)>& edit)
    {
        nlohmann::json machine = nlohmann::json::parse(ReadFileText(FixturePath("machines/system-checks.json")));
        edit(machine);
        return folder.Write("machine.json", machine.dump());
    }

    // The fixture with one platform call failing.
    std::filesystem::path WithFault(const std::string& call, const nlohmann::json& error)
    {
        return Machine([&](nlohmann::json& machine) { machine["faults"] = {{{"call", call}, {"error", error}}}; });
    }

    // Windows XP Professional SP3 on a 32-bit processor, with the memory given.
    std::filesystem::path Xp(std::uint64_t memoryBytes, const std::function<void(nlohmann::json&)>& edit = {})
    {
        return Machine([&](nlohmann::json& machine) {
            machine["version"] = XpVersion;
            machine["processorArchitecture"] = "INTEL";
            machine["kernel32Functions"] = {"GetNativeSystemInfo"};
            machine.erase("productInfoType");
            machine.erase("linkedToken");
            machine["totalPhysicalMemory"] = memoryBytes;
            if (edit) {
                edit(machine);
            }
        });
    }

    ProgramResult Run(const std::filesystem::path& machine, const std::string& document = {})
    {
        const std::string input = document.empty() ? FixturePath("documents/system-checks.xml").string()
                                                   : folder.Write("in.xml", document).string();
        return RunTarnwick({"-i", input, "-o", "results.xml", "-f"}, folder.Path(), machine);
    }

    // The verdict of the named check in the last results.
    bool Passed(const std::string& name)
    {
        const std::string results = folder.Read("results.xml");
        const std::size_t at = results.find("<name>" + name + "</name><passed>");
        EXPECT_NE(at, std::string::npos) << results;
        return results.compare(at + name.size() + 21, 4, "true") == 0;
    }

    ScratchFolder folder;
};

TEST_F(SystemChecksTest, ElevatedAdministratorOnSevenEnterprise)
{
    const ProgramResult result = Run(FixturePath("machines/system-checks.json"));
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.console, EchoedNames + WmiLines + Written);
    // The OS solution line is added whatever the verdict; the memory figures are 512 by version
    // and 4095 whole megabytes installed.
    EXPECT_EQ(folder.Read("results.xml"), "<test_results>" + OsElement(true, Seven) +
                                              MemoryElement("512", "4095", true) +
                                              AdministratorElement(true, {"Default token has admin privileges"}) +
                                              BitLockerElement(true) + BitsElement(true) + "</test_results>\n");
    EXPECT_TRUE(
        result.trace.ends_with("[TARNWICK] Performing Test BitsAdminTest\n"
                               "[TARNWICK]Successfully wrote to results.xml\n"))
        << result.trace;
}

TEST_F(SystemChecksTest, WithoutAVersionRecordEachCheckTakesItsOwnWay)
{
    const ProgramResult result = Run(WithFault("GetVersionExW", 87));
    EXPECT_EQ(result.console, EchoedNames + WmiLines + "[MTEST] ERROR: Could not recover OS version information\n\n" +
                                  "Couldn't get the os information\n\n" + Written);
    // No description; the administrator is judged as before Vista, without a line; BitLocker
    // passes.
    EXPECT_EQ(folder.Read("results.xml"),
              "<test_results>" + OsElement(false, "") + Element("MemoryTest", false, "", "Memory") +
                  AdministratorElement(true, {}) + BitLockerElement(true) + BitsElement(true) + "</test_results>\n");
}

TEST_F(SystemChecksTest, WindowsXpWith127And128Megabytes)
{
    ProgramResult result = Run(Xp(127ull << 20));
    EXPECT_EQ(result.console, EchoedNames + WmiLines + Written);
    // XP has no linked tokens: the administrator passes without a line.
    EXPECT_EQ(folder.Read("results.xml"), "<test_results>" + OsElement(false, XpSp3) +
                                              MemoryElement("128", "127", false) + AdministratorElement(true, {}) +
                                              BitLockerElement(true) + BitsElement(true) + "</test_results>\n");

    // One byte short of 128 MB is 127 whole megabytes.
    Run(Xp((128ull << 20) - 1));
    EXPECT_FALSE(Passed("MemoryTest"));
    Run(Xp(128ull << 20));
    EXPECT_NE(folder.Read("results.xml").find(MemoryElement("128", "128", true)), std::string::npos);

    // A standard user on XP fails without a line either.
    Run(Xp(512ull << 20, [](nlohmann::json& machine) { machine["administrator"] = false; }));
    EXPECT_NE(folder.Read("results.xml").find(AdministratorElement(false, {})), std::string::npos);
}

TEST_F(SystemChecksTest, TokensOnSevenTellTheAdministratorWithoutElevationFromAStandardUser)
{
    const struct {
        const char* name;
        bool administrator;
        const char* linkedToken;
        bool passed;
        std::vector<std::string> lines;
    } scenarios[] = {
        {"administrator without elevation",
         false,
         "administrator",
         false,
         {"Linked token has admin privileges", "You must right click on the installer and run as administrator."}},
        {"standard user", false, nullptr, false, {NotAdministrator}},
        {"elevated without linked token (user account control off)",
         true,
         nullptr,
         true,
         {"Default token has admin privileges"}},
    };
    for (const auto& scenario : scenarios) {
        SCOPED_TRACE(scenario.name);
        Run(Machine([&](nlohmann::json& machine) {
            machine["administrator"] = scenario.administrator;
            if (scenario.linkedToken != nullptr) {
                machine["linkedToken"] = scenario.linkedToken;
            } else {
                machine.erase("linkedToken");
            }
        }));
        EXPECT_NE(folder.Read("results.xml").find(AdministratorElement(scenario.passed, scenario.lines)),
                  std::string::npos)
            << folder.Read("results.xml");
    }
}

TEST_F(SystemChecksTest, AdministratorFailsWithoutALineWhenTheProcessTokenDoesNotOpen)
{
    Run(WithFault("OpenProcessToken", 5));
    EXPECT_NE(folder.Read("results.xml").find(AdministratorElement(false, {})), std::string::npos);

    // Without the group's SID nobody counts as an administrator.
    Run(Machine([](nlohmann::json& machine) {
        machine["linkedToken"] = "administrator";
        machine["faults"] = {{{"call", "CreateWellKnownSid"}, {"error", 87}}};
    }));
    EXPECT_NE(folder.Read("results.xml").find(AdministratorElement(false, {NotAdministrator})), std::string::npos);

    // Without the linked token the default token decides.
    Run(Machine([](nlohmann::json& machine) {
        machine["administrator"] = false;
        machine["linkedToken"] = "administrator";
        machine["faults"] = {{{"call", "GetTokenInformation"}, {"error", 1312}}};
    }));
    EXPECT_NE(folder.Read("results.xml").find(AdministratorElement(false, {NotAdministrator})), std::string::npos);
}

TEST_F(SystemChecksTest, BitLockerByVersionAndEdition)
{
    const nlohmann::json vista = {{"major", 6},
                                  {"minor", 0},
                                  {"build", 6002},
                                  {"platformId", 2},
                                  {"servicePack", ""},
                                  {"servicePackMajor", 0},
                                  {"servicePackMinor", 0},
                                  {"suiteMask", 256},
                                  {"productType", 1}};
    const struct {
        const char* name;
        nlohmann::json version;
        int productType;
        bool passed;
    } scenarios[] = {
        {"Vista Ultimate", vista, 1, false},
        {"Vista Enterprise", vista, 4, false},
        {"Vista Home Premium", vista, 3, true},
        {"Vista Business", vista, 6, true},
        {"Server 2008",
         [&] {
             auto server = vista;
             server["productType"] = 3;
             return server;
         }(),
         7, false},
        {"Windows 7 Ultimate",
         [&] {
             auto seven = vista;
             seven["minor"] = 1;
             return seven;
         }(),
         1, true},
        {"Windows XP", XpVersion, 0, true},
    };
    for (const auto& scenario : scenarios) {
        SCOPED_TRACE(scenario.name);
        Run(Machine([&](nlohmann::json& machine) {
            machine["version"] = scenario.version;
            machine["productInfoType"] = scenario.productType;
        }));
        EXPECT_NE(folder.Read("results.xml").find(BitLockerElement(scenario.passed)), std::string::npos)
            << folder.Read("results.xml");
    }

    // Vista Ultimate where GetProductInfo cannot be found: no edition, so no BitLocker.
    Run(Machine([&](nlohmann::json& machine) {
        machine["version"] = vista;
        machine["kernel32Functions"] = {"GetNativeSystemInfo"};
        machine["productInfoType"] = 1;
    }));
    EXPECT_TRUE(Passed("BitLockerTest"));
}

TEST_F(SystemChecksTest, BitsFailsOnlyWhenTheFileIsRefusedForAUserWhoIsNotLoggedOn)
{
    const struct {
        const char* name;
        nlohmann::json faults;
        bool bits;
        bool passed;
    } scenarios[] = {
        {"not logged on", {{{"call", "AddFile"}, {"error", "0x800704DD"}}}, true, false},
        {"another AddFile error", {{{"call", "AddFile"}, {"error", "0x80070005"}}}, true, true},
        {"job refused", {{{"call", "CreateJob"}, {"error", "0x800704DD"}}}, true, true},
        {"manager refused",
         {{{"call", "CoCreateInstance(BackgroundCopyManager)"}, {"error", "0x80004002"}}},
         true,
         true},
        {"BITS not registered", nlohmann::json::array(), false, true},
    };
    for (const auto& scenario : scenarios) {
        SCOPED_TRACE(scenario.name);
        const ProgramResult result = Run(Machine([&](nlohmann::json& machine) {
            machine["faults"] = scenario.faults;
            machine["bits"] = scenario.bits;
        }));
        EXPECT_EQ(result.console, EchoedNames + WmiLines + Written);
        EXPECT_NE(folder.Read("results.xml").find(BitsElement(scenario.passed)), std::string::npos)
            << folder.Read("results.xml");
    }
}

TEST_F(SystemChecksTest, MemoryRequirementFromTheLastValidParameterOrTheVersion)
{
    const auto document = [](const std::vector<std::string>& parameterLists) {
        std::string text = "<input_tests>";
        for (const std::string& parameters : parameterLists) {
            text += "<test><name>MemoryTest</name>" + parameters +
                    "<descriptive_solution language='en'>%d</descriptive_solution></test>";
        }
        return text + "</input_tests>";
    };
    const std::filesystem::path xp = Xp(256ull << 20);

    // 1024 whatever the version; the earlier instance without a parameter uses it too.
    Run(xp, document({"", "<parameter>1024</parameter>"}));
    const std::string needs1024 =
        "<passed>false</passed><more_info>1024</more_info><more_info>256</more_info>"
        "<descriptive_name/><descriptive_solution>1024</descriptive_solution>";
    EXPECT_EQ(folder.Read("results.xml"), "<test_results><test><name>MemoryTest</name>" + needs1024 +
                                              "</test><test><name>MemoryTest</name>" + needs1024 +
                                              "</test></test_results>\n");

    // No valid parameter: the version's 128 applies.
    for (const std::string parameters :
         {"<parameter>0</parameter>", "<parameter>-5</parameter>", "<parameter>abc</parameter>",
          "<parameter>1024</parameter><parameter>2048</parameter>", "<parameter>2147483647</parameter>"}) {
        SCOPED_TRACE(parameters);
        Run(xp, document({parameters}));
        EXPECT_EQ(folder.Read("results.xml"),
                  "<test_results><test><name>MemoryTest</name><passed>true</passed><more_info>128</more_info>"
                  "<more_info>256</more_info><descriptive_name/></test></test_results>\n");
    }
}

TEST_F(SystemChecksTest, MemoryPassesFromExactlyTheRequirementOn)
{
    struct Row {
        const char* what;
        int major;
        int minor;
        const char* parameter;
        std::uint64_t installedMB;
        const char* needed;
        bool passes;
    };
    // Installed memory one megabyte under, at and over each requirement; a byte short of a whole
    // megabyte counts as the megabyte below.
    const Row rows[] = {
        {"2000 under", 5, 0, "", 63, "64", false},
        {"2000 at", 5, 0, "", 64, "64", true},
        {"2000 over", 5, 0, "", 65, "64", true},
        {"XP over", 5, 1, "", 129, "128", true},
        {"2003 under", 5, 2, "", 127, "128", false},
        {"2003 at", 5, 2, "", 128, "128", true},
        {"Vista under", 6, 0, "", 511, "512", false},
        {"Vista at", 6, 0, "", 512, "512", true},
        {"Vista over", 6, 0, "", 513, "512", true},
        {"Seven under", 6, 1, "", 511, "512", false},
        {"smallest parameter", 5, 1, "1", 1, "1", true},
        {"smallest parameter, nothing", 5, 1, "1", 0, "1", false},
        {"largest parameter under", 5, 1, "2147483646", 2147483645, "2147483646", false},
        {"largest parameter at", 5, 1, "2147483646", 2147483646, "2147483646", true},
        {"overflow falls back to XP's", 5, 1, "2147483647", 128, "128", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::filesystem::path machine = Machine([&](nlohmann::json& m) {
            m["version"]["major"] = row.major;
            m["version"]["minor"] = row.minor;
            m["totalPhysicalMemory"] = row.installedMB << 20;
        });
        const std::string parameter =
            *row.parameter == '\0' ? "" : std::string("<parameter>") + row.parameter + "</parameter>";
        Run(machine, "<input_tests><test><name>MemoryTest</name>" + parameter +
                         "<descriptive_name language='en'>Memory</descriptive_name>"
                         "<descriptive_solution language='en'>Install at least %d MB.</descriptive_solution>"
                         "</test></input_tests>");
        EXPECT_EQ(folder.Read("results.xml"),
                  "<test_results>" + MemoryElement(row.needed, std::to_string(row.installedMB), row.passes) +
                      "</test_results>\n");
    }
}

// A "4 GB" machine reports less than 4096 whole megabytes, so a parameter of 4096 fails on it: the
// example machines that the reference names for it.
TEST_F(SystemChecksTest, FourGigabyteExampleMachinesFallShortOf4096)
{
    for (const auto& [machine, installed] :
         {std::pair<std::string, std::string>{"default.json", "4094"}, {"server-2008.json", "4095"}}) {
        SCOPED_TRACE(machine);
        Run(ExamplePath("machines/" + machine),
            "<input_tests><test><name>MemoryTest</name><parameter>4096</parameter>"
            "<descriptive_name language='en'>Memory</descriptive_name>"
            "<descriptive_solution language='en'>Install at least %d MB.</descriptive_solution>"
            "</test></input_tests>");
        EXPECT_EQ(folder.Read("results.xml"),
                  "<test_results>" + MemoryElement("4096", installed, false) + "</test_results>\n");
    }
}

TEST_F(SystemChecksTest, MemoryByVersionAndItsErrorLines)
{
    const std::string document = "<input_tests><test><name>MemoryTest</name></test></input_tests>";
    const auto withVersion = [&](int platformId, int major, int minor) {
        return Machine([&](nlohmann::json& machine) {
            machine["version"]["platformId"] = platformId;
            machine["version"]["major"] = major;
            machine["version"]["minor"] = minor;
            machine["totalPhysicalMemory"] = 100ull << 20;
        });
    };
    const struct {
        const char* name;
        int platformId;
        int major;
        int minor;
        const char* needed;
    } supported[] = {
        {"2000", 2, 5, 0, "64"},   {"XP", 2, 5, 1, "128"},  {"2003", 2, 5, 2, "128"},
        {"Vista", 2, 6, 0, "512"}, {"6.3", 2, 6, 3, "512"},
    };
    for (const auto& version : supported) {
        SCOPED_TRACE(version.name);
        Run(withVersion(version.platformId, version.major, version.minor), document);
        EXPECT_NE(
            folder.Read("results.xml").find(std::string("<more_info>") + version.needed + "</more_info><more_info>100"),
            std::string::npos)
            << folder.Read("results.xml");
    }

    const std::string unsupported =
        "MemoryTest\n" + WmiLines + "[MTEST] ERROR: Unsupported Operating System\n\n" + Written;
    for (const auto& [platformId, major, minor] :
         {std::tuple{1, 5, 1}, std::tuple{2, 4, 0}, std::tuple{2, 5, 3}, std::tuple{2, 7, 0}}) {
        SCOPED_TRACE(std::to_string(platformId) + " " + std::to_string(major) + "." + std::to_string(minor));
        const ProgramResult result = Run(withVersion(platformId, major, minor), document);
        EXPECT_EQ(result.console, unsupported);
        EXPECT_EQ(folder.Read("results.xml"),
                  "<test_results><test><name>MemoryTest</name><passed>false</passed><descriptive_name/></test></"
                  "test_results>\n");
    }

    ProgramResult result = Run(WithFault("GetVersionExW", 87), document);
    EXPECT_EQ(result.console,
              "MemoryTest\n" + WmiLines + "[MTEST] ERROR: Could not recover OS version information\n\n" + Written);

    result = Run(WithFault("GlobalMemoryStatusEx", 87), document);
    EXPECT_EQ(result.console, "MemoryTest\n" + WmiLines +
                                  "[MTEST] ERROR: Could not determine amount of installed memory\n\n" + Written);
    EXPECT_EQ(
        folder.Read("results.xml"),
        "<test_results><test><name>MemoryTest</name><passed>false</passed><descriptive_name/></test></test_results>\n");
}

TEST_F(SystemChecksTest, WmiDiagnosticsNeverDecideAndStopWhereWmiDoes)
{
    const std::string document = "<input_tests><test><name>MemoryTest</name></test></input_tests>";
    // The third query fails: its lines are skipped, the others come.
    ProgramResult result = Run(Machine([](nlohmann::json& machine) {
                                   machine["faults"] = {{{"call", "ExecQuery"}, {"error", "0x80041003"}, {"after", 2}}};
                               }),
                               document);
    EXPECT_EQ(result.console,
              "MemoryTest\n" +
                  WmiLines.substr(0, WmiLines.find("got computer system\ninterator\ngot memory\nCapacity")) + Written);
    EXPECT_TRUE(Passed("MemoryTest"));

    // No WMI at all, and a NULL capacity: the verdict is the same.
    result = Run(Machine([](nlohmann::json& machine) { machine.erase("wmi"); }), document);
    EXPECT_EQ(result.console, "MemoryTest\n" + Written);
    EXPECT_TRUE(Passed("MemoryTest"));

    result = Run(Machine([](nlohmann::json& machine) {
                     machine["wmi"] = {{"Win32_PhysicalMemory", {{{"Capacity", nullptr}}}}};
                 }),
                 document);
    EXPECT_EQ(result.console,
              "MemoryTest\ngot computer system\ninterator\ngot memory\ngot computer system\n" + Written);

    // A connection that fails ends the diagnostics before any query.
    result = Run(WithFault("ConnectServer", "0x80041003"), document);
    EXPECT_EQ(result.console, "MemoryTest\n" + Written);
}

TEST_F(SystemChecksTest, OsNamesAreFoundAsCaseSensitivePieces)
{
    const auto document = [](const std::string& parameters) {
        return "<input_tests><test><name>OSTest</name>" + parameters +
               "<descriptive_solution language='en'>[%wS]</descriptive_solution></test></input_tests>";
    };
    const std::filesystem::path seven = FixturePath("machines/system-checks.json");
    const std::filesystem::path xp = Xp(512ull << 20);
    const struct {
        const char* name;
        std::filesystem::path machine;
        std::string parameters;
        bool passed;
    } scenarios[] = {
        {"no parameter on XP", xp, "", true},
        {"no parameter on 7", seven, "", false},
        {"7 or Vista on XP", xp, "<parameter>Windows 7</parameter><parameter>Windows Vista</parameter>", false},
        {"letter case counts", seven, "<parameter>windows 7</parameter>", false},
        {"a later entry matches", seven, "<parameter>Windows 2000</parameter><parameter>64-bit</parameter>", true},
        {"an empty entry matches", seven, "<parameter></parameter>", true},
    };
    for (const auto& scenario : scenarios) {
        SCOPED_TRACE(scenario.name);
        Run(scenario.machine, document(scenario.parameters));
        EXPECT_EQ(Passed("OSTest"), scenario.passed);
    }

    // Without a version record there is no description: no line, an empty solution argument.
    Run(WithFault("GetVersionExW", 87), document("<parameter></parameter>"));
    EXPECT_EQ(folder.Read("results.xml"),
              "<test_results><test><name>OSTest</name><passed>false</passed><descriptive_name/>"
              "<descriptive_solution>[]</descriptive_solution></test></test_results>\n");
}

TEST_F(SystemChecksTest, WordSizeComesFromTheNativeProcessorOnlyWhereWindowsCanTell)
{
    const std::string document = "<input_tests><test><name>OSTest</name></test></input_tests>";
    // Without GetNativeSystemInfo a 32-bit program is told of an Intel processor.
    Run(Machine([](nlohmann::json& machine) { machine["kernel32Functions"] = {"GetProductInfo"}; }), document);
    EXPECT_NE(folder.Read("results.xml").find("<more_info>Microsoft Windows 7 Enterprise Edition, 32-bit (build 7600)"),
              std::string::npos);
    // Without GetProductInfo no edition.
    Run(Machine([](nlohmann::json& machine) { machine["kernel32Functions"] = {"GetNativeSystemInfo"}; }), document);
    EXPECT_NE(folder.Read("results.xml").find("<more_info>Microsoft Windows 7 , 64-bit (build 7600)"),
              std::string::npos);
}

}  // namespace
