#include "fleet/VerdictTable.h"

#include <gtest/gtest.h>

namespace {

using fleet::MachineVerdicts;

MachineVerdicts Machine(std::string name, std::vector<fleet::Verdict> verdicts, std::string problem = {})
{
    return {std::move(name), std::move(problem), std::move(verdicts)};
}

// A pass that did not read what it decides on, as the assessment marks it.
fleet::Verdict Unverified(std::wstring check)
{
    fleet::Verdict verdict{std::move(check), true};
    verdict.state = fleet::VerdictState::Unverified;
    verdict.reason = "the BIOS version could not be read";
    return verdict;
}

TEST(VerdictTableTest, MachinesAgainstChecksWithRepeatedAndMissingChecksAndRefusedProfiles)
{
    const std::vector<MachineVerdicts> machines{
        Machine("desktop.json",
                {{L"OSTest", true}, {L"FreeHardDiskSpaceTest", false}, {L"FreeHardDiskSpaceTest", true}}),
        Machine("laptop-with-long-name.json", {{L"OSTest", true}, {L"LaptopTest", false}}),
        Machine("broken.json", {}, "profile refused: field \"version\": unknown field"),
        Machine("server.json", {{L"OSTest", true}}),
        Machine("unread.json", {{L"OSTest", true}, Unverified(L"WhitelistBiosTest")}),
    };
    EXPECT_EQ(fleet::FormatVerdictTable(machines),
              "Checks\n"
              "   1  OSTest\n"
              "   2  FreeHardDiskSpaceTest\n"
              "   3  FreeHardDiskSpaceTest #2\n"
              "   4  LaptopTest\n"
              "   5  WhitelistBiosTest\n"
              "\n"
              "Machine                       1    2    3    4    5\n"
              "desktop.json               pass FAIL pass    -    -\n"
              "laptop-with-long-name.json pass    -    - FAIL    -\n"
              "broken.json                profile refused: field \"version\": unknown field\n"
              "server.json                pass    -    -    -    -\n"
              "unread.json                pass    -    -    -  unv\n"
              "\n"
              "5 machines: 1 pass every check, 1 pass with checks that did not look (unv), 2 fail at least one, 1 "
              "without verdicts\n");
}

TEST(VerdictTableTest, ChangesListOnlyTheMachinesAndVerdictsThatDiffer)
{
    const std::vector<MachineVerdicts> before{
        Machine("a.json", {{L"OSTest", true}, {L"MemoryTest", true}}),
        Machine("b.json", {{L"OSTest", true}, {L"MemoryTest", false}}),
        Machine("c.json", {{L"OSTest", true}}),
        Machine("d.json", {}, "no results document (exit code 0)"),
        Machine("e.json", {{L"OSTest", true}, {L"WhitelistBiosTest", true}}),
    };
    const std::vector<MachineVerdicts> after{
        Machine("a.json", {{L"OSTest", true}, {L"MemoryTest", true}}),
        Machine("b.json", {{L"OSTest", false}, {L"MemoryTest", false}, {L"MemoryTest", true}}),
        Machine("c.json", {}),
        Machine("d.json", {{L"OSTest", true}}),
        Machine("e.json", {{L"OSTest", true}, Unverified(L"WhitelistBiosTest")}),
    };
    EXPECT_EQ(fleet::FormatVerdictChanges(before, after),
              "b.json\n"
              "  OSTest: pass -> FAIL\n"
              "  MemoryTest #2: absent -> pass\n"
              "c.json\n"
              "  OSTest: pass -> absent\n"
              "d.json\n"
              "  run: no results document (exit code 0) -> verdicts\n"
              "  OSTest: absent -> pass\n"
              "e.json\n"
              "  WhitelistBiosTest: pass -> unv\n"
              "4 of 5 machines change, 5 verdicts in all\n");
    EXPECT_EQ(fleet::FormatVerdictChanges(before, before), "0 of 5 machines change, 0 verdicts in all\n");
}

}  // namespace
