// The BIOS, motherboard and processor black and white lists, end to end: exact comparison (no
// trimming, no case folding, ", " between BIOS pieces), the first processor only, and what the
// checks do when the registry or WMI has nothing to give.

#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

const std::string EchoedNames =
    "BlacklistBiosTest\nWhitelistBiosTest\nBlacklistMotherboardTest\n"
    "WhitelistMotherboardTest\nBlacklistProcessorTest\nWhitelistProcessorTest\n";
const std::string Written = "writing xml and deallocating tests\n";

std::string Result(const std::string& name, bool passed, const std::vector<std::string>& moreInfo,
                   const std::string& descriptiveName, const std::string& solution = "")
{
    std::string text = "<test><name>" + name + "</name><passed>" + (passed ? "true" : "false") + "</passed>";
    for (const std::string& line : moreInfo) {
        text += line.empty() ? "<more_info/>" : "<more_info>" + line + "</more_info>";
    }
    text += "<descriptive_name>" + descriptiveName + "</descriptive_name>";
    if (!solution.empty()) {
        text += "<descriptive_solution>" + solution + "</descriptive_solution>";
    }
    return text + "</test>";
}

class IdentityListTest : public ::testing::Test {
protected:
    ProgramResult Run(const std::filesystem::path& machine)
    {
        const std::string input = FixturePath("documents/identity-lists.xml").string();
        return RunTarnwick({"-i", input, "-o", "results.xml"}, folder.Path(), machine);
    }

    ScratchFolder folder;
};

TEST_F(IdentityListTest, IdentitiesAreComparedExactlyAndRecordedAsTheyAre)
{
    const ProgramResult result = Run(FixturePath("machines/pentium4-asus.json"));
    EXPECT_EQ(result.exitCode, 0);
    const std::string board = "ASUSTeK Computer INC.  P5GD1";
    const std::string boardLines =
        "MOTHERBOARD MANUFACTURER: ASUSTeK Computer INC. \nMOTHERBOARD PRODUCT: P5GD1\n"
        "MOTHERBOARD: " +
        board + "\n";
    EXPECT_EQ(result.console, EchoedNames + boardLines + boardLines + Written);
    const std::string bios = "ASUS   - 42302e31, BIOS Date: 03/15/05 11:24:35 Ver: 08.00.10, 100% AMI";
    const std::string processor = "              Intel(R) Pentium(R) 4 CPU 3.00GHz";
    EXPECT_EQ(
        folder.Read("results.xml"),
        "<test_results>" +
            // A single piece and the date do not match the joined version.
            Result("BlacklistBiosTest", true, {bios, "03/15/05"}, "BIOS black list") +
            // Listed twice: passes, no solution.
            Result("WhitelistBiosTest", true, {bios, "03/15/05"}, "BIOS white list") +
            // Listed twice: the solution once.
            Result("BlacklistMotherboardTest", false, {board}, "Board black list", "This board is not supported.") +
            // One blank fewer is another board.
            Result("WhitelistMotherboardTest", false, {board}, "Board white list",
                   "Only tested boards are supported.") +
            // The leading blanks count; the processor lists never add a solution.
            Result("BlacklistProcessorTest", true, {processor}, "Processor black list") +
            Result("WhitelistProcessorTest", false, {processor}, "Processor white list") + "</test_results>\n");
}

TEST_F(IdentityListTest, UnreadableIdentitiesPassTheBoardAndProcessorListsWithoutARecord)
{
    // No BIOS key and no WMI classes: the BIOS strings are empty, WMI queries fail.
    const std::filesystem::path machine = folder.Write("bare.json", R"({"description": "nothing to read"})");
    const ProgramResult result = Run(machine);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.console, EchoedNames + Written);
    EXPECT_EQ(folder.Read("results.xml"),
              "<test_results>" + Result("BlacklistBiosTest", true, {"", ""}, "BIOS black list") +
                  Result("WhitelistBiosTest", false, {"", ""}, "BIOS white list", "Use a tested BIOS.") +
                  Result("BlacklistMotherboardTest", true, {}, "Board black list") +
                  Result("WhitelistMotherboardTest", true, {}, "Board white list") +
                  Result("BlacklistProcessorTest", true, {}, "Processor black list") +
                  Result("WhitelistProcessorTest", true, {}, "Processor white list") + "</test_results>\n");
}

TEST_F(IdentityListTest, WmiWithoutTextCountsAsAnEmptyIdentity)
{
    // The board class has no instance; the processor's name is NULL.
    const std::filesystem::path machine = folder.Write("empty.json", R"({"wmi": {
        "Win32_BaseBoard": [], "Win32_Processor": [{"Name": null}]}})");
    const ProgramResult result = Run(machine);
    const std::string boardLines = "MOTHERBOARD MANUFACTURER: \nMOTHERBOARD PRODUCT: \nMOTHERBOARD:  \n";
    EXPECT_EQ(result.console, EchoedNames + boardLines + boardLines + Written);
    const std::string results = folder.Read("results.xml");
    EXPECT_NE(results.find(Result("BlacklistMotherboardTest", true, {" "}, "Board black list")), std::string::npos);
    EXPECT_NE(results.find(Result("WhitelistProcessorTest", false, {""}, "Processor white list")), std::string::npos);
}

