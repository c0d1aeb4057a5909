// Writing the results document, and what happens when the platform refuses a step of it.

#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

const std::string TwoTests =
    "<input_tests><test><name>MSXML3Test</name></test>"
    "<test><name>ReadyBoostTest</name></test></input_tests>";
const std::string BaseMachine = R"("systemDirectory": "C:\\Windows\\system32", "libraries": ["msxml3.dll"],
  "version": { "major": 6, "minor": 1, "build": 7601, "platformId": 2, "servicePack": "",
               "servicePackMajor": 0, "servicePackMinor": 0, "suiteMask": 0, "productType": 1 })";

class ResultsDocumentTest : public ::testing::Test {
protected:
    // Runs TwoTests on the base machine with the given faults (a JSON array's members).
    ProgramResult RunWithFaults(const std::string& faults, std::vector<std::string> extra = {},
                                WrittenResults written = WrittenResults::Whole)
    {
        folder.Write("in.xml", TwoTests);
        const auto profile = folder.Write("machine.json", "{" + BaseMachine + ", \"faults\": [" + faults + "]}");
        std::vector<std::string> arguments{"-i", "in.xml"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return RunTarnwick(arguments, folder.Path(), profile, written);
    }

    ScratchFolder folder;
};

TEST_F(ResultsDocumentTest, ReservedCharactersAreEscapedAndReadBack)
{
    folder.Write("in.xml",
                 "<input_tests><test><name>SystemDriveAccessibleByLetterDriveTest</name>"
                 "<descriptive_name language=\"en\">Drive &lt;letter&gt; &amp; &quot;path&quot;</descriptive_name>"
                 "</test></input_tests>");
    const auto profile = folder.Write("machine.json", R"({"systemDirectory": "C:\\A&B <new>\\system32"})");
    const ProgramResult result = RunTarnwick({"-i", "in.xml"}, folder.Path(), profile);
    EXPECT_EQ(folder.Read("out.xml"),
              "<test_results><test><name>SystemDriveAccessibleByLetterDriveTest</name><passed>true</passed>"
              "<more_info>C:\\A&amp;B &lt;new&gt;\\system32</more_info>"
              "<descriptive_name>Drive &lt;letter&gt; &amp; \"path\"</descriptive_name></test></test_results>\n");
}

TEST_F(ResultsDocumentTest, OutputInAMissingFolderIsNotWritten)
{
    folder.Write("in.xml", TwoTests);
    const ProgramResult result = RunTarnwick({"-i", "in.xml", "-o", "no/such/folder/out.xml"}, folder.Path());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.console.ends_with("writing xml and deallocating tests\n"));
    EXPECT_TRUE(
        result.trace.ends_with("[TARNWICK] Could not overwrite no/such/folder/out.xml. Exiting...\n"
                               "[TARNWICK]Error writing to no/such/folder/out.xml\n"
                               "FAILURE RUNNING TARNWICK.EXE\n"))
        << result.trace;
}

TEST_F(ResultsDocumentTest, EmptyOutputPathCannotBeOverwritten)
{
    folder.Write("in.xml", TwoTests);
    const ProgramResult result = RunTarnwick({"-i", "in.xml", "-o", ""}, folder.Path());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(
        result.trace.ends_with("[TARNWICK] Could not overwrite . Exiting...\n"
                               "[TARNWICK]Error writing to \n"
                               "FAILURE RUNNING TARNWICK.EXE\n"))
        << result.trace;
}

TEST_F(ResultsDocumentTest, OutputNameWithAWildcardCannotBeOverwritten)
{
    folder.Write("in.xml", TwoTests);
    const ProgramResult result = RunTarnwick({"-i", "in.xml", "-o", "results-?.xml", "-f"}, folder.Path());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(
        result.trace.ends_with("[TARNWICK] Could not overwrite results-?.xml. Exiting...\n"
                               "[TARNWICK]Error writing to results-?.xml\n"
                               "FAILURE RUNNING TARNWICK.EXE\n"))
        << result.trace;
    EXPECT_FALSE(folder.Exists("results-?.xml"));
}

TEST_F(ResultsDocumentTest, ReadOnlyOutputIsKeptEvenWithForce)
{
    folder.Write("in.xml", TwoTests);
    const auto old = folder.Write("out.xml", "old results");
    std::filesystem::permissions(old, std::filesystem::perms::owner_read);
    const ProgramResult result = RunTarnwick({"-i", "in.xml", "-f"}, folder.Path());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.trace.find("[TARNWICK] Could not overwrite out.xml. Exiting...\n"), std::string::npos);
    EXPECT_EQ(folder.Read("out.xml"), "old results");
}

