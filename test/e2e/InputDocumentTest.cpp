// How the input document becomes the run's list of tests: names, languages, white space, and
// which failures leave a test out or stop the run.

#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

class InputDocumentTest : public ::testing::Test {
protected:
    ProgramResult RunWith(const std::string& input, std::vector<std::string> extra = {})
    {
        folder.Write("in.xml", input);
        std::vector<std::string> arguments{"-i", "in.xml"};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return RunTarnwick(arguments, folder.Path());
    }

    // The class names written to out.xml, in order.
    std::vector<std::string> ResultNames() const
    {
        std::vector<std::string> names;
        const std::string results = folder.Read("out.xml");
        for (std::size_t at = results.find("<test><name>"); at != std::string::npos;
             at = results.find("<test><name>", at + 1)) {
            const std::size_t begin = at + 12;
            names.push_back(results.substr(begin, results.find('<', begin) - begin));
        }
        return names;
    }

    ScratchFolder folder;
};

TEST_F(InputDocumentTest, UnknownNameInTheMiddleLeavesOnlyThatTestOut)
{
    const ProgramResult result = RunWith(
        "<input_tests><test><name>MSXML3Test</name></test>"
        "<test><name>NoSuchTest</name></test>"
        "<test><name>readyboosttest</name></test></input_tests>");
    EXPECT_EQ(result.console, "MSXML3Test\nNoSuchTest\nreadyboosttest\nwriting xml and deallocating tests\n");
    EXPECT_NE(result.trace.find("[TARNWICK] Attempting to allocate a test with name NoSuchTest\n"
                                "[TARNWICK] Couldn't find a matching Test\n"),
              std::string::npos);
    EXPECT_EQ(ResultNames(), (std::vector<std::string>{"MSXML3Test", "ReadyBoostTest"}));
}

TEST_F(InputDocumentTest, ClassNamesThatTheRegistryDoesNotKnow)
{
    // The security check is asked for by a name of its own; its class name and the abstract
    // BIOS base are no names the registry knows.
    const ProgramResult result = RunWith(
        "<input_tests><test><name>MSSecurityEssentialsTest</name></test>"
        "<test><name>BiosTest</name></test>"
        "<test><name>mssecurityessentialsinstalledtest</name></test></input_tests>");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.trace.find("[TARNWICK] Attempting to allocate a test with name MSSecurityEssentialsTest\n"
                                "[TARNWICK] Couldn't find a matching Test\n"
                                "[TARNWICK] Attempting to allocate a test with name BiosTest\n"
                                "[TARNWICK] Couldn't find a matching Test\n"
                                "[TARNWICK] Attempting to allocate a test with name mssecurityessentialsinstalledtest\n"
                                "[TARNWICK]Successfully read from in.xml\n"),
              std::string::npos)
        << result.trace;
    EXPECT_EQ(ResultNames(), (std::vector<std::string>{"MSSecurityEssentialsTest"}));
}

TEST_F(InputDocumentTest, UnknownNameLastFailsTheWholeReading)
{
    const ProgramResult result = RunWith(
        "<input_tests><test><name>MSXML3Test</name></test>"
        "<test><name>ReadyBoostTest</name></test>"
        "<test><name>NoSuchTest</name></test></input_tests>");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.console, "MSXML3Test\nReadyBoostTest\nNoSuchTest\n");
    EXPECT_TRUE(
        result.trace.ends_with("[TARNWICK] Couldn't find a matching Test\n"
                               "[TARNWICK] Error reading from in.xml\nFAILURE RUNNING TARNWICK.EXE\n"));
    EXPECT_EQ(result.trace.find("Performing Test"), std::string::npos);
    EXPECT_FALSE(folder.Exists("out.xml"));
}

TEST_F(InputDocumentTest, NamesKeepTheirWhiteSpaceAndJoinTheirTextParts)
{
    const ProgramResult result = RunWith(
        "<input_tests>"
        "<test><name>MSXML3Test </name></test>"
        "<test><name>\n  ReadyBoostTest\n</name></test>"
        "<test><name>MSXML<!-- split -->3<![CDATA[Test]]></name></test>"
        "<test><name>ReadyDriveTest</name><name>MSXML3Test</name></test>"
        "</input_tests>");
    EXPECT_EQ(result.console,
              "MSXML3Test \n\n  ReadyBoostTest\n\nMSXML3Test\nReadyDriveTest\n"
              "writing xml and deallocating tests\n");
    EXPECT_EQ(ResultNames(), (std::vector<std::string>{"MSXML3Test", "ReadyDriveTest"}));
}

