// tarnwick-lint on documents with one mistake each, grouped by kind of mistake: every mistake is
// an error located at its test, the example document is clean, and warnings alone give exit 1.

#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

// A test element with English texts, so that only the mistake under test shows.
std::string Check(const std::string& name, const std::vector<std::string>& parameters = {},
                  const std::string& texts =
                      "<descriptive_name language=\"en\">Name</descriptive_name>"
                      "<descriptive_solution language=\"en\">Fix it.</descriptive_solution>")
{
    std::string element = "<test><name>" + name + "</name>";
    for (const std::string& parameter : parameters) {
        element += "<parameter>" + parameter + "</parameter>";
    }
    return element + texts + "</test>";
}

std::string Document(const std::string& tests)
{
    return "<?xml version=\"1.0\"?>\n<input_tests>\n" + tests + "\n</input_tests>\n";
}

struct LintCase {
    std::string what;
    std::string document;
    int exitCode;
    // Each must occur in the output.
    std::vector<std::string> lines;
};

class LintTest : public ::testing::TestWithParam<LintCase> {
protected:
    ProgramResult Lint(const std::string& document, std::vector<std::string> extra = {})
    {
        folder_.Write("in.xml", document);
        std::vector<std::string> arguments{"-i", "in.xml"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return RunProgram(TARNWICK_LINT, arguments, folder_.Path());
    }

    ScratchFolder folder_;
};

TEST_P(LintTest, ReportsTheMistakeAtItsTest)
{
    const LintCase& row = GetParam();
    const ProgramResult result = Lint(row.document);
    EXPECT_EQ(result.exitCode, row.exitCode) << result.console;
    for (const std::string& line : row.lines) {
        EXPECT_NE(result.console.find(line), std::string::npos) << "missing: " << line << "\nin:\n" << result.console;
    }
    EXPECT_EQ(result.trace, "");
}

std::string Name(const testing::TestParamInfo<LintCase>& info)
{
    return info.param.what;
}

const std::string Laptop = Check("LaptopTest");
// The texts of a check that writes no solution line.
const std::string Named = "<descriptive_name language=\"en\">Name</descriptive_name>";

INSTANTIATE_TEST_SUITE_P(
    Documents, LintTest,
    testing::Values(LintCase{"Unreadable",
                             "<input_tests>\n  <test><name>LaptopTest</name></tset>\n</input_tests>\n",
                             2,
                             {"in.xml:2:", ": error: the program cannot read this document: "}},
                    // A refusal that the parser finds only after reading gets its place too.
                    LintCase{"BareAmpersand",
                             "<input_tests>\n  <test><name>LaptopTest</name><descriptive_name language=\"en\">A & B"
                             "</descriptive_name></test>\n</input_tests>\n",
                             2,
                             {"in.xml:2:66: error: the program cannot read this document: The document holds a "
                              "reference"}},
                    LintCase{"AmpersandAfterLineBreaks",
                             "<input_tests>\r\n<test><name>LaptopTest</name><descriptive_name language=\"en\">A\r\n"
                             "B &amp; C &nbsp;</descriptive_name></test></input_tests>",
                             2,
                             {"in.xml:3:11: error: the program cannot read this document"}},
                    LintCase{"TwoRoots",
                             "<input_tests>" + Laptop + "</input_tests>\n<input_tests/>\n",
                             2,
                             {"in.xml:2:2: error: the program cannot read this document: The document must hold "
                              "exactly one root element"}},
                    LintCase{"WrongRoot",
                             "<inputs><input_tests>" + Laptop + "</input_tests></inputs>",
                             2,
                             {"in.xml: error: the root element is not input_tests"}},
                    LintCase{"NoTests",
                             "<input_tests><tests>" + Laptop + "</tests></input_tests>",
                             2,
                             {"in.xml: error: there is no input_tests/test element"}}),
    Name);

INSTANTIATE_TEST_SUITE_P(
    Names, LintTest,
    testing::Values(
        LintCase{"Misspelt",
                 Document(Check("LaptpTest") + Laptop),
                 2,
                 {"test 1 (LaptpTest): error: no check is named \"LaptpTest\"; the program leaves this test out. "
                  "Did you mean LaptopTest?"}},
        LintCase{"MisspeltLast",
                 Document(Laptop + Check("MemroyTest")),
                 2,
                 {"test 2 (MemroyTest): error: no check is named \"MemroyTest\"", "Did you mean MemoryTest?",
                  "test 2 (MemroyTest): error: this is the last test element", "still ends with exit code 0"}},
        LintCase{"BrokenOverLines",
                 Document(Check("\n    LaptopTest\n  ") + Laptop),
                 2,
                 {"test 1 (\\n    LaptopTest\\n  ): error: the name has blanks or line breaks around it",
                  "Write <name>LaptopTest</name> on one line"}},
        LintCase{
            "TrailingBlank", Document(Check("OSTest ") + Laptop), 2, {"test 1 (OSTest ): error: the name has blanks"}},
        LintCase{"ResultName",
                 Document(Check("MSSecurityEssentialsTest") + Laptop),
                 2,
                 {"test 1 (MSSecurityEssentialsTest): error: \"MSSecurityEssentialsTest\" is the name the results "
                  "document uses; an input document must ask for it as MSSecurityEssentialsInstalledTest"}},
        LintCase{"NoName",
                 Document(Laptop + "<test><parameter>1</parameter></test>"),
                 2,
                 {"test 2 (): error: the test has no name element", "test 2 (): error: this is the last test element"}},
        LintCase{"LetterCaseIsFine", Document(Check("laptoptest")), 0, {}}),
    Name);

INSTANTIATE_TEST_SUITE_P(
    Parameters, LintTest,
    testing::Values(
        LintCase{"Ignored",
                 Document(Check("DiskLimitTest", {"3"})),
                 2,
                 {"test 1 (DiskLimitTest): error: DiskLimitTest takes no parameters; the 1 given are ignored"}},
        LintCase{"Gigabytes",
                 Document(Check("MemoryTest", {"2 GB"})),
                 2,
                 {"test 1 (MemoryTest): error: \"2 GB\" is read as 2 megabytes"}},
        LintCase{"ThousandsSeparator",
                 Document(Check("FreeHardDiskSpaceTest", {"2,048"})),
                 2,
                 {"\"2,048\" is read as 2 megabytes"}},
        LintCase{"DecimalPoint",
                 Document(Check("FreeHardDiskSpaceTest", {"2.048"})),
                 2,
                 {"\"2.048\" is read as 2 megabytes"}},
        LintCase{"Negative",
                 Document(Check("MemoryTest", {"-500"})),
                 2,
                 {"error: \"-500\" is not a number of megabytes from 1 to 2147483646, so the check keeps the Windows "
                  "version's need"}},
        LintCase{"Overflow",
                 Document(Check("FreeHardDiskSpaceTest", {"99999999999"})),
                 2,
                 {"\"99999999999\" is not a number of megabytes", "keeps the default (100 MB)"}},
        LintCase{"Empty",
                 Document(Check("ContiguousFreeHardDiskSpaceTest", {""})),
                 2,
                 {"\"\" is not a number of megabytes", "keeps the default (2 MB)"}},
        LintCase{"Zero", Document(Check("FreeHardDiskSpaceTest", {"0"})), 2, {"\"0\" is not a number of megabytes"}},
        LintCase{"LowestValue", Document(Check("FreeHardDiskSpaceTest", {"1"})), 0, {}},
        LintCase{"HighestValue", Document(Check("FreeHardDiskSpaceTest", {"2147483646"})), 0, {}},
        LintCase{"OverflowValue",
                 Document(Check("FreeHardDiskSpaceTest", {"2147483647"})),
                 2,
                 {"\"2147483647\" is not a number of megabytes"}},
        LintCase{"OnItsOwnLine", Document(Check("FreeHardDiskSpaceTest", {"\n  500\n"})), 0, {}},
        LintCase{"TwoValues",
                 Document(Check("MemoryTest", {"512", "1024"})),
                 2,
                 {"error: MemoryTest takes exactly one parameter; with 2 the check keeps the Windows version's need"}},
        LintCase{"Overridden",
                 Document(Check("FreeHardDiskSpaceTest", {"50"}) + Laptop + Check("FreeHardDiskSpaceTest", {"200"})),
                 2,
                 {"test 1 (FreeHardDiskSpaceTest): error: the 50 MB set here is replaced by test 3's 200 MB",
                  "so every FreeHardDiskSpaceTest uses 200 MB"}},
        LintCase{"EmptyBlacklistFragment",
                 Document(Check("BlacklistServiceTest", {"Quillon", ""})),
                 2,
                 {"test 1 (BlacklistServiceTest): error: parameter 2 is empty, and an empty fragment occurs in every "
                  "text: the check then fails on every machine"}},
        LintCase{"EmptyOsFragment",
                 Document(Check("OSTest", {""})),
                 2,
                 {"error: parameter 1 is empty", "the check then passes on every machine"}},
        LintCase{"EntryOnItsOwnLine",
                 Document(Check("WhitelistMotherboardTest", {"\n  Dell Inc. 0M858N\n"})),
                 2,
                 {"error: parameter 1 has blanks or line breaks around it",
                  "Write <parameter>Dell Inc. 0M858N</parameter> on one line"}},
        LintCase{
            "EmptyBiosEntry",
            Document(Check("WhitelistBiosTest", {"DELL   - 1072009", ""})),
            2,
            {"test 1 (WhitelistBiosTest): error: parameter 2 is empty and matches every machine whose BIOS version "
             "cannot be read (registry value SystemBiosVersion), so the check passes on each of them"}},
        LintCase{"EmptyProcessorEntry",
                 Document(Check("BlacklistProcessorTest", {""})),
                 2,
                 {"test 1 (BlacklistProcessorTest): error: parameter 1 is empty and matches every machine whose "
                  "processor name WMI gives as no text",
                  "so the check fails on each of them"}},
        LintCase{"EmptyBoardEntry",
                 Document(Check("WhitelistMotherboardTest", {""})),
                 2,
                 {"error: parameter 1 is empty and matches no machine: the board string always holds the blank"}},
        LintCase{"EmptyDeviceFragment",
                 Document(Check("WhitelistUSBDeviceTest", {"Keyboard", ""}) + Check("BlacklistUSBDeviceTest", {""})),
                 2,
                 {"test 1 (WhitelistUSBDeviceTest): error: parameter 2 is empty, and an empty fragment occurs in every "
                  "description: it matches every USB device, so the check passes on every machine with one",
                  "test 2 (BlacklistUSBDeviceTest): error: parameter 1 is empty",
                  "so the check fails on every machine with one"}},
        LintCase{"InnerBlanksAreFine", Document(Check("WhitelistBiosTest", {"DELL   - 1072009"})), 0, {}}),
    Name);

INSTANTIATE_TEST_SUITE_P(
    Texts, LintTest,
    testing::Values(
        LintCase{"NoTexts",
                 Document(Check("LaptopTest", {}, "")),
                 2,
                 {"test 1 (LaptopTest): error: there is no descriptive_name for language \"en\"",
                  "error: there is no descriptive_solution for language \"en\""}},
        LintCase{"SecondAttribute",
                 Document(Check("MSXML3Test", {}, "<descriptive_name language=\"en\" lang=\"x\">N</descriptive_name>")),
                 2,
                 {"error: there is no descriptive_name for language \"en\""}},
        LintCase{"PercentInName",
                 Document(Check("MSXML3Test", {}, "<descriptive_name language=\"en\">100% ready</descriptive_name>")),
                 2,
                 {"error: the descriptive_name for language \"en\" holds \"%\", so the program drops it"}},
        LintCase{"WrongConversion",
                 Document(Check("FreeHardDiskSpaceTest", {},
                                "<descriptive_name language=\"en\">Space</descriptive_name>"
                                "<descriptive_solution language=\"en\">Free %wS MB.</descriptive_solution>")),
                 2,
                 {"error: the descriptive_solution for language \"en\" holds a \"%\" the check cannot fill: it "
                  "passes a number",
                  "only as %d"}},
        LintCase{"TwoConversions",
                 Document(Check("OSTest", {"Windows XP"},
                                "<descriptive_name language=\"en\">OS</descriptive_name>"
                                "<descriptive_solution language=\"en\">%wS is not %wS.</descriptive_solution>")),
                 2,
                 {"holds a \"%\" the check cannot fill: it passes a text"}},
        LintCase{"PercentKeptAsWritten",
                 Document(Check("LaptopTest", {},
                                "<descriptive_name language=\"en\">Laptop</descriptive_name>"
                                "<descriptive_solution language=\"en\">100% desktop.</descriptive_solution>")),
                 0,
                 {}},
        LintCase{"SolutionNeverShown",
                 Document(Check("MSXML3Test", {},
                                "<descriptive_name language=\"en\">MSXML</descriptive_name>"
                                "<descriptive_solution language=\"en\">Free 50% of the disk.</descriptive_solution>")),
                 1,
                 {"test 1 (MSXML3Test): warning: MSXML3Test never writes a solution line, so no descriptive_solution "
                  "of this test is ever shown"}},
        LintCase{"LanguageOfThreeLetters",
                 Document(Check("LaptopTest", {},
                                "<descriptive_name language=\"en\">Laptop</descriptive_name>"
                                "<descriptive_solution language=\"en\">Use one.</descriptive_solution>"
                                "<descriptive_name language=\"ger\">Laptop</descriptive_name>")),
                 1,
                 {"test 1 (LaptopTest): warning: the descriptive_name has language=\"ger\", which is not a language "
                  "code of two letters",
                  "a run shows it only when started with -l ger"}},
        LintCase{"LanguageOfOneLetter",
                 Document(Check("LaptopTest", {},
                                "<descriptive_name language=\"en\">Laptop</descriptive_name>"
                                "<descriptive_solution language=\"en\">Use one.</descriptive_solution>"
                                "<descriptive_solution language=\"d\">Einen nehmen.</descriptive_solution>")),
                 1,
                 {"warning: the descriptive_solution has language=\"d\", which is not a language code"}},
        LintCase{"LanguageWithRegion",
                 Document(Check("LaptopTest", {},
                                "<descriptive_name language=\"en\">Laptop</descriptive_name>"
                                "<descriptive_solution language=\"en\">Use one.</descriptive_solution>"
                                "<descriptive_name language=\"de-CH\">Laptop</descriptive_name>")),
                 0,
                 {}},
        LintCase{"NoSolutionNeeded",
                 Document(Check("MSXML3Test", {}, "<descriptive_name language=\"en\">MSXML</descriptive_name>")),
                 0,
                 {}}),
    Name);

INSTANTIATE_TEST_SUITE_P(
    Duplicates, LintTest,
    testing::Values(LintCase{"SameCheckTwice",
                             Document(Laptop + Check("MSXML3Test") + Check("laptopTEST")),
                             2,
                             {"test 3 (laptopTEST): error: the same check with the same parameters as test 1"}},
                    LintCase{"SplitBlacklist",
                             Document(Check("BlacklistServiceTest", {"A"}) + Check("BlacklistServiceTest", {"B"})),
                             1,
                             {"test 2 (BlacklistServiceTest): warning: BlacklistServiceTest is also test 1, with other "
                              "parameters: both run and each writes its own result, and a machine on either list "
                              "fails"}},
                    LintCase{"SplitWhitelist",
                             Document(Check("WhitelistBiosTest", {"A"}) + Laptop + Check("WhitelistBiosTest", {"B"})),
                             1,
                             {"test 3 (WhitelistBiosTest): warning: WhitelistBiosTest is also test 1, with other "
                              "parameters: both run, and each passes only on a machine its own list matches, so a "
                              "machine must match both lists"}},
                    LintCase{"BlackAndWhite",
                             Document(Check("WhitelistMotherboardTest", {"Dell Inc. 0M858N"}) +
                                      Check("BlacklistMotherboardTest", {"ACME X1", "Dell Inc. 0M858N"})),
                             2,
                             {"test 2 (BlacklistMotherboardTest): error: parameter 2, \"Dell Inc. 0M858N\", is on the "
                              "list of test 1 (WhitelistMotherboardTest) too: a machine it matches fails "
                              "BlacklistMotherboardTest whatever WhitelistMotherboardTest says"}},
                    LintCase{"BlackAndWhiteDevices",
                             Document(Check("BlacklistUSBDeviceTest", {"Mass Storage"}) +
                                      Check("WhitelistUSBDeviceTest", {"Keyboard", "Mass Storage"})),
                             2,
                             {"test 2 (WhitelistUSBDeviceTest): error: parameter 2, \"Mass Storage\", is on the list "
                              "of test 1 (BlacklistUSBDeviceTest) too"}},
                    LintCase{
                        "BlackAndWhiteApart",
                        Document(Check("BlacklistBiosTest", {"ACME - 1"}) + Check("WhitelistBiosTest", {"DELL - 1"})),
                        0,
                        {}}),
    Name);

INSTANTIATE_TEST_SUITE_P(
    LaterWindows, LintTest,
    testing::Values(
        LintCase{"OsDefault",
                 Document(Check("OSTest")),
                 1,
                 {"test 1 (OSTest): warning: without parameters OSTest allows \"Windows XP\" only"}},
        LintCase{"Windows10",
                 Document(Check("OSTest", {"Windows 7", "Windows 10"}) + Check("MemoryTest") + Check("BitLockerTest") +
                          Check("ReadyBoostTest")),
                 1,
                 {"test 1 (OSTest): warning: \"Windows 10\" names a release whose description carries no release name",
                  "match the build instead, e.g. \"(build 19045)\"",
                  "test 2 (MemoryTest): warning: no test of the document gives MemoryTest a number of megabytes",
                  "test 3 (BitLockerTest): warning: on later Windows releases: Knows the NT 6.0 editions only",
                  "test 4 (ReadyBoostTest): warning: on later Windows releases: Fails only on NT 6.0"}},
        LintCase{"MemoryGiven", Document(Check("OSTest", {"Windows 10"}) + Check("MemoryTest", {"2048"})), 1, {}},
        // The version table fails every Windows that reports 10.0, whatever releases OSTest allows.
        LintCase{"MemoryOnOldReleases",
                 Document(Check("OSTest", {"Windows XP"}) + Check("MemoryTest") + Check("BitLockerTest", {}, Named)),
                 1,
                 {"test 2 (MemoryTest): warning: no test of the document gives MemoryTest a number of megabytes, so "
                  "the need comes from a table of Windows versions that stops at NT 6",
                  "fails whatever its memory, whatever OSTest allows", "0 error(s), 1 warning(s)"}},
        LintCase{
            "MemoryGivenByAnother", Document(Check("MemoryTest") + Laptop + Check("MemoryTest", {"2048"})), 0, {}}),
    Name);

class LintRunTest : public LintTest {};

TEST_F(LintRunTest, ExampleDocumentIsClean)
{
    const ProgramResult result = RunProgram(TARNWICK_LINT, {"-i", ExamplePath("input.xml").string()}, folder_.Path());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.console, "");
}

