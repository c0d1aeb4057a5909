// The bundled example on the embedded default machine, compared whole with saved documents. A
// change to any check's lines or to the default machine shows up here first; when it is meant,
// the saved files are renewed from the repository's top folder with
//   build/sim/tarnwick -i examples/input.xml -o test/fixtures/golden/example-default.results.xml -f
//   > test/fixtures/golden/example-default.console.txt
// (one command line) and the difference is read before it is committed.

#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(ExampleGoldenTest, DefaultMachineGivesTheSavedConsoleAndResults)
{
    ScratchFolder folder;
    const ProgramResult result =
        RunTarnwick({"-i", ExamplePath("input.xml").string(), "-o", "results.xml"}, folder.Path());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.console, ReadFileText(FixturePath("golden/example-default.console.txt")));
    EXPECT_EQ(folder.Read("results.xml"), ReadFileText(FixturePath("golden/example-default.results.xml")));
    EXPECT_TRUE(result.trace.ends_with("[TARNWICK]Successfully wrote to results.xml\n"));
}

}  // namespace
