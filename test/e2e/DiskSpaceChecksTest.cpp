// The free-space and contiguous-space checks end to end on a desktop with drives C, D, a USB disk
// E and a DVD drive F, and on variants of it that take away rights, parts or platform calls.

#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>

namespace {

const std::string EchoedNames = "FreeHardDiskSpaceTest\nContiguousFreeHardDiskSpaceTest\n";
const std::string Closing = "writing xml and deallocating tests\n";
const std::string FreeLine150 = "[HDTEST] Need 100MB free hard disk space, 150MB available\n\n";
const std::string MeasureC = "[HDTEST] Analyzing volume \\\\.\\c: for contiguous space\n\n";
const std::string MeasureD = "[HDTEST] Analyzing volume \\\\.\\d: for contiguous space\n\n";
const std::string CNotOnUsb = "\\\\.\\c: does not reside on a usb drive\n";
const std::string DNotOnUsb = "\\\\.\\d: does not reside on a usb drive\n";
const std::string EOnUsb = "\\\\.\\e: resides on a usb drive\n";
const std::string FreeFailed150 =
    "<test><name>FreeHardDiskSpaceTest</name><passed>false</passed><more_info>150</more_info>"
    "<descriptive_name>Free space</descriptive_name>"
    "<descriptive_solution>Free 50 MB more on the system drive.</descriptive_solution></test>";

class DiskSpaceChecksTest : public ::testing::Test {
protected:
    // The desktop fixture, changed by edit, saved in the scratch folder.
    std::filesystem::path Desktop(const std::function<void(nlohmann::json&)>& edit)
    {
        nlohmann::json machine = nlohmann::json::parse(ReadFileText(FixturePath("machines/disk-space-desktop.json")));
        edit(machine);
        return folder.Write("machine.json", machine.dump());
    }

    ProgramResult Run(const std::filesystem::path& machine, const std::string& document = {})
    {
        const std::string input = document.empty() ? FixturePath("documents/disk-space-checks.xml").string()
                                                   : folder.Write("in.xml", document).string();
        return RunTarnwick({"-i", input, "-o", "results.xml", "-f"}, folder.Path(), machine);
    }

    static std::string Contiguous(const std::string& passed, const std::string& moreInfo,
                                  const std::string& solution = {})
    {
        return "<test><name>ContiguousFreeHardDiskSpaceTest</name><passed>" + passed + "</passed>" + moreInfo +
               "<descriptive_name>Contiguous space</descriptive_name>" + solution + "</test>";
    }