TEST_F(IdentityListTest, WmiTextEndsAtItsFirstNullCharacter)
{
    // What is compared is what is printed and recorded, so that update mode can copy it.
    const std::filesystem::path machine = folder.Write("nul.json", R"({"wmi": {
        "Win32_BaseBoard": [{"Manufacturer": "ASUSTeK Computer INC. \u0000junk", "Product": "P5GD1\u0000"}],
        "Win32_Processor": [{"Name": "Intel(R) Pentium(R) 4 CPU 3.00GHz\u0000 x"}]}})");
    const ProgramResult result = Run(machine);
    const std::string board = "ASUSTeK Computer INC.  P5GD1";
    const std::string boardLines =
        "MOTHERBOARD MANUFACTURER: ASUSTeK Computer INC. \nMOTHERBOARD PRODUCT: P5GD1\n"
        "MOTHERBOARD: " +
        board + "\n";
    EXPECT_EQ(result.console, EchoedNames + boardLines + boardLines + Written);
    const std::string results = folder.Read("results.xml");
    EXPECT_NE(results.find(Result("BlacklistMotherboardTest", false, {board}, "Board black list",
                                  "This board is not supported.")),
              std::string::npos)
        << results;
    EXPECT_NE(results.find(Result("BlacklistProcessorTest", false, {"Intel(R) Pentium(R) 4 CPU 3.00GHz"},
                                  "Processor black list")),
              std::string::npos)
        << results;
}

TEST_F(IdentityListTest, FailedProductReadKeepsTheManufacturerLineAndPasses)
{
    // Every Get after the first fails: the manufacturer is read, the product and processor are not.
    const std::filesystem::path machine = folder.Write("flaky.json", R"({"wmi": {
        "Win32_BaseBoard": [{"Manufacturer": "Dell Inc.", "Product": "0M858N"}],
        "Win32_Processor": [{"Name": "P"}]},
        "faults": [{"call": "Get", "error": "0x80041001", "after": 1}]})");
    const ProgramResult result = Run(machine);
    EXPECT_EQ(result.console, EchoedNames + "MOTHERBOARD MANUFACTURER: Dell Inc.\n" + Written);
    const std::string results = folder.Read("results.xml");
    EXPECT_NE(results.find(Result("BlacklistMotherboardTest", true, {}, "Board black list")), std::string::npos);
    EXPECT_NE(results.find(Result("WhitelistMotherboardTest", true, {}, "Board white list")), std::string::npos);
    EXPECT_NE(results.find(Result("WhitelistProcessorTest", true, {}, "Processor white list")), std::string::npos);
}

TEST_F(IdentityListTest, PlainStringBiosVersionIsComparedUnchanged)
{
    const std::filesystem::path machine = folder.Write("plain.json", R"({"registry": {"HARDWARE\\Description\\System":
        {"values": {"SystemBiosVersion": {"type": "REG_SZ", "data": "ASUS   - 42302e31"}}}}})");
    const ProgramResult result = Run(machine);
    const std::string results = folder.Read("results.xml");
    EXPECT_NE(results.find(Result("BlacklistBiosTest", false, {"ASUS   - 42302e31", ""}, "BIOS black list",
                                  "Update the BIOS (100%).")),
              std::string::npos)
        << results;
}

TEST_F(IdentityListTest, BiosValueFormsAndAbsencesGiveTheirStrings)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        // An empty piece ends the value.
        {R"("SystemBiosVersion": {"type": "REG_MULTI_SZ", "data": ["A", "", "B"]})", "A"},
        {R"("SystemBiosVersion": {"type": "REG_MULTI_SZ", "data": []})", ""},
        {R"("SystemBiosVersion": {"type": "REG_SZ", "data": ""})", ""},
        // No bytes at all, not even a terminator.
        {R"("SystemBiosVersion": {"type": "REG_BINARY", "data": ""})", ""},
        // The key without the value.
        {R"("Identifier": {"type": "REG_SZ", "data": "AT compatible"})", ""},
    };
    for (const auto& [value, version] : cases) {
        const std::filesystem::path machine = folder.Write(
            "bios.json", R"({"registry": {"HARDWARE\\Description\\System": {"values": {)" + value + "}}}}");
        ASSERT_EQ(Run(machine).exitCode, 0) << value;
        const std::string results = folder.Read("results.xml");
        EXPECT_NE(
            results.find(Result("WhitelistBiosTest", false, {version, ""}, "BIOS white list", "Use a tested BIOS.")),
            std::string::npos)
            << value << "\n"
            << results;
        std::filesystem::remove(folder.Path() / "results.xml");
    }
}

}  // namespace
