// A machine profile that cannot be used stops the simulated program before it does anything.

#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(MachineProfileRefusalTest, BadProfileGetsOneLineAndExitCodeTwo)
{
    ScratchFolder folder;
    folder.Write("in.xml", "<input_tests><test><name>MSXML3Test</name></test></input_tests>");
    const auto wrongType = folder.Write("wrong.json", R"({"libraries": "msxml3.dll"})");
    const auto notJson = folder.Write("broken.json", "{\"libraries\": [");
    const auto repeated = folder.Write("repeated.json", R"({"wmi": {"Win32_BIOS": []}, "wmi": {}})");
    const std::filesystem::path missing = folder.Path() / "missing.json";

    const ProgramResult typed = RunTarnwick({"-i", "in.xml"}, folder.Path(), wrongType);
    EXPECT_EQ(typed.exitCode, 2);
    EXPECT_EQ(typed.console, "");
    EXPECT_EQ(typed.trace, "tarnwick: machine profile \"" + wrongType.string() +
                               "\": field \"libraries\": expected an array of strings\n");

    const ProgramResult twice = RunTarnwick({"-i", "in.xml"}, folder.Path(), repeated);
    EXPECT_EQ(twice.exitCode, 2);
    EXPECT_EQ(twice.console, "");
    EXPECT_EQ(twice.trace, "tarnwick: machine profile \"" + repeated.string() +
                               "\": field \"wmi\": repeated in its object; each field is named once\n");

    const ProgramResult broken = RunTarnwick({"-i", "in.xml"}, folder.Path(), notJson);
    EXPECT_EQ(broken.exitCode, 2);
    EXPECT_TRUE(broken.trace.starts_with("tarnwick: machine profile \"" + notJson.string() + "\": not valid JSON: "));
    EXPECT_EQ(std::count(broken.trace.begin(), broken.trace.end(), '\n'), 1);

    const ProgramResult absent = RunTarnwick({"-i", "in.xml"}, folder.Path(), missing);
    EXPECT_EQ(absent.exitCode, 2);
    EXPECT_EQ(absent.trace,
              "tarnwick: machine profile \"" + missing.string() + "\": cannot be read: No such file or directory\n");

    const ProgramResult folderProfile = RunTarnwick({"-i", "in.xml"}, folder.Path(), folder.Path());
    EXPECT_EQ(folderProfile.exitCode, 2);
    EXPECT_EQ(folderProfile.trace,
              "tarnwick: machine profile \"" + folder.Path().string() + "\": cannot be read: Is a directory\n");
    EXPECT_FALSE(folder.Exists("out.xml"));
}

}  // namespace