TEST_F(ResultsDocumentTest, FailedSaveIsTracedAfterTheOldFileIsGone)
{
    folder.Write("out.xml", "old results");
    const ProgramResult result = RunWithFaults(R"({"call": "XmlDocument.save", "error": "0x80070005"})", {"-f"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(
        result.trace.ends_with("[TARNWICK] Return value = 80070005\nLast error = 5\nCouldn't save to out.xml\n"
                               "[TARNWICK]Error writing to out.xml\nFAILURE RUNNING TARNWICK.EXE\n"))
        << result.trace;
    EXPECT_FALSE(folder.Exists("out.xml"));
}

TEST_F(ResultsDocumentTest, DeletionRefusedForAnotherReasonStopsTheWrite)
{
    const ProgramResult result = RunWithFaults(R"({"call": "DeleteFileW", "error": 32})");
    EXPECT_NE(result.trace.find("[TARNWICK] Could not overwrite out.xml. Exiting...\n"), std::string::npos);
    EXPECT_FALSE(folder.Exists("out.xml"));
}

TEST_F(ResultsDocumentTest, ElementThatCannotBeCreatedEndsItsTestButTheRestIsSaved)
{
    // The results element, the first test element and its name succeed; "passed" fails, so the
    // first test keeps only its name, and the second test is written whole.
    const ProgramResult result = RunWithFaults(
        R"({"call": "XmlDocument.createElement", "error": "0x8007000E", "after": 3})", {}, WrittenResults::Damaged);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(folder.Read("out.xml"), "<test_results><test><name>MSXML3Test</name></test></test_results>\n");
    EXPECT_TRUE(result.trace.ends_with("[TARNWICK]Successfully wrote to out.xml\n"));
}

TEST_F(ResultsDocumentTest, TextThatCannotBeSetEndsTheElement)
{
    const ProgramResult result = RunWithFaults(R"({"call": "XmlNode.put_text", "error": "0x80004005", "after": 1})", {},
                                               WrittenResults::Damaged);
    EXPECT_EQ(folder.Read("out.xml"),
              "<test_results><test><name>MSXML3Test</name><passed/></test>"
              "<test><name/></test></test_results>\n");
}

TEST_F(ResultsDocumentTest, DocumentSettingRefusedStopsTheReading)
{
    const ProgramResult result =
        RunWithFaults(R"({"call": "XmlDocument.put_preserveWhiteSpace", "error": "0x80004005"})");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(
        result.trace.ends_with("[TARNWICK] Found file in.xml\n[TARNWICK] Couldn't create a DOM object\n"
                               "[TARNWICK] Error reading from in.xml\nFAILURE RUNNING TARNWICK.EXE\n"))
        << result.trace;
}

TEST_F(ResultsDocumentTest, DocumentThatCannotBeCreatedStopsSilently)
{
    const ProgramResult result = RunWithFaults(R"({"call": "CreateDomDocument30", "error": "0x80040154"})");
    EXPECT_TRUE(
        result.trace.ends_with("[TARNWICK] Found file in.xml\n"
                               "[TARNWICK] Error reading from in.xml\nFAILURE RUNNING TARNWICK.EXE\n"))
        << result.trace;
}

TEST_F(ResultsDocumentTest, DocumentThatCannotBeCreatedForWritingLosesTheOldFile)
{
    folder.Write("out.xml", "old results");
    const ProgramResult result =
        RunWithFaults(R"({"call": "CreateDomDocument30", "error": "0x80040154", "after": 1})", {"-f"});
    EXPECT_TRUE(result.trace.ends_with("[TARNWICK]Error writing to out.xml\nFAILURE RUNNING TARNWICK.EXE\n"));
    EXPECT_FALSE(folder.Exists("out.xml"));
}

TEST_F(ResultsDocumentTest, ComThatCannotStartEndsTheRunWithExitCodeOne)
{
    const ProgramResult result = RunWithFaults(R"({"call": "CoInitializeEx", "error": "0x80004005"})");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.console, "");
    EXPECT_TRUE(
        result.trace.ends_with("[TARNWICK] Found file in.xml\nCoInitializeEx failed...aborting the tarnwick\n"));
    EXPECT_FALSE(folder.Exists("out.xml"));
}

}  // namespace