TEST_F(LintRunTest, QuietPrintsErrorsOnlyAndKeepsTheExitCode)
{
    const std::string warnings = Document(Check("OSTest"));
    EXPECT_EQ(Lint(warnings, {"-q"}).console, "0 error(s), 1 warning(s)\n");
    EXPECT_EQ(Lint(warnings, {"-q"}).exitCode, 1);
    const ProgramResult errors = Lint(Document(Check("OSTest") + Check("DiskLimitTest", {"1"})), {"-q"});
    EXPECT_EQ(errors.exitCode, 2);
    EXPECT_EQ(errors.console.find("warning:"), std::string::npos);
    EXPECT_NE(errors.console.find("test 2 (DiskLimitTest): error:"), std::string::npos);
}

TEST_F(LintRunTest, EveryRequestedLanguageNeedsItsTexts)
{
    const std::string document = Document(Check("LaptopTest", {},
                                                "<descriptive_name language=\"en\">Laptop</descriptive_name>"
                                                "<descriptive_solution language=\"en\">Use one.</descriptive_solution>"
                                                "<descriptive_name language=\"DE\">Laptop</descriptive_name>"));
    const ProgramResult result = Lint(document, {"-l", "en", "-l", "de"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.console.find("descriptive_name for language \"de\""), std::string::npos);
    EXPECT_NE(result.console.find("error: there is no descriptive_solution for language \"de\""), std::string::npos);
}

TEST_F(LintRunTest, BadCommandLineShowsTheUsage)
{
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, std::vector<std::string>{"-i"}, std::vector<std::string>{"-i", "a.xml", "-x"}}) {
        const ProgramResult result = RunProgram(TARNWICK_LINT, arguments, folder_.Path());
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.console.rfind("Usage: TarnwickLint.exe -i inputFile", 0), 0U);
    }
}

TEST_F(LintRunTest, MissingFileIsUnreadable)
{
    const ProgramResult result = RunProgram(TARNWICK_LINT, {"-i", "missing.xml"}, folder_.Path());
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.console.rfind("missing.xml: error: the program cannot read this document: ", 0), 0U);
}

}  // namespace
