#include "fleet/VerdictCsv.h"
#include "fleet/VerdictGrid.h"

#include <gtest/gtest.h>

namespace {

using fleet::MachineVerdicts;
using fleet::Verdict;

// A pass that did not read what it decides on, as the assessment marks it.
Verdict Unverified(std::wstring check, std::string reason)
{
    Verdict verdict{std::move(check), true, {L""}};
    verdict.state = fleet::VerdictState::Unverified;
    verdict.reason = std::move(reason);
    return verdict;
}

TEST(VerdictCsvTest, OneRowPerMachineAndCheckWithLinesAndTheReasonForMissingVerdicts)
{
    const std::vector<MachineVerdicts> machines{
        {"desktop.json",
         {},
         {Verdict{L"OSTest", true, {L"Windows 7", L"Service Pack 1"}, L"OS", {}},
          Verdict{L"FreeHardDiskSpaceTest", false, {L"12"}, L"Space", {L"Free \"500\" MB."}}}},
        {"broken.json", "profile refused: field \"version\": unknown field", {}},
        {"unread.json", {}, {Unverified(L"OSTest", "the Windows version could not be read")}},
    };
    const fleet::VerdictGrid grid(machines, {});
    ASSERT_EQ(grid.Columns().size(), 2u);
    EXPECT_EQ(
        fleet::FormatVerdictCsv(grid),
        "\"machine\",\"check\",\"verdict\",\"reason\",\"more_info\",\"solution\"\r\n"
        "\"desktop.json\",\"OSTest\",\"pass\",\"\",\"Windows 7\nService Pack 1\",\"\"\r\n"
        "\"desktop.json\",\"FreeHardDiskSpaceTest\",\"fail\",\"\",\"12\",\"Free \"\"500\"\" MB.\"\r\n"
        "\"broken.json\",\"\",\"no verdicts\",\"profile refused: field \"\"version\"\": unknown field\",\"\",\"\"\r\n"
        "\"unread.json\",\"OSTest\",\"unverified\",\"the Windows version could not be read\",\"\",\"\"\r\n");
}

TEST(VerdictCsvTest, ComparedRunsGiveTheEarlierVerdictWhereItDiffers)
{
    const std::vector<MachineVerdicts> before{
        {"a.json", {}, {Verdict{L"OSTest", true}, Verdict{L"MemoryTest", true}}},
        {"b.json", "no results document (exit code 0)", {}},
        {"c.json", {}, {Verdict{L"OSTest", true}}},
    };
    const std::vector<MachineVerdicts> after{
        {"a.json", {}, {Verdict{L"OSTest", true}, Verdict{L"MemoryTest", false}, Verdict{L"MemoryTest", true}}},
        {"b.json", {}, {Verdict{L"OSTest", true}}},
        {"c.json", "run ended by signal 9", {}},
    };
    const fleet::VerdictGrid grid(after, before);
    EXPECT_TRUE(grid.ComparesRuns());
    EXPECT_EQ(grid.Rows()[2].problemBefore, "verdicts");
    EXPECT_EQ(fleet::FormatVerdictCsv(grid),
              "\"machine\",\"check\",\"verdict\",\"reason\",\"more_info\",\"solution\",\"before\"\r\n"
              "\"a.json\",\"OSTest\",\"pass\",\"\",\"\",\"\",\"\"\r\n"
              "\"a.json\",\"MemoryTest\",\"fail\",\"\",\"\",\"\",\"pass\"\r\n"
              "\"a.json\",\"MemoryTest #2\",\"pass\",\"\",\"\",\"\",\"absent\"\r\n"
              "\"b.json\",\"OSTest\",\"pass\",\"\",\"\",\"\",\"no verdicts\"\r\n"
              "\"c.json\",\"\",\"no verdicts\",\"run ended by signal 9\",\"\",\"\",\"verdicts\"\r\n");
}

TEST(VerdictCsvTest, CellsThatASpreadsheetWouldRunShowAsText)
{
    for (const std::string formula : {"=1+1", "+1", "-2+3", "@SUM(A1)", "\t=1", "\r=1"}) {
        SCOPED_TRACE(formula);
        EXPECT_EQ(fleet::CsvCell(formula), "\"'" + formula + "\"");
    }
    EXPECT_EQ(fleet::CsvCell("a=1"), "\"a=1\"");
    EXPECT_EQ(fleet::CsvCell("=HYPERLINK(\"x\")"), "\"'=HYPERLINK(\"\"x\"\")\"");
    EXPECT_EQ(fleet::CsvCell(""), "\"\"");
}

}  // namespace
