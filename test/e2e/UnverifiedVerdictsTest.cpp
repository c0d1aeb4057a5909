// A whitelist with an empty entry, as update mode writes it from a machine whose BIOS could not be
// read: every machine whose BIOS cannot be read then passes without having looked. The fleet's
// table, CSV files and page, and tarnwick-report over the collected results documents (with and
// without their consoles), must show those passes as unverified with their reason and count them
// apart, and a fail that comes only from a read that failed must keep its reason.

#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>

namespace {

constexpr const char* Input = R"(<input_tests>
<test><name>WhitelistBiosTest</name><parameter></parameter>
<descriptive_name language="en">Approved BIOS</descriptive_name></test>
<test><name>MemoryTest</name><parameter>256</parameter>
<descriptive_name language="en">Enough memory</descriptive_name></test>
</input_tests>)";

constexpr const char* BiosUnread = "the BIOS version could not be read and the list holds an empty entry";
constexpr const char* MemoryUnread = "the installed memory could not be read";

class UnverifiedVerdictsTest : public testing::Test {
protected:
    void SetUp() override
    {
        const nlohmann::json readable = nlohmann::json::parse(ReadFileText(ExamplePath("machines/default.json")));
        nlohmann::json noBios = readable;
        noBios["registry"]["HARDWARE\\Description\\System"]["values"].erase("SystemBiosVersion");
        nlohmann::json noMemory = readable;
        noMemory["faults"] = nlohmann::json::array({{{"call", "GlobalMemoryStatusEx"}, {"error", 5}}});
        scratch_.Write("fleet/readable.json", readable.dump());
        scratch_.Write("fleet/no-bios.json", noBios.dump());
        scratch_.Write("fleet/no-memory.json", noMemory.dump());
        scratch_.Write("input.xml", Input);
    }

    // The row of the CSV text that starts with start, without its line end; empty when none does.
    static std::string Row(const std::string& csv, const std::string& start)
    {
        const std::size_t at = csv.find("\r\n" + start);
        return at == std::string::npos ? "" : csv.substr(at + 2, csv.find("\r\n", at + 2) - at - 2);
    }

    ScratchFolder scratch_;
};

TEST_F(UnverifiedVerdictsTest, TheFleetTellsPassesThatNeverLookedAndFailsThatCouldNotRead)
{
    const ProgramResult run = RunProgram(
        TARNWICK_FLEET, {"-i", "input.xml", "--html", "page.html", "--csv", "v.csv", "--machines", "m.csv", "fleet"},
        scratch_.Path());
    ASSERT_EQ(run.exitCode, 0) << run.trace;
    EXPECT_NE(run.console.find("no-bios.json    unv pass\n"), std::string::npos) << run.console;
    EXPECT_NE(run.console.find(
                  "3 machines: 0 pass every check, 1 pass with checks that did not look (unv), 2 fail at least one"),
              std::string::npos)
        << run.console;

    const std::string verdicts = scratch_.Read("v.csv");
    EXPECT_EQ(Row(verdicts, "\"no-bios.json\",\"WhitelistBiosTest\""),
              std::string("\"no-bios.json\",\"WhitelistBiosTest\",\"unverified\",\"") + BiosUnread +
                  "\",\"\n05/07/12\",\"\"");
    EXPECT_EQ(Row(verdicts, "\"no-memory.json\",\"MemoryTest\""),
              std::string("\"no-memory.json\",\"MemoryTest\",\"fail\",\"") + MemoryUnread + "\",\"\",\"\"");
    EXPECT_EQ(Row(verdicts, "\"readable.json\",\"WhitelistBiosTest\"").substr(0, 51),
              "\"readable.json\",\"WhitelistBiosTest\",\"fail\",\"\",\"DELL");

    const std::string machines = scratch_.Read("m.csv");
    EXPECT_TRUE(
        Row(machines, "\"no-bios.json\"").starts_with("\"no-bios.json\",\"not verified\",\"\",\"WhitelistBiosTest\""));
    EXPECT_TRUE(Row(machines, "\"no-memory.json\"")
                    .starts_with("\"no-memory.json\",\"blocked\",\"WhitelistBiosTest;MemoryTest\",\"\""));

    const std::string page = scratch_.Read("page.html");
    EXPECT_NE(page.find(BiosUnread), std::string::npos);
    EXPECT_NE(page.find(MemoryUnread), std::string::npos);
}

TEST_F(UnverifiedVerdictsTest, TheReportTellsThemFromCollectedDocumentsAndTheirConsoles)
{
    std::filesystem::create_directory(scratch_.Path() / "collected");
    for (const char* machine : {"no-bios", "no-memory"}) {
        const ProgramResult run =
            RunTarnwick({"-i", "input.xml", "-o", std::string("collected/") + machine + ".xml"}, scratch_.Path(),
                        scratch_.Path() / "fleet" / (std::string(machine) + ".json"));
        ASSERT_EQ(run.exitCode, 0) << run.trace;
        if (std::string(machine) == "no-memory") {
            scratch_.Write("collected/no-memory-console.txt", run.console);
        }
    }
    const ProgramResult report = RunProgram(
        TARNWICK_REPORT, {"-o", "report.html", "--csv", "v.csv", "--machines", "m.csv", "collected"}, scratch_.Path());
    ASSERT_EQ(report.exitCode, 0) << report.trace;
    const std::string verdicts = scratch_.Read("v.csv");
    // The empty first line of the BIOS check tells it from the results document alone.
    EXPECT_TRUE(Row(verdicts, "\"no-bios.xml\",\"WhitelistBiosTest\"")
                    .starts_with(std::string("\"no-bios.xml\",\"WhitelistBiosTest\",\"unverified\",\"") + BiosUnread));
    // The memory check says why it failed only on the console, which was collected for this one.
    EXPECT_EQ(Row(verdicts, "\"no-memory.xml\",\"MemoryTest\""),
              std::string("\"no-memory.xml\",\"MemoryTest\",\"fail\",\"") + MemoryUnread + "\",\"\",\"\"");
    EXPECT_TRUE(Row(scratch_.Read("m.csv"), "\"no-bios.xml\"").starts_with("\"no-bios.xml\",\"not verified\""));
}

}  // namespace
