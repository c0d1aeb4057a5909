// The schemas of the two documents: the example input matches, the program runs the documents
// the input schema accepts, and documents with the usual mistakes are refused for the right
// reason. (Every results document the end-to-end tests make the program write is checked
// against the results schema where the program is run, in RunTarnwick.)

#include "support/ProgramRun.h"
#include "support/SchemaCheck.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace {

struct SchemaCase {
    std::string label;
    std::string document;
    // For a document the schema accepts: what the results of a run of it must hold. For one it
    // refuses: the part of xmllint's reason that names the mistake.
    std::string expected;
};

std::string Input(const std::string& tests)
{
    return "<input_tests>" + tests + "</input_tests>";
}

std::string OneTest(const std::string& children)
{
    return Input("<test>" + children + "</test>");
}

const std::string Msxml3 = "<name>MSXML3Test</name>";

TEST(DocumentSchemaTest, ExampleInputMatches)
{
    ScratchFolder folder;
    const SchemaVerdict verdict = CheckAgainstSchema(SchemaPath("input.xsd"), ExamplePath("input.xml"), folder.Path());
    EXPECT_TRUE(verdict.checked && verdict.valid) << verdict.messages;
}

TEST(DocumentSchemaTest, InputThatTheProgramRunsAsMeantIsAccepted)
{
    const std::vector<SchemaCase> cases{
        {"name in other letter case", OneTest("<name>msxml3test</name>"), "<name>MSXML3Test</name>"},
        {"name after the other children",
         OneTest("<descriptive_name language=\"EN\">Parser</descriptive_name><parameter> a </parameter>" + Msxml3),
         "<descriptive_name>Parser</descriptive_name>"},
        {"solution template with a percent sign",
         OneTest(Msxml3 + "<descriptive_solution language=\"en\">Install it (100%).</descriptive_solution>"),
         "<name>MSXML3Test</name>"},
        {"elements and attributes in a namespace of one's own",
         "<input_tests xmlns:my=\"urn:example:notes\" my:owner=\"desk 4\"><my:note>rollout 2</my:note>"
         "<test my:id=\"7\"><name my:since=\"2009\">MSXML3Test</name><my:note>keep</my:note>"
         "<parameter my:unit=\"none\">x</parameter></test></input_tests>",
         "<name>MSXML3Test</name>"},
        {"no checks", "<input_tests/>", "<test_results/>"},
    };
    for (const SchemaCase& row : cases) {
        SCOPED_TRACE(row.label);
        ScratchFolder folder;
        folder.Write("in.xml", row.document);
        const SchemaVerdict verdict = CheckAgainstSchema(SchemaPath("input.xsd"), "in.xml", folder.Path());
        EXPECT_TRUE(verdict.checked && verdict.valid) << verdict.messages;
        const ProgramResult result = RunTarnwick({"-i", "in.xml"}, folder.Path());
        EXPECT_NE(folder.Read("out.xml").find(row.expected), std::string::npos) << folder.Read("out.xml");
    }
}

TEST(DocumentSchemaTest, InputWithAMistakeIsRefusedForIt)
{
    const std::vector<SchemaCase> cases{
        {"wrong root element", "<tests><test>" + Msxml3 + "</test></tests>",
         "Element 'tests': No matching global declaration available for the validation root."},
        {"unknown name", OneTest("<name>MSXML4Test</name>"), "'MSXML4Test' is not a valid value of the union type"},
        {"result name used as input name", OneTest("<name>MSSecurityEssentialsTest</name>"),
         "'MSSecurityEssentialsTest' is not a valid value of the union type"},
        {"name on its own indented line", OneTest("<name>\n      MSXML3Test\n    </name>"),
         "is not a valid value of the union type"},
        {"test without a name", OneTest("<parameter>1</parameter>"), "Element 'test': Missing child element(s)."},
        {"test with two names", OneTest(Msxml3 + "<name>OSTest</name>"),
         "Element 'name': This element is not expected."},
        {"misspelt element", OneTest(Msxml3 + "<paramter>500</paramter>"),
         "Element 'paramter': This element is not expected."},
        {"test outside input_tests", Input("<group><test>" + Msxml3 + "</test></group>"),
         "Element 'group': This element is not expected."},
        {"attribute without a namespace", Input("<test enabled=\"false\">" + Msxml3 + "</test>"),
         "The attribute 'enabled' is not allowed."},
        {"text without a language", OneTest(Msxml3 + "<descriptive_name>Parser</descriptive_name>"),
         "The attribute 'language' is required but missing."},
        {"text with a second attribute",
         OneTest(Msxml3 + "<descriptive_solution language=\"en\" lang=\"de\">Install it.</descriptive_solution>"),
         "The attribute 'lang' is not allowed."},
        {"descriptive name with a percent sign",
         OneTest(Msxml3 + "<descriptive_name language=\"en\">100%</descriptive_name>"),
         "The value '100%' is not accepted by the pattern '[^%]*'."},
        {"text beside the children", OneTest("run " + Msxml3),
         "Character content other than whitespace is not allowed"},
    };
    for (const SchemaCase& row : cases) {
        SCOPED_TRACE(row.label);
        ScratchFolder folder;
        folder.Write("in.xml", row.document);
        const SchemaVerdict verdict = CheckAgainstSchema(SchemaPath("input.xsd"), "in.xml", folder.Path());
        EXPECT_TRUE(verdict.checked && !verdict.valid) << verdict.messages;
        EXPECT_NE(verdict.messages.find(row.expected), std::string::npos) << verdict.messages;
    }
}

