// The run mode's command line: options, usage text, exit codes and the trace that frames a run.

#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

const std::string UsageText =
    "Performs a variety of system tests based on the mandatory input xml file.\n"
    "If you wish to update the input xml file, you may use this program.\n"
    "For update instructions, use \"Tarnwick.exe -update /?\"\n"
    "\n"
    "Tarnwick.exe -i inputFile [-o outputFile] [-f]\n"
    "-i      Follow with the name of the input xml file that specifies which tests to run.\n"
    "-o      (Optional) Follow with the name of the output xml file that the results are written to.\n"
    "-f      Force writing the output xml file regardless of whether a file with that name exists.\n"
    "\n";

const std::string OneTestInput = "<input_tests><test><name>MSXML3Test</name></test></input_tests>";

class CommandLineTest : public ::testing::Test {
protected:
    ScratchFolder folder;
};

TEST_F(CommandLineTest, NoArgumentsTracesTheProgramPathAndPrintsUsage)
{
    const ProgramResult result = RunTarnwick({}, folder.Path());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.console, UsageText);
    EXPECT_EQ(result.trace, "[TARNWICK] " TARNWICK_PROGRAM
                            "\n"
                            "[TARNWICK] " TARNWICK_PROGRAM
                            " is an invalid command line argument\n"
                            "[TARNWICK] Couldn't find file (null)\n");
}

TEST_F(CommandLineTest, WholeRunIsTracedStepByStep)
{
    folder.Write("in.xml",
                 "<input_tests><test><name>MSXML3Test</name>"
                 "<descriptive_name language=\"en\">XML parser</descriptive_name>"
                 "<descriptive_solution language=\"de\">Installieren</descriptive_solution></test>"
                 "<test><name>Nope</name></test><test><name>msxml3test</name></test></input_tests>");
    const ProgramResult result = RunTarnwick({"-i", "in.xml", "-l", "en"}, folder.Path());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.console, "MSXML3Test\nNope\nmsxml3test\nwriting xml and deallocating tests\n");
    EXPECT_EQ(result.trace, "[TARNWICK] " TARNWICK_PROGRAM
                            " -i in.xml -l en\n"
                            "[TARNWICK] " TARNWICK_PROGRAM
                            " is an invalid command line argument\n"
                            "[TARNWICK] Found file in.xml\n"
                            "[TARNWICK] Read from in.xml\n"
                            "[TARNWICK] Attempting to allocate a test with name MSXML3Test\n"
                            "[TARNWICK] there are 1 descriptive_name nodes\n"
                            "[TARNWICK] list length = 1\n"
                            "[TARNWICK] language = en\n"
                            "[TARNWICK] Language OK"
                            "[TARNWICK] there are 1 descriptive_solution nodes\n"
                            "[TARNWICK] list length = 1\n"
                            "[TARNWICK] language = de\n"
                            "[TARNWICK] Attempting to allocate a test with name Nope\n"
                            "[TARNWICK] Couldn't find a matching Test\n"
                            "[TARNWICK] Attempting to allocate a test with name msxml3test\n"
                            "[TARNWICK]Successfully read from in.xml\n"
                            "[TARNWICK] Performing Test MSXML3Test\n"
                            "[TARNWICK] Performing Test MSXML3Test\n"
                            "[TARNWICK]Successfully wrote to out.xml\n");
    EXPECT_EQ(folder.Read("out.xml"),
              "<test_results><test><name>MSXML3Test</name><passed>true</passed>"
              "<descriptive_name>XML parser</descriptive_name></test>"
              "<test><name>MSXML3Test</name><passed>true</passed><descriptive_name/></test>"
              "</test_results>\n");
}

TEST_F(CommandLineTest, OptionWithoutValueStopsWithItsOwnTraceLine)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"-i", "[TARNWICK] -i followed by input xml file name\n"},
        {"-o", "[TARNWICK] -o followed by output xml file name\n"},
        {"-l", "[TARNWICK] -l followed by the desired language\n"},
    };
    for (const auto& [option, message] : cases) {
        const ProgramResult result = RunTarnwick({"-i", "in.xml", option}, folder.Path());
        EXPECT_EQ(result.exitCode, 1) << option;
        EXPECT_EQ(result.console, UsageText) << option;
        EXPECT_TRUE(result.trace.ends_with(message)) << result.trace;
    }
}

TEST_F(CommandLineTest, UsageRequestStopsBeforeLaterArguments)
{
    const ProgramResult result = RunTarnwick({"-i", "in.xml", "/?", "-x"}, folder.Path());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.console, UsageText);
    EXPECT_EQ(result.trace.find("-x is an invalid"), std::string::npos);
}

TEST_F(CommandLineTest, UnknownArgumentIsTracedAndTheRunGoesOn)
{
    folder.Write("in.xml", OneTestInput);
    const ProgramResult result = RunTarnwick({"-i", "in.xml", "-x", "-I"}, folder.Path());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.trace.find("[TARNWICK] -x is an invalid command line argument\n"), std::string::npos);
    EXPECT_NE(result.trace.find("[TARNWICK] -I is an invalid command line argument\n"), std::string::npos);
    EXPECT_TRUE(folder.Exists("out.xml"));
}

