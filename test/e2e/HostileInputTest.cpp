// Documents and machine profiles that someone else wrote, made to hurt: each run must end the way
// a bad or a large document ends, never in a crash, a hang or memory without bound.

#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>

namespace {

constexpr int Depth = 100000;
constexpr std::size_t LargeText = 10 * 1024 * 1024;
constexpr int Parameters = 100000;

std::string Repeated(const std::string& text, int count)
{
    std::string repeated;
    repeated.reserve(text.size() * static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        repeated += text;
    }
    return repeated;
}

class HostileInputTest : public ::testing::Test {
protected:
    ProgramResult RunWith(const std::string& input, const std::filesystem::path& machine = {})
    {
        folder.Write("in.xml", input);
        return RunTarnwick({"-i", "in.xml", "-f"}, folder.Path(), machine);
    }

    ScratchFolder folder;
};

TEST_F(HostileInputTest, DeepAndLargeDocumentsAreReadToTheEnd)
{
    // A name 100,000 elements deep is read as its text; so is an element that deep beside the tests.
    const std::string deepName = "<input_tests><test><name>" + Repeated("<b>", Depth) + "MSXML3Test" +
                                 Repeated("</b>", Depth) + "</name></test></input_tests>";
    const std::string deepSibling = "<input_tests>" + Repeated("<x>", Depth) + Repeated("</x>", Depth) +
                                    "<test><name>MSXML3Test</name></test></input_tests>";
    // One text node of 10 MB, and one test with 100,000 parameters.
    const std::string largeText = "<input_tests><test><name>MSXML3Test</name><descriptive_name language=\"en\">" +
                                  std::string(LargeText, 'n') + "</descriptive_name></test></input_tests>";
    const std::string manyParameters = "<input_tests><test><name>BlacklistBiosTest</name>" +
                                       Repeated("<parameter>Not this BIOS</parameter>", Parameters) +
                                       "</test></input_tests>";
    for (const auto& [scenario, input, name] :
         {std::tuple{"deep name", deepName, "MSXML3Test"}, std::tuple{"deep sibling", deepSibling, "MSXML3Test"},
          std::tuple{"large text", largeText, "MSXML3Test"},
          std::tuple{"many parameters", manyParameters, "BlacklistBiosTest"}}) {
        SCOPED_TRACE(scenario);
        const ProgramResult result = RunWith(input);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_NE(result.trace.find("[TARNWICK]Successfully wrote to out.xml\n"), std::string::npos);
        EXPECT_EQ(folder.Read("out.xml").rfind(std::string("<test_results><test><name>") + name + "</name>", 0), 0u);
    }
    EXPECT_NE(folder.Read("out.xml").find("<passed>true</passed>"), std::string::npos);
}

TEST_F(HostileInputTest, EntitiesOfADocumentTypeAreRefusedUnexpanded)
{
    // Each entity ten of the one before: expanded, the last would be 10^9 copies.
    std::string entities = "<!ENTITY e0 \"lol\">";
    for (int level = 1; level <= 9; ++level) {
        entities +=
            "<!ENTITY e" + std::to_string(level) + " \"" + Repeated("&e" + std::to_string(level - 1) + ";", 10) + "\">";
    }
    const std::string input = "<?xml version=\"1.0\"?><!DOCTYPE input_tests [" + entities +
                              "]><input_tests><test><name>MSXML3Test</name><parameter>&e9;</parameter></test>"
                              "</input_tests>";
    const ProgramResult run = RunWith(input);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.console, "");
    EXPECT_NE(run.trace.find("[TARNWICK] Couldn't read from in.xml\nERROR = 1\n[TARNWICK] Error reading from in.xml\n"),
              std::string::npos);
    EXPECT_FALSE(folder.Exists("out.xml"));

    // A declaration whose entities the document does not use is read as MSXML reads it, and kept
    // by update mode's save.
    folder.Write("plain.xml",
                 "<!DOCTYPE input_tests><input_tests><test><name>BlacklistBiosTest</name></test></input_tests>");
    folder.Write("results.xml",
                 "<test_results><test><name>BlacklistBiosTest</name><more_info>A12</more_info></test></test_results>");
    const ProgramResult update =
        RunTarnwick({"-update", "-i", "plain.xml", "-o", "results.xml", "-b", "bios"}, folder.Path());
    EXPECT_EQ(update.console,
              "[TARNWICK INPUT UPDATER] Read from results.xml\nMain bios: A12\nadding A12 to input.xml\n"
              "[TARNWICK INPUT UPDATER] Read from plain.xml\nSaving input.xml\n");
    EXPECT_EQ(folder.Read("plain.xml"),
              "<!DOCTYPE input_tests><input_tests><test><name>BlacklistBiosTest</name>"
              "<parameter>A12</parameter></test></input_tests>\n");
}

TEST_F(HostileInputTest, LargeMachineProfilesAreAnsweredToTheEnd)
{
    const nlohmann::json base = nlohmann::json::parse(ReadFileText(ExamplePath("machines/default.json")));
    nlohmann::json volumes = base;
    const nlohmann::json volume = base["volumes"][0];
    for (int i = 0; i < 10000; ++i) {
        nlohmann::json copy = volume;
        copy["name"] = "\\\\?\\Volume{" + std::to_string(100000000 + i) + "-0000-0000-0000-000000000000}\\";
        volumes["volumes"].push_back(copy);
    }
    nlohmann::json instances = base;
    const nlohmann::json processor = base["wmi"]["Win32_Processor"][0];
    for (int i = 0; i < 100000; ++i) {
        instances["wmi"]["Win32_Processor"].push_back(processor);
    }
    const std::string input = ReadFileText(ExamplePath("input.xml"));
    for (const auto& [scenario, machine] :
         {std::pair{"10^4 volumes", volumes}, std::pair{"10^5 instances", instances}}) {
        SCOPED_TRACE(scenario);
        const ProgramResult result = RunWith(input, folder.Write("machine.json", machine.dump()));
        EXPECT_EQ(result.exitCode, 0) << result.trace.substr(0, 400);
        EXPECT_NE(result.trace.find("[TARNWICK]Successfully wrote to out.xml\n"), std::string::npos);
    }
}

}  // namespace