TEST(DocumentSchemaTest, ResultsUnlikeTheProgramsAreRefused)
{
    const std::string passed = "<passed>true</passed>";
    const std::string named = "<descriptive_name>Parser</descriptive_name>";
    const std::vector<SchemaCase> cases{
        {"wrong root element", "<input_tests/>", "Element 'input_tests': No matching global declaration"},
        {"input name used as result name",
         "<test_results><test><name>MSSecurityEssentialsInstalledTest</name>" + passed + named +
             "</test></test_results>",
         "The value 'MSSecurityEssentialsInstalledTest' is not an element of the set"},
        {"verdict missing", "<test_results><test>" + Msxml3 + named + "</test></test_results>",
         "Element 'descriptive_name': This element is not expected. Expected is ( passed )."},
        {"verdict other than true or false",
         "<test_results><test>" + Msxml3 + "<passed>True</passed>" + named + "</test></test_results>",
         "The value 'True' is not an element of the set {'true', 'false'}."},
        {"more information after the descriptive name",
         "<test_results><test>" + Msxml3 + passed + named + "<more_info>1</more_info></test></test_results>",
         "Element 'more_info': This element is not expected."},
        {"descriptive name missing", "<test_results><test>" + Msxml3 + passed + "</test></test_results>",
         "Element 'test': Missing child element(s)."},
        {"attribute", "<test_results language=\"en\"/>", "The attribute 'language' is not allowed."},
    };
    for (const SchemaCase& row : cases) {
        SCOPED_TRACE(row.label);
        ScratchFolder folder;
        folder.Write("results.xml", row.document);
        const SchemaVerdict verdict = CheckAgainstSchema(SchemaPath("results.xsd"), "results.xml", folder.Path());
        EXPECT_TRUE(verdict.checked && !verdict.valid) << verdict.messages;
        EXPECT_NE(verdict.messages.find(row.expected), std::string::npos) << verdict.messages;
    }
}

// The example of docs/schemas.md that names the schema on its root element.
std::string SchemaLocationExample()
{
    const std::string page = ReadFileText(std::filesystem::path(TARNWICK_DOCS) / "schemas.md");
    const std::string fence = "```xml\n";
    const std::size_t start = page.find(fence);
    if (start == std::string::npos) {
        return {};
    }
    const std::size_t body = start + fence.size();
    return page.substr(body, page.find("```", body) - body);
}

TEST(DocumentSchemaTest, SchemaLocationOnTheRootChangesNothingInARun)
{
    const std::string example = SchemaLocationExample();
    ASSERT_NE(example.find("xsi:noNamespaceSchemaLocation="), std::string::npos) << example;
    ScratchFolder folder;
    folder.Write("located.xml", example);
    const SchemaVerdict verdict = CheckAgainstSchema(SchemaPath("input.xsd"), "located.xml", folder.Path());
    EXPECT_TRUE(verdict.checked && verdict.valid) << verdict.messages;

    const std::string plain =
        std::regex_replace(example, std::regex(R"(\s+xmlns:xsi="[^"]*"\s+xsi:noNamespaceSchemaLocation="[^"]*")"), "");
    ASSERT_NE(plain, example);
    folder.Write("plain.xml", plain);
    const ProgramResult located = RunTarnwick({"-i", "located.xml", "-o", "located-out.xml"}, folder.Path());
    const ProgramResult unlocated = RunTarnwick({"-i", "plain.xml", "-o", "plain-out.xml"}, folder.Path());
    EXPECT_EQ(located.console, unlocated.console);
    EXPECT_EQ(folder.Read("located-out.xml"), folder.Read("plain-out.xml"));
    EXPECT_NE(folder.Read("located-out.xml").find("<descriptive_name>MSXML 3.0 is installed</descriptive_name>"),
              std::string::npos);
}

}  // namespace