TEST_F(InputDocumentTest, OnlyDirectTestChildrenOfEveryInputTestsElementCount)
{
    const ProgramResult result = RunWith(
        "<root><input_tests><test><name>ReadyDriveTest</name></test>"
        "<group><test><name>MSXML3Test</name></test></group></input_tests>"
        "<other><input_tests><test><name>ReadyBoostTest</name></test></input_tests></other>"
        "<test><name>MSXML3Test</name></test></root>");
    EXPECT_EQ(ResultNames(), (std::vector<std::string>{"ReadyDriveTest", "ReadyBoostTest"}));
}

TEST_F(InputDocumentTest, TestWithoutNameIsLeftOutSilently)
{
    const ProgramResult result = RunWith("<input_tests><test/><test><name>MSXML3Test</name></test></input_tests>");
    EXPECT_EQ(result.console, "MSXML3Test\nwriting xml and deallocating tests\n");
    EXPECT_EQ(ResultNames(), (std::vector<std::string>{"MSXML3Test"}));
}

TEST_F(InputDocumentTest, DocumentWithoutTestsWritesBareResults)
{
    const ProgramResult result = RunWith("<?xml version=\"1.0\"?><input_tests>  </input_tests>");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.console, "writing xml and deallocating tests\n");
    EXPECT_EQ(folder.Read("out.xml"), "<test_results/>\n");
}

TEST_F(InputDocumentTest, UnreadableDocumentsFailTheRun)
{
    // Besides the plainly broken, what an XML parser refuses in an otherwise sound document: a
    // repeated attribute, an undefined or bare reference, a reference to a character XML does
    // not allow, a control character, "<" in an attribute value, "]]>" in text, bytes that are not
    // UTF-8 in a document that is, a declaration after white space, "--" in a comment.
    const std::string named = "<input_tests><test><name>MSXML3Test</name>";
    for (const std::string& content :
         {std::string(), std::string("not xml at all"), std::string("<input_tests>"), std::string("<a></b>"),
          std::string("\xEF\xBB\xBF"),
          named + "<descriptive_name language=\"en\" language=\"de\">x</descriptive_name></test></input_tests>",
          named + "<parameter>&nbsp;</parameter></test></input_tests>",
          named + "<parameter>a & b</parameter></test></input_tests>",
          named + "<parameter>&#1;</parameter></test></input_tests>",
          named + "<parameter>\x01</parameter></test></input_tests>",
          named + "<parameter a=\"<\"/></test></input_tests>",
          named + "<parameter>]]></parameter></test></input_tests>",
          named + "<parameter>caf\xE9</parameter></test></input_tests>",
          "<?xml version=\"1.0\" encoding=\"utf-8\"?>" + named + "<parameter>\xC0\x80</parameter></test></input_tests>",
          " <?xml version=\"1.0\"?>" + named + "</test></input_tests>",
          named + "<!-- a -- b --></test></input_tests>"}) {
        const ProgramResult result = RunWith(content);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_TRUE(
            result.trace.ends_with("[TARNWICK] Couldn't read from in.xml\nERROR = 1\n"
                                   "[TARNWICK] Error reading from in.xml\nFAILURE RUNNING TARNWICK.EXE\n"))
            << content << "\n"
            << result.trace;
        EXPECT_FALSE(folder.Exists("out.xml"));
    }
    std::filesystem::create_directory(folder.Path() / "folder.xml");
    const ProgramResult result = RunTarnwick({"-i", "folder.xml"}, folder.Path());
    EXPECT_NE(result.trace.find("[TARNWICK] Couldn't read from folder.xml\nERROR = 1\n"), std::string::npos);
}

