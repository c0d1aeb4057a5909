// The first checks, run end to end against fixture machines: each machine answers all five, and
// the results document is compared whole.

#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

const std::string EchoedNames =
    "SystemDriveAccessibleByLetterDriveTest\nMSXML3Test\nMSSecurityEssentialsInstalledTest\n"
    "ReadyBoostTest\nReadyDriveTest\nwriting xml and deallocating tests\n";
const std::string PresenceLine = "<more_info>Checks only if the feature is present, not if it is running</more_info>";

class SpineChecksTest : public ::testing::Test {
protected:
    ProgramResult Run(const std::string& machine)
    {
        const std::string input = FixturePath("documents/spine-checks.xml").string();
        return RunTarnwick({"-i", input, "-o", "results.xml"}, folder.Path(), FixturePath("machines/" + machine));
    }

    ScratchFolder folder;
};

TEST_F(SpineChecksTest, DefaultMachinePassesEveryCheck)
{
    const std::string input = FixturePath("documents/spine-checks.xml").string();
    const ProgramResult result = RunTarnwick({"-i", input, "-o", "results.xml"}, folder.Path());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.console, EchoedNames);
    EXPECT_EQ(folder.Read("results.xml"),
              "<test_results>"
              "<test><name>SystemDriveAccessibleByLetterDriveTest</name><passed>true</passed>"
              "<more_info>C:\\Windows\\system32</more_info><descriptive_name>System drive</descriptive_name>"
              "<descriptive_solution>Windows lies in C:\\Windows\\system32.</descriptive_solution></test>"
              "<test><name>MSXML3Test</name><passed>true</passed><descriptive_name>MSXML 3</descriptive_name></test>"
              "<test><name>MSSecurityEssentialsTest</name><passed>true</passed>"
              "<descriptive_name>No Security Essentials</descriptive_name></test>"
              "<test><name>ReadyBoostTest</name><passed>true</passed>" +
                  PresenceLine +
                  "<descriptive_name>ReadyBoost</descriptive_name></test>"
                  "<test><name>ReadyDriveTest</name><passed>true</passed>" +
                  PresenceLine +
                  "<descriptive_name>ReadyDrive</descriptive_name></test>"
                  "</test_results>\n");
}

TEST_F(SpineChecksTest, VistaWorkstationWithSecurityEssentialsFailsFourChecks)
{
    const ProgramResult result = Run("vista-workstation.json");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.console, EchoedNames);
    EXPECT_EQ(folder.Read("results.xml"),
              "<test_results>"
              "<test><name>SystemDriveAccessibleByLetterDriveTest</name><passed>true</passed>"
              "<more_info>D:\\WINDOWS\\system32</more_info><descriptive_name>System drive</descriptive_name>"
              "<descriptive_solution>Windows lies in D:\\WINDOWS\\system32.</descriptive_solution></test>"
              "<test><name>MSXML3Test</name><passed>false</passed><descriptive_name>MSXML 3</descriptive_name></test>"
              "<test><name>MSSecurityEssentialsTest</name><passed>false</passed>"
              "<descriptive_name>No Security Essentials</descriptive_name></test>"
              "<test><name>ReadyBoostTest</name><passed>false</passed>" +
                  PresenceLine +
                  "<descriptive_name>ReadyBoost</descriptive_name></test>"
                  "<test><name>ReadyDriveTest</name><passed>false</passed>" +
                  PresenceLine +
                  "<descriptive_name>ReadyDrive</descriptive_name></test>"
                  "</test_results>\n");
    EXPECT_TRUE(
        result.trace.ends_with("[TARNWICK] Performing Test SystemDriveAccessibleByLetterDriveTest\n"
                               "[TARNWICK] Performing Test MSXML3Test\n"
                               "[TARNWICK] Performing Test MSSecurityEssentialsTest\n"
                               "[TARNWICK] Performing Test ReadyBoostTest\n"
                               "[TARNWICK] Performing Test ReadyDriveTest\n"
                               "[TARNWICK]Successfully wrote to results.xml\n"))
        << result.trace;
}

