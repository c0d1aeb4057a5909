// The bundled example on the embedded default machine, compared whole with saved documents. A
// change to any check's lines or to the default machine shows up here first; when it is meant,
// the saved files are renewed with RenewCommand and the difference is read before it is committed.

#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* RenewCommand = "tools/renew-golden.sh build/sim";

TEST(ExampleGoldenTest, DefaultMachineGivesTheSavedConsoleAndResults)
{
    ScratchFolder folder;
    const ProgramResult result =
        RunTarnwick({"-i", ExamplePath("input.xml").string(), "-o", "results.xml"}, folder.Path());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.console, ReadFileText(FixturePath("golden/example-default.console.txt")))
        << "When the change is meant, renew the golden files from the repository's top folder with: " << RenewCommand;
    EXPECT_EQ(folder.Read("results.xml"), ReadFileText(FixturePath("golden/example-default.results.xml")))
        << "When the change is meant, renew the golden files from the repository's top folder with: " << RenewCommand;
    EXPECT_TRUE(result.trace.ends_with("[TARNWICK]Successfully wrote to results.xml\n"));
}

}  // namespace
