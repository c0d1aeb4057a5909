#include "fleet/VerdictTable.h"

#include <gtest/gtest.h>

namespace {

using fleet::MachineVerdicts;

MachineVerdicts Machine(std::string name, std::vector<fleet::Verdict> verdicts, std::string problem = {})
{
    return {std::move(name), std::move(problem), std::move(verdicts)};
}

TEST(VerdictTableTest, MachinesAgainstChecksWithRepeatedAndMissingChecksAndRefusedProfiles)
{
    const std::vector<MachineVerdicts> machines{
        Machine("desktop.json",
                {{L"OSTest", true}, {L"FreeHardDiskSpaceTest", false}, {L"FreeHardDiskSpaceTest", true}}),
        Machine("laptop-with-long-name.json", {{L"OSTest", true}, {L"LaptopTest", false}}),
        Machine("broken.json", {}, "profile refused: field \"version\": unknown field"),
        Machine("server.json", {{L"OSTest", true}}),
    };
    EXPECT_EQ(fleet::FormatVerdictTable(machines),
              "Checks\n"
              "   1  OSTest\n"
              "   2  FreeHardDiskSpaceTest\n"
              "   3  FreeHardDiskSpaceTest #2\n"
              "   4  LaptopTest\n"
              "\n"
              "Machine                       1    2    3    4\n"
              "desktop.json               pass FAIL pass    -\n"
              "laptop-with-long-name.json pass    -    - FAIL\n"
              "broken.json                profile refused: field \"version\": unknown field\n"
              "server.json                pass    -    -    -\n"
              "\n"
              "4 machines: 1 pass every check, 2 fail at least one, 1 without verdicts\n");
}

TEST(VerdictTableTest, ChangesListOnlyTheMachinesAndVerdictsThatDiffer)
{
    const std::vector<MachineVerdicts> before{
        Machine("a.json", {{L"OSTest", true}, {L"MemoryTest", true}}),
        Machine("b.json", {{L"OSTest", true}, {L"MemoryTest", false}}),
        Machine("c.json", {{L"OSTest", true}}),
        Machine("d.json", {}, "no results document (exit code 0)"),
    };
    const std::vector<MachineVerdicts> after{
        Machine("a.json", {{L"OSTest", true}, {L"MemoryTest", true}}),
        Machine("b.json", {{L"OSTest", false}, {L"MemoryTest", false}, {L"MemoryTest", true}}),
        Machine("c.json", {}),
        Machine("d.json", {{L"OSTest", true}}),
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
              "3 of 4 machines change, 4 verdicts in all\n");
    EXPECT_EQ(fleet::FormatVerdictChanges(before, before), "0 of 4 machines change, 0 verdicts in all\n");
}

}  // namespace