TEST_F(SpineChecksTest, UnreadablePlatformFailsTheDriveCheckAndPassesTheReadyChecks)
{
    const ProgramResult result = Run("broken-platform.json");
    EXPECT_EQ(result.exitCode, 0);
    // The version line is printed once per ready check, each with the console's own line end.
    EXPECT_EQ(result.console,
              "SystemDriveAccessibleByLetterDriveTest\nMSXML3Test\nMSSecurityEssentialsInstalledTest\n"
              "ReadyBoostTest\nReadyDriveTest\n"
              "Couldn't get the os information\n\n"
              "Couldn't get the os information\n\n"
              "writing xml and deallocating tests\n");
    const std::string results = folder.Read("results.xml");
    EXPECT_NE(results.find("<test><name>SystemDriveAccessibleByLetterDriveTest</name><passed>false</passed>"
                           "<descriptive_name>System drive</descriptive_name></test>"),
              std::string::npos)
        << results;
    EXPECT_NE(results.find("<test><name>ReadyBoostTest</name><passed>true</passed>" + PresenceLine), std::string::npos);
    EXPECT_NE(results.find("<test><name>ReadyDriveTest</name><passed>true</passed>" + PresenceLine), std::string::npos);
}

TEST_F(SpineChecksTest, SystemDirectoryWithoutDriveLetterFails)
{
    const ProgramResult result = Run("unc-system-directory.json");
    EXPECT_EQ(result.exitCode, 0);
    const std::string results = folder.Read("results.xml");
    EXPECT_NE(results.find("<test><name>SystemDriveAccessibleByLetterDriveTest</name><passed>false</passed>"
                           "<more_info>\\\\?\\GLOBALROOT\\Device\\HarddiskVolume2\\WINDOWS\\system32</more_info>"
                           "<descriptive_name>System drive</descriptive_name>"
                           "<descriptive_solution>Windows lies in "
                           "\\\\?\\GLOBALROOT\\Device\\HarddiskVolume2\\WINDOWS\\system32.</descriptive_solution>"),
              std::string::npos)
        << results;
    // Library names are found whatever their letter case; NT 5.1 has no ready features.
    EXPECT_NE(results.find("<test><name>MSXML3Test</name><passed>true</passed>"), std::string::npos);
    EXPECT_NE(results.find("<test><name>ReadyBoostTest</name><passed>true</passed>"), std::string::npos);
}

TEST_F(SpineChecksTest, SystemDriveLettersRunFromAToZInEitherCase)
{
    // The characters on each side of both ranges: "@" and "[" around "A" to "Z", "`" and "{"
    // around "a" to "z".
    const std::vector<std::pair<std::string, bool>> letters{
        {"A", true},  {"Z", true},  {"a", true},  {"z", true},  {"B", true},  {"y", true},
        {"@", false}, {"[", false}, {"`", false}, {"{", false}, {"1", false},
    };
    const std::string input = folder
                                  .Write("in.xml",
                                         "<input_tests><test><name>SystemDriveAccessibleByLetterDriveTest</name>"
                                         "<descriptive_name language='en'>System drive</descriptive_name>"
                                         "</test></input_tests>")
                                  .string();
    for (const auto& [letter, passes] : letters) {
        SCOPED_TRACE(letter);
        const std::string systemDirectory = letter + ":\\WINDOWS\\system32";
        const std::filesystem::path machine =
            folder.Write("machine.json", R"({"systemDirectory": ")" + letter + R"(:\\WINDOWS\\system32"})");
        const ProgramResult result = RunTarnwick({"-i", input, "-o", "results.xml", "-f"}, folder.Path(), machine);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(folder.Read("results.xml"),
                  std::string("<test_results><test><name>SystemDriveAccessibleByLetterDriveTest</name><passed>") +
                      (passes ? "true" : "false") + "</passed><more_info>" + systemDirectory +
                      "</more_info><descriptive_name>System drive</descriptive_name></test></test_results>\n");
    }
}

}  // namespace