const std::string LocalizedTest =
    "<input_tests><test><name>SystemDriveAccessibleByLetterDriveTest</name>"
    "<descriptive_name language=\"de\">Systemlaufwerk</descriptive_name>"
    "<descriptive_name language=\"en\" kind=\"short\">Two attributes</descriptive_name>"
    "<descriptive_name lang=\"en\">Wrong attribute</descriptive_name>"
    "<descriptive_name language=\"en\">100% letters</descriptive_name>"
    "<descriptive_name language=\"en\">  System drive\n</descriptive_name>"
    "<descriptive_name language=\"en\">Second English name</descriptive_name>"
    "<descriptive_solution language=\"EN\">Move Windows (100%) off %wS</descriptive_solution>"
    "<descriptive_solution language=\"en\">Second solution %wS</descriptive_solution>"
    "</test></input_tests>";

TEST_F(InputDocumentTest, FirstTextOfTheRunLanguageWithOneLanguageAttributeIsTaken)
{
    const ProgramResult result = RunWith(LocalizedTest);
    const std::string results = folder.Read("out.xml");
    EXPECT_NE(results.find("<descriptive_name>  System drive\n</descriptive_name>"), std::string::npos) << results;
    // The template holds two "%": AddSolution refuses it, so no solution line is written.
    EXPECT_EQ(results.find("<descriptive_solution>"), std::string::npos) << results;
    EXPECT_NE(result.trace.find("[TARNWICK] there are 6 descriptive_name nodes\n"
                                "[TARNWICK] list length = 1\n[TARNWICK] language = de\n"
                                "[TARNWICK] list length = 2\n"
                                "[TARNWICK] list length = 1\n"
                                "[TARNWICK] list length = 1\n[TARNWICK] language = en\n[TARNWICK] Language OK"
                                "[TARNWICK] list length = 1\n[TARNWICK] language = en\n[TARNWICK] Language OK"
                                "[TARNWICK] there are 2 descriptive_solution nodes\n"
                                "[TARNWICK] list length = 1\n[TARNWICK] language = EN\n[TARNWICK] Language OK"),
              std::string::npos)
        << result.trace;
}

TEST_F(InputDocumentTest, LanguageOptionIsComparedWithoutCase)
{
    const ProgramResult result = RunWith(LocalizedTest, {"-l", "DE"});
    const std::string results = folder.Read("out.xml");
    EXPECT_NE(results.find("<descriptive_name>Systemlaufwerk</descriptive_name>"), std::string::npos) << results;
    // No German solution: the test runs with an empty template and adds no solution line.
    EXPECT_EQ(results.find("<descriptive_solution>"), std::string::npos);
}

TEST_F(InputDocumentTest, NoTextForTheLanguageLeavesAnEmptyDescriptiveName)
{
    const ProgramResult result = RunWith(LocalizedTest, {"-l", "fr"});
    EXPECT_NE(folder.Read("out.xml").find("<descriptive_name/>"), std::string::npos);
}

TEST_F(InputDocumentTest, TextsKeepCharactersBeyondAscii)
{
    folder.Write("in.xml",
                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?><input_tests><test><name>MSXML3Test</name>"
                 "<descriptive_name language=\"de\">Prüfung für Größe € 😀</descriptive_name>"
                 "</test></input_tests>");
    const ProgramResult result = RunTarnwick({"-i", "in.xml", "-l", "de"}, folder.Path());
    EXPECT_NE(folder.Read("out.xml").find("<descriptive_name>Prüfung für Größe € 😀</descriptive_name>"),
              std::string::npos);
}

TEST_F(InputDocumentTest, Utf16DocumentIsRead)
{
    const std::u16string text =
        u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><input_tests><test><name>ReadyDriveTest</name>"
        u"<descriptive_name language=\"en\">Größe</descriptive_name></test></input_tests>";
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    folder.Write("in.xml", bytes);
    const ProgramResult result = RunTarnwick({"-i", "in.xml"}, folder.Path());
    EXPECT_EQ(folder.Read("out.xml").find("<test_results><test><name>ReadyDriveTest</name>"), 0u);
    EXPECT_NE(folder.Read("out.xml").find("<descriptive_name>Größe</descriptive_name>"), std::string::npos);
}

}  // namespace