    ScratchFolder folder;
};

TEST_F(DiskSpaceChecksTest, EveryFixedNonUsbDriveIsMeasuredAndTheProgramFilesDriveDecides)
{
    const ProgramResult result = Run(FixturePath("machines/disk-space-desktop.json"));
    EXPECT_EQ(result.exitCode, 0);
    // C's longest run crosses the first slice boundary and is exactly the 100MB asked for; D's
    // last 13 mod 8 clusters are never examined, so it shows 8 of its 13 free megabytes.
    EXPECT_EQ(result.console, EchoedNames + FreeLine150 + CNotOnUsb + MeasureC +
                                  "[HDTEST] Need 100MB contiguous free hard disk space, 100MB available\n\n"
                                  "c: has enough contiguous hard disk space\n" +
                                  DNotOnUsb + MeasureD +
                                  "[HDTEST] Need 100MB contiguous free hard disk space, 8MB available\n\n" + EOnUsb +
                                  Closing);
    EXPECT_EQ(folder.Read("results.xml"),
              "<test_results>" + FreeFailed150 +
                  Contiguous("true", "<more_info>c: 100MB</more_info><more_info>d: 8MB</more_info>") +
                  "</test_results>\n");
    EXPECT_TRUE(
        result.trace.ends_with("[TARNWICK] Performing Test FreeHardDiskSpaceTest\n"
                               "[TARNWICK] Performing Test ContiguousFreeHardDiskSpaceTest\n"
                               "[TARNWICK]Successfully wrote to results.xml\n"))
        << result.trace;
}

TEST_F(DiskSpaceChecksTest, RunShorterThanTheThresholdFailsWithTheProgramFilesDrive)
{
    const std::string document =
        "<input_tests><test><name>ContiguousFreeHardDiskSpaceTest</name><parameter>101</parameter>"
        "<descriptive_name language='en'>Contiguous space</descriptive_name>"
        "<descriptive_solution language='en'>Defragment %wS.</descriptive_solution></test></input_tests>";
    const ProgramResult result = Run(FixturePath("machines/disk-space-desktop.json"), document);
    EXPECT_EQ(result.console, "ContiguousFreeHardDiskSpaceTest\n" + CNotOnUsb + MeasureC +
                                  "[HDTEST] Need 101MB contiguous free hard disk space, 100MB available\n\n"
                                  "c: does not have enough contiguous hard disk space\n" +
                                  DNotOnUsb + MeasureD +
                                  "[HDTEST] Need 101MB contiguous free hard disk space, 8MB available\n\n" + EOnUsb +
                                  Closing);
    EXPECT_EQ(folder.Read("results.xml"),
              "<test_results>" +
                  Contiguous("false", "<more_info>c: 100MB</more_info><more_info>d: 8MB</more_info>",
                             "<descriptive_solution>Defragment C:.</descriptive_solution>") +
                  "</test_results>\n");
}

TEST_F(DiskSpaceChecksTest, OnlyOneValidParameterSetsTheThresholdForEveryInstance)
{
    // The first parameter, with white space around it, is valid; none of the later ones is, so
    // every instance tests against 300 (if any were taken, 150MB would pass).
    std::string document = "<input_tests>";
    for (const std::string parameters :
         {"<parameter> 300\n  </parameter>", "<parameter>0</parameter>", "<parameter>abc</parameter>",
          "<parameter>-5</parameter>", "<parameter>1</parameter><parameter>2</parameter>",
          "<parameter>99999999999</parameter>", ""}) {
        document += "<test><name>FreeHardDiskSpaceTest</name>" + parameters +
                    "<descriptive_solution language='en'>%d</descriptive_solution></test>";
    }
    document += "<test><name>ContiguousFreeHardDiskSpaceTest</name><parameter>0</parameter></test></input_tests>";
    const ProgramResult result = Run(FixturePath("machines/disk-space-desktop.json"), document);
    const std::string results = folder.Read("results.xml");
    const std::string failed =
        "<passed>false</passed><more_info>150</more_info><descriptive_name/>"
        "<descriptive_solution>150</descriptive_solution>";
    std::size_t failures = 0;
    for (std::size_t at = results.find(failed); at != std::string::npos;
         at = results.find(failed, at + failed.size())) {
        ++failures;
    }
    EXPECT_EQ(failures, 7u) << results;
    // The contiguous threshold stays at its default of 2.
    EXPECT_NE(result.console.find("[HDTEST] Need 2MB contiguous free hard disk space, 100MB available\n"),
              std::string::npos);
}

TEST_F(DiskSpaceChecksTest, TwoValidParametersLeaveTheLastForBothInstances)
{
    const std::string document =
        "<input_tests>"
        "<test><name>FreeHardDiskSpaceTest</name><parameter>50</parameter>"
        "<descriptive_solution language='en'>%d</descriptive_solution></test>"
        "<test><name>freeharddiskspacetest</name><parameter>150</parameter>"
        "<descriptive_solution language='en'>%d</descriptive_solution></test>"
        "</input_tests>";
    Run(FixturePath("machines/disk-space-desktop.json"), document);
    // 150MB free against 150 both times: equal passes, and no solution is added.
    const std::string passed =
        "<test><name>FreeHardDiskSpaceTest</name><passed>true</passed><more_info>150</more_info>"
        "<descriptive_name/></test>";
    EXPECT_EQ(folder.Read("results.xml"), "<test_results>" + passed + passed + "</test_results>\n");
}

TEST_F(DiskSpaceChecksTest, ThresholdsAroundTheMeasuredSpaceAndTheParameterRange)
{
    // C has 150MB free and a longest free run of 100MB.
    const struct {
        const char* parameter;
        bool freePasses;
        bool contiguousPasses;
    } rows[] = {
        {"1", true, true},
        {"99", true, true},
        {"100", true, true},
        {"101", true, false},
        {"149", true, false},
        {"150", true, false},
        {"151", false, false},
        {"2147483646", false, false},
        // The value of an overflow leaves the defaults, 100 and 2.
        {"2147483647", true, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.parameter);
        const std::string parameter = std::string("<parameter>") + row.parameter + "</parameter>";
        Run(FixturePath("machines/disk-space-desktop.json"),
            "<input_tests><test><name>FreeHardDiskSpaceTest</name>" + parameter +
                "<descriptive_solution language='en'>%d</descriptive_solution></test>"
                "<test><name>ContiguousFreeHardDiskSpaceTest</name>" +
                parameter + "<descriptive_solution language='en'>%wS</descriptive_solution></test></input_tests>");
        const std::string results = folder.Read("results.xml");
        EXPECT_NE(results.find(std::string("<name>FreeHardDiskSpaceTest</name><passed>") +
                               (row.freePasses ? "true" : "false") + "</passed><more_info>150</more_info>"),
                  std::string::npos)
            << results;
        EXPECT_NE(results.find(std::string("<name>ContiguousFreeHardDiskSpaceTest</name><passed>") +
                               (row.contiguousPasses ? "true" : "false") + "</passed><more_info>c: 100MB</more_info>"),
                  std::string::npos)
            << results;
    }
}

TEST_F(DiskSpaceChecksTest, StandardUserCannotOpenDisksOrVolumesAndPasses)
{
    const ProgramResult result = Run(Desktop([](nlohmann::json& machine) { machine["administrator"] = false; }));
    // No volume opens for a standard user, so none counts as USB, and each is asked for its bitmap.
    const auto refused = [&](const std::string& letter) {
        return "CreateFile( \\\\.\\" + letter +
               ": ) failed\n"
               "[HDTEST] Analyzing volume \\\\.\\" +
               letter +
               ": for contiguous space\n\n"
               "[HDTEST] ERROR: Couldn't open \\\\.\\" +
               letter +
               ":\n\n"
               "[HDTEST] Failed with error 5\n\n";
    };
    EXPECT_EQ(result.console, EchoedNames + FreeLine150 + refused("c") + "c: has enough contiguous hard disk space\n" +
                                  refused("d") + refused("e") + Closing);
    EXPECT_EQ(folder.Read("results.xml"),
              "<test_results>" + FreeFailed150 + Contiguous("true", "") + "</test_results>\n");
}

TEST_F(DiskSpaceChecksTest, FailingPlatformCallsGiveTheirErrorLines)
{
    const auto withFault = [&](const std::string& call, const std::string& error) {
        return Desktop([&](nlohmann::json& machine) { machine["faults"] = {{{"call", call}, {"error", error}}}; });
    };

    ProgramResult result = Run(withFault("GetDiskFreeSpaceExW", "21"));
    EXPECT_TRUE(result.console.starts_with(
        EchoedNames + "[HDTEST] ERROR: Could not determine available hard disk space\n\n" + CNotOnUsb))
        << result.console;
    EXPECT_TRUE(folder.Read("results.xml")
                    .starts_with("<test_results><test><name>FreeHardDiskSpaceTest</name><passed>false</passed>"
                                 "<descriptive_name>Free space</descriptive_name></test>"));

    result = Run(withFault("DeviceIoControl.FSCTL_GET_VOLUME_BITMAP", "31"));
    EXPECT_EQ(result.console, EchoedNames + FreeLine150 + CNotOnUsb + MeasureC +
                                  "[HDTEST] ERROR: could not get volume bitmap\n\n"
                                  "c: has enough contiguous hard disk space\n" +
                                  DNotOnUsb + MeasureD + "[HDTEST] ERROR: could not get volume bitmap\n\n" + EOnUsb +
                                  Closing);
    EXPECT_EQ(folder.Read("results.xml"),
              "<test_results>" + FreeFailed150 + Contiguous("true", "") + "</test_results>\n");

    result = Run(withFault("GetDiskFreeSpaceW", "21"));
    EXPECT_NE(result.console.find(MeasureC + "[HDTEST] ERROR: Couldn't retrieve cluster size\n\nc: has enough"),
              std::string::npos)
        << result.console;

    result = Run(withFault("SHGetFolderPathW", "0x80004005"));
    EXPECT_EQ(result.console, EchoedNames + FreeLine150 + Closing);
    EXPECT_EQ(folder.Read("results.xml"),
              "<test_results>" + FreeFailed150 +
                  Contiguous("true", "<more_info>Couldn't find program files folder location</more_info>") +
                  "</test_results>\n");

    result = Run(withFault("GetLogicalDrives", "5"));
    EXPECT_EQ(result.console, EchoedNames + FreeLine150 + Closing);
    EXPECT_EQ(folder.Read("results.xml"),
              "<test_results>" + FreeFailed150 + Contiguous("true", "") + "</test_results>\n");
}

TEST_F(DiskSpaceChecksTest, FreeSpaceIsEveryFreeByteNotTheCallersShare)
{
    // A disk quota leaves the user 50MB of the 150MB free; the check counts all 150.
    const ProgramResult result =
        Run(Desktop([](nlohmann::json& machine) { machine["volumes"][0]["freeBytesAvailable"] = 52428800; }));
    EXPECT_TRUE(result.console.starts_with(EchoedNames + FreeLine150)) << result.console;
    EXPECT_TRUE(folder.Read("results.xml").starts_with("<test_results>" + FreeFailed150)) << folder.Read("results.xml");
}

TEST_F(DiskSpaceChecksTest, BitmapIsReadInSlicesOf80000Clusters)
{
    // C's 262,144 clusters take four controls and D's 13 one; the control fails from the fourth
    // call on, then from the fifth.
    const auto failingAfter = [&](int calls) {
        return Desktop([&](nlohmann::json& machine) {
            machine["faults"] = {
                {{"call", "DeviceIoControl.FSCTL_GET_VOLUME_BITMAP"}, {"error", 21}, {"after", calls}}};
        });
    };
    const std::string noBitmap = "[HDTEST] ERROR: could not get volume bitmap\n\n";
    ProgramResult result = Run(failingAfter(3));
    EXPECT_NE(result.console.find(MeasureC + noBitmap + "c: has enough contiguous hard disk space\n"),
              std::string::npos)
        << result.console;
    result = Run(failingAfter(4));
    EXPECT_NE(result.console.find(MeasureC +
                                  "[HDTEST] Need 100MB contiguous free hard disk space, 100MB available\n\n"
                                  "c: has enough contiguous hard disk space\n" +
                                  DNotOnUsb + MeasureD + noBitmap + EOnUsb),
              std::string::npos)
        << result.console;
}

TEST_F(DiskSpaceChecksTest, MissingPartsOfTheMachine)
{
    // No system directory: the free-space check fails without a measurement.
    ProgramResult result = Run(Desktop([](nlohmann::json& machine) { machine.erase("systemDirectory"); }));
    EXPECT_TRUE(result.console.starts_with(EchoedNames + "[HDTEST] ERROR: Could not determine installation disk\n\n" +
                                           CNotOnUsb));

    // A volume that another program holds open exclusively.
    result = Run(Desktop([](nlohmann::json& machine) { machine["volumes"][0]["openError"] = 32; }));
    EXPECT_NE(
        result.console.find(MeasureC + "[HDTEST] ERROR: Couldn't open \\\\.\\c:\n\n[HDTEST] Failed with error 32\n\n"
                                       "c: has enough contiguous hard disk space\n"),
        std::string::npos)
        << result.console;

    // A full volume has no free run at all.
    result = Run(Desktop([](nlohmann::json& machine) { machine["volumes"][0].erase("allocation"); }));
    EXPECT_NE(result.console.find("[HDTEST] Need 100MB contiguous free hard disk space, 0MB available\n\n"
                                  "c: does not have enough contiguous hard disk space\n"),
              std::string::npos);
    EXPECT_NE(folder.Read("results.xml").find("<more_info>c: 0MB</more_info>"), std::string::npos);
}

TEST_F(DiskSpaceChecksTest, ProgramFilesOnAUsbDiskLeavesNoDriveToDecide)
{
    const ProgramResult result =
        Run(Desktop([](nlohmann::json& machine) { machine["programFilesFolder"] = "e:\\Program Files"; }));
    EXPECT_EQ(result.console,
              EchoedNames + FreeLine150 + CNotOnUsb + MeasureC +
                  "[HDTEST] Need 100MB contiguous free hard disk space, 100MB available\n\n" + DNotOnUsb + MeasureD +
                  "[HDTEST] Need 100MB contiguous free hard disk space, 8MB available\n\n" + EOnUsb + Closing);
    EXPECT_NE(folder.Read("results.xml")
                  .find(Contiguous("true", "<more_info>c: 100MB</more_info><more_info>d: 8MB</more_info>")),
              std::string::npos);
}

}  // namespace

namespace {

TEST(ExampleMachinesTest, EachExampleMachineAnswersBothChecks)
{
    const std::vector<std::pair<std::string, std::string>> machines{
        {"default.json", "<more_info>c: 226562MB</more_info><more_info>e: 50000MB</more_info>"},
        {"laptop-ssd.json", "<more_info>c: 62031MB</more_info>"},
        // A standard user: no volume opens for the bitmap, so nothing is measured.
        {"desktop-usb-stick.json", ""},
        {"two-disk-server.json", "<more_info>c: 114062MB</more_info><more_info>d: 258636MB</more_info>"},
    };
    for (const auto& [machine, measured] : machines) {
        ScratchFolder folder;
        const ProgramResult result = RunTarnwick({"-i", ExamplePath("input.xml").string(), "-o", "results.xml"},
                                                 folder.Path(), ExamplePath("machines/" + machine));
        EXPECT_EQ(result.exitCode, 0) << machine << result.trace;
        EXPECT_NE(folder.Read("results.xml")
                      .find("<test><name>ContiguousFreeHardDiskSpaceTest</name><passed>true</passed>" + measured +
                            "<descriptive_name>"),
                  std::string::npos)
            << machine;
    }
}

}  // namespace