TEST_F(CommandLineTest, ExistingOutputIsRefusedWithoutForce)
{
    folder.Write("in.xml", OneTestInput);
    folder.Write("out.xml", "old");
    const ProgramResult refused = RunTarnwick({"-i", "in.xml"}, folder.Path());
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.console, "out.xml already exists. To force an overwrite, use -f\n");
    EXPECT_TRUE(refused.trace.ends_with(
        "[TARNWICK] Found file in.xml\nout.xml already exists. To force an overwrite, use -f\n"));
    EXPECT_EQ(folder.Read("out.xml"), "old");

    const ProgramResult forced = RunTarnwick({"-i", "in.xml", "-f"}, folder.Path());
    EXPECT_EQ(forced.exitCode, 0);
    EXPECT_NE(folder.Read("out.xml"), "old");
}

TEST_F(CommandLineTest, FileNamesMatchWithoutRegardToCase)
{
    // Windows names files without regard to letter case: IN.XML is in.xml, and OUT.XML exists
    // when out.xml does.
    folder.Write("in.xml", OneTestInput);
    folder.Write("out.xml", "old");
    const ProgramResult refused = RunTarnwick({"-i", "IN.XML", "-o", "OUT.XML"}, folder.Path());
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.console, "OUT.XML already exists. To force an overwrite, use -f\n");

    const ProgramResult forced = RunTarnwick({"-i", "IN.XML", "-o", "OUT.XML", "-f"}, folder.Path());
    EXPECT_EQ(forced.exitCode, 0);
    EXPECT_TRUE(forced.trace.ends_with("[TARNWICK]Successfully wrote to OUT.XML\n")) << forced.trace;
    // The old file went and the new one took the name as the command line spells it.
    EXPECT_FALSE(folder.Exists("out.xml"));
    EXPECT_TRUE(folder.Read("OUT.XML").starts_with("<test_results>"));
}

TEST_F(CommandLineTest, OutputLookupIsAPatternSearch)
{
    folder.Write("in.xml", OneTestInput);
    folder.Write("results-1.xml", "old");
    const ProgramResult result = RunTarnwick({"-i", "in.xml", "-o", "results-?.xml"}, folder.Path());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.console, "results-?.xml already exists. To force an overwrite, use -f\n");
}

TEST_F(CommandLineTest, OutputPathEndingInASeparatorFindsNothing)
{
    // The lookup finds no entry for "folder\", so the run goes on and fails only when the old
    // "file" cannot be deleted.
    folder.Write("in.xml", OneTestInput);
    std::filesystem::create_directory(folder.Path() / "results");
    const ProgramResult result = RunTarnwick({"-i", "in.xml", "-o", "results/"}, folder.Path());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(
        result.trace.ends_with("[TARNWICK] Could not overwrite results/. Exiting...\n"
                               "[TARNWICK]Error writing to results/\n"
                               "FAILURE RUNNING TARNWICK.EXE\n"))
        << result.trace;
}

TEST_F(CommandLineTest, LastOccurrenceOfAnOptionWins)
{
    folder.Write("in.xml", OneTestInput);
    const ProgramResult result =
        RunTarnwick({"-o", "first.xml", "-i", "missing.xml", "-i", "in.xml", "-o", "second.xml"}, folder.Path());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_FALSE(folder.Exists("first.xml"));
    EXPECT_TRUE(folder.Exists("second.xml"));
}

TEST_F(CommandLineTest, ValueIsTakenEvenWhenItLooksLikeAnOption)
{
    folder.Write("-o", OneTestInput);
    const ProgramResult result = RunTarnwick({"-i", "-o"}, folder.Path());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.trace.find("[TARNWICK] Found file -o\n"), std::string::npos);
    EXPECT_TRUE(folder.Exists("out.xml"));
}

TEST_F(CommandLineTest, MissingInputFileFailsTheRunButNotTheExitCode)
{
    const ProgramResult result = RunTarnwick({"-i", "nowhere.xml"}, folder.Path());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.console, "");
    EXPECT_TRUE(
        result.trace.ends_with("[TARNWICK] Found file nowhere.xml\n"
                               "[TARNWICK] Couldn't read from nowhere.xml\nERROR = 1\n"
                               "[TARNWICK] Error reading from nowhere.xml\n"
                               "FAILURE RUNNING TARNWICK.EXE\n"))
        << result.trace;
    EXPECT_FALSE(folder.Exists("out.xml"));
}

TEST_F(CommandLineTest, UpdateWordInLowerCaseOnlySwitchesMode)
{
    folder.Write("in.xml", OneTestInput);
    const ProgramResult upper = RunTarnwick({"-i", "in.xml", "-UPDATE"}, folder.Path());
    EXPECT_EQ(upper.exitCode, 0);
    EXPECT_NE(upper.trace.find("[TARNWICK] -UPDATE is an invalid command line argument\n"), std::string::npos);

    // After -i as well: the update mode refuses a command line without -o, and the run mode
    // never starts (its first act would be to trace the command line).
    const ProgramResult lower = RunTarnwick({"-i", "in.xml", "-update"}, folder.Path());
    EXPECT_EQ(lower.exitCode, 1);
    EXPECT_TRUE(lower.console.starts_with("Updates the input xml using an output xml file created by Tarnwick.exe\n"))
        << lower.console;
    EXPECT_EQ(lower.trace, "");
}

}  // namespace
