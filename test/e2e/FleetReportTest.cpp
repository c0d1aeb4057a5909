// The fleet's page and CSV file, and tarnwick-report's page, built from machines whose texts hold
// markup, script and spreadsheet formulas: every such text must reach the page only as data and
// the spreadsheet only as text. Also the fleet's account of machines without verdicts.

#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <map>
#include <set>
#include <sstream>
#include <string>

namespace {

constexpr const char* BiosLine = "=HYPERLINK(\"http://x\")</script><script>alert(1)</script>";
constexpr const char* BoardProduct = "@SUM(1+1)<!--<b>bold</b>";
constexpr const char* HostileName = "<img src=x onerror=alert(3)>.JSON";

std::size_t Count(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// A page holds the texts only as script-safe JSON: its two script elements are its own, and no
// angle bracket of a machine's text is left; escaped is one of those texts as the page holds it.
void ExpectOnlyDataFromTheMachine(const std::string& page, const std::string& escaped)
{
    EXPECT_EQ(Count(Lower(page), "<script"), 2u);
    EXPECT_EQ(Count(page, "</script>"), 2u);
    EXPECT_EQ(Count(Lower(page), "<img"), 0u);
    EXPECT_EQ(Count(page, "<b>"), 0u);
    EXPECT_EQ(Count(page, "<i>"), 0u);
    EXPECT_EQ(Count(page, "<!--"), 0u);
    EXPECT_NE(page.find(escaped), std::string::npos);
    EXPECT_NE(page.find("Content-Security-Policy\" content=\"default-src 'none'; script-src 'sha256-"),
              std::string::npos);
}

class FleetReportTest : public testing::Test {
protected:
    std::filesystem::path HostileFleet()
    {
        nlohmann::json machine = nlohmann::json::parse(ReadFileText(ExamplePath("machines/default.json")));
        machine["registry"]["HARDWARE\\Description\\System"]["values"]["SystemBiosVersion"] = {
            {"type", "REG_MULTI_SZ"}, {"data", {BiosLine, "<img src=x onerror=alert(2)>"}}};
        machine["wmi"]["Win32_BaseBoard"][0]["Product"] = BoardProduct;
        scratch_.Write(std::string("fleet/") + HostileName, machine.dump());
        scratch_.Write("fleet/-minus.json", machine.dump());
        return scratch_.Path() / "fleet";
    }

    ScratchFolder scratch_;
};

TEST_F(FleetReportTest, FleetPageAndCsvCarryMarkupAndFormulasOnlyAsText)
{
    const std::filesystem::path fleet = HostileFleet();
    const ProgramResult run =
        RunProgram(TARNWICK_FLEET,
                   {"-i", ExamplePath("input.xml").string(), "--html", "page.html", "--csv", "v.csv", fleet.string()},
                   scratch_.Path());
    ASSERT_EQ(run.exitCode, 0) << run.trace;
    // The upper-case ".JSON" is a profile like any other.
    EXPECT_NE(run.console.find(HostileName), std::string::npos);

    // The page keeps only failing verdicts' lines: the board's, not the listed BIOS's.
    ExpectOnlyDataFromTheMachine(scratch_.Read("page.html"), "Dell Inc. @SUM(1+1)\\u003c!--\\u003cb\\u003ebold");
    const std::string csv = scratch_.Read("v.csv");
    EXPECT_NE(csv.find("\"'-minus.json\",\"BlacklistBiosTest\",\"pass\",\"\",\"'=HYPERLINK(\"\"http://x\"\")</script>"),
              std::string::npos);
    EXPECT_NE(
        csv.find(std::string("\"") + HostileName + "\",\"WhitelistMotherboardTest\",\"fail\",\"\",\"Dell Inc. @SUM"),
        std::string::npos);
    EXPECT_EQ(csv.find("\"=HYPERLINK"), std::string::npos);
}

TEST_F(FleetReportTest, ReportPageOfResultsDocumentsCarriesMarkupOnlyAsText)
{
    const std::string results =
        std::string("<test_results><test><name>BlacklistBiosTest</name><passed>false</passed>") +
        "<more_info>=HYPERLINK(&quot;http://x&quot;)&lt;/script&gt;&lt;script&gt;alert(1)&lt;/script&gt;</more_info>"
        "<descriptive_name>&lt;img src=x onerror=alert(2)&gt;</descriptive_name>"
        "<descriptive_solution>@SUM(1+1)&lt;!--&lt;b&gt;bold&lt;/b&gt;</descriptive_solution>"
        "</test></test_results>";
    scratch_.Write("<i>desk.xml", results);
    scratch_.Write("truncated.xml", "<test_results><test>");
    const ProgramResult run = RunProgram(
        TARNWICK_REPORT, {"-o", "page.html", "--csv", "v.csv", "<i>desk.xml", "truncated.xml"}, scratch_.Path());
    // The truncated document gives no verdicts, and says why.
    EXPECT_EQ(run.exitCode, 2) << run.trace;
    const std::string page = scratch_.Read("page.html");
    ExpectOnlyDataFromTheMachine(page, "\\u003c/script\\u003e\\u003cscript\\u003ealert(1)");
    // [name, status (no verdicts), passes, scan time, problem]
    const std::size_t truncated = page.find("[\"truncated.xml\",3,0,");
    EXPECT_NE(truncated, std::string::npos);
    EXPECT_EQ(page.find("\"results document truncated.xml unreadable: "), page.find(",\"results", truncated) + 1);
    const std::string csv = scratch_.Read("v.csv");
    EXPECT_NE(csv.find("\"<i>desk.xml\",\"BlacklistBiosTest\",\"fail\",\"\",\"'=HYPERLINK(\"\"http://x\"\")"),
              std::string::npos);
    EXPECT_NE(csv.find("\"'@SUM(1+1)<!--<b>bold</b>\""), std::string::npos);
}

TEST_F(FleetReportTest, AMachineWithoutVerdictsGivesTheRunsOwnWordsAndTheExitCode)
{
    scratch_.Write("fleet/a.json", ReadFileText(ExamplePath("machines/default.json")));
    scratch_.Write("broken-input.xml", "<input_tests><test>");
    const ProgramResult run =
        RunProgram(TARNWICK_FLEET, {"-i", "broken-input.xml", "--csv", "v.csv", "fleet"}, scratch_.Path());
    EXPECT_EQ(run.exitCode, 2);
    const std::string row = " no results document (exit code 0): [TARNWICK] Error reading from ";
    EXPECT_NE(run.console.find(row), std::string::npos) << run.console;
    EXPECT_NE(run.console.find("broken-input.xml / FAILURE RUNNING TARNWICK.EXE\n"), std::string::npos) << run.console;
    EXPECT_NE(scratch_.Read("v.csv").find("\"a.json\",\"\",\"no verdicts\",\"no results document (exit code 0): "),
              std::string::npos);

    const ProgramResult unwritable =
        RunProgram(TARNWICK_FLEET, {"-i", ExamplePath("input.xml").string(), "--html", "missing/page.html", "fleet"},
                   scratch_.Path());
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_NE(unwritable.trace.find("cannot write \"missing/page.html\""), std::string::npos) << unwritable.trace;
}

// Each machine's checks with the verdict word ("fail", "unverified"), as the verdict CSV gives them.
std::map<std::string, std::string> ChecksInVerdictCsv(const std::string& csv, const std::string& word)
{
    std::map<std::string, std::string> failures;
    for (std::size_t at = 0, end = 0; (end = csv.find("\r\n", at)) != std::string::npos; at = end + 2) {
        const std::string row = csv.substr(at, end - at);
        const std::size_t check = row.find("\",\"") + 3;
        const std::size_t verdict = row.find("\",\"", check) + 3;
        std::string& list = failures[row.substr(1, check - 4)];
        if (row.compare(verdict, word.size() + 1, word + "\"") == 0) {
            if (!list.empty()) {
                list += ';';
            }
            list += row.substr(check, verdict - 3 - check);
        }
    }
    failures.erase("machine");
    return failures;
}

TEST_F(FleetReportTest, TheMachineCsvGivesEachMachinesBlockersAndThePageNamesChecksInTheDocumentsLanguage)
{
    const ProgramResult run = RunProgram(TARNWICK_FLEET,
                                         {"-i", ExamplePath("input.xml").string(), "-l", "de", "--html", "page.html",
                                          "--csv", "v.csv", "--machines", "m.csv", ExamplePath("machines").string()},
                                         scratch_.Path());
    ASSERT_EQ(run.exitCode, 0) << run.trace;
    const std::map<std::string, std::string> failures = ChecksInVerdictCsv(scratch_.Read("v.csv"), "fail");
    const std::map<std::string, std::string> unverified = ChecksInVerdictCsv(scratch_.Read("v.csv"), "unverified");
    ASSERT_EQ(failures.size(), 7u);
    std::istringstream rows(scratch_.Read("m.csv"));
    std::string row;
    std::getline(rows, row);
    EXPECT_EQ(row, "\"machine\",\"status\",\"blocking\",\"unverified\",\"scan_time\",\"reason\"\r");
    std::set<std::string> machines;
    while (std::getline(rows, row)) {
        const std::string machine = row.substr(1, row.find('"', 1) - 1);
        machines.insert(machine);
        SCOPED_TRACE(row);
        EXPECT_TRUE(row.starts_with("\"" + machine + "\",\"blocked\",\"" + failures.at(machine) + "\",\"" +
                                    unverified.at(machine) + "\",\"20"));
        EXPECT_TRUE(row.ends_with("Z\",\"\"\r"));
    }
    EXPECT_EQ(machines.size(), 7u);
    EXPECT_EQ(failures.at("default.json"), "DualBootTest;HiddenVolumeTest;LaptopTest");
    // A machine without USB devices cannot be told from one whose devices could not be listed.
    EXPECT_EQ(unverified.at("default.json"), "");
    EXPECT_EQ(unverified.at("xp-desktop.json"), "BlacklistUSBDeviceTest;WhitelistUSBDeviceTest");
    // -l as the program has it: the descriptive name in German where the document has one, the
    // input name beside it, and the input name alone where it has none.
    const std::string page = scratch_.Read("page.html");
    EXPECT_NE(page.find("\"title\":\"Keine dynamischen Datentr\u00e4ger (DynamicVolumeTest)\""), std::string::npos);
    EXPECT_NE(page.find("\"title\":\"MSSecurityEssentialsInstalledTest\""), std::string::npos);
}

TEST_F(FleetReportTest, TheReportReadsAFolderAndTakesEachDocumentsFileTimeAsItsScanTime)
{
    const std::string passing = "<test_results><test><name>OSTest</name><passed>true</passed></test></test_results>";
    const std::string failing =
        "<test_results><test><name>MemoryTest</name><passed>false</passed>"
        "<more_info>4096</more_info><more_info>4094</more_info></test></test_results>";
    const std::filesystem::path older = scratch_.Write("collected/b.xml", failing);
    const std::filesystem::path newer = scratch_.Write("collected/a.xml", passing);
    scratch_.Write("collected/notes.txt", "not a results document");
    using std::chrono::file_clock;
    using std::chrono::sys_seconds;
    std::filesystem::last_write_time(older, file_clock::from_sys(sys_seconds(std::chrono::seconds(1796635586))));
    std::filesystem::last_write_time(newer, file_clock::from_sys(sys_seconds(std::chrono::seconds(1796700000))));
    const ProgramResult run =
        RunProgram(TARNWICK_REPORT, {"-o", "page.html", "--machines", "m.csv", "collected"}, scratch_.Path());
    ASSERT_EQ(run.exitCode, 0) << run.trace;
    EXPECT_EQ(scratch_.Read("m.csv"),
              "\"machine\",\"status\",\"blocking\",\"unverified\",\"scan_time\",\"reason\"\r\n"
              "\"a.xml\",\"ready\",\"\",\"\",\"2026-12-08T03:20:00Z\",\"\"\r\n"
              "\"b.xml\",\"blocked\",\"MemoryTest\",\"\",\"2026-12-07T09:26:26Z\",\"\"\r\n");
    const std::string page = scratch_.Read("page.html");
    EXPECT_NE(page.find("\"heading\":\"Results documents from 2 machines\""), std::string::npos);
    EXPECT_NE(page.find("\"oldestScan\":1796635586,"), std::string::npos);
    EXPECT_NE(page.find("\"newestScan\":1796700000,"), std::string::npos);
    EXPECT_NE(page.find("\"reason\":\"needed 4096 MB, installed 4094 MB\""), std::string::npos);
}

// What a program writes to standard error when that is a terminal (a pseudo-terminal here).
std::string TerminalTrace(const std::vector<std::string>& arguments, const std::filesystem::path& folder)
{
    int terminal = -1;
    int programSide = -1;
    if (::openpty(&terminal, &programSide, nullptr, nullptr, nullptr) != 0) {
        ADD_FAILURE() << "no pseudo-terminal";
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(programSide, STDERR_FILENO);
        ::close(terminal);
        if (::chdir(folder.c_str()) != 0) {
            ::_exit(127);
        }
        std::vector<char*> argv;
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(programSide);
    std::string written;
    char buffer[4096];
    for (ssize_t got = 0; (got = ::read(terminal, buffer, sizeof buffer)) > 0;) {
        written.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(terminal);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << written;
    return written;
}

TEST_F(FleetReportTest, ProgressShowsOnATerminalOnly)
{
    const std::string document = "<test_results><test><name>OSTest</name><passed>true</passed></test></test_results>";
    scratch_.Write("collected/a.xml", document);
    scratch_.Write("collected/b.xml", document);
    const std::string onTerminal = TerminalTrace({TARNWICK_REPORT, "-o", "page.html", "collected"}, scratch_.Path());
    EXPECT_NE(onTerminal.find("\r0 of 2 machines"), std::string::npos) << onTerminal;
    EXPECT_NE(onTerminal.find("\r2 of 2 machines"), std::string::npos) << onTerminal;
    // The line is cleared at the end: what follows starts on a clean line.
    EXPECT_TRUE(onTerminal.ends_with("\r")) << onTerminal;

    scratch_.Write("fleet/a.json", ReadFileText(ExamplePath("machines/default.json")));
    const std::string fleetOnTerminal =
        TerminalTrace({TARNWICK_FLEET, "-i", ExamplePath("input.xml").string(), "fleet"}, scratch_.Path());
    EXPECT_NE(fleetOnTerminal.find("\r1 of 1 machines"), std::string::npos) << fleetOnTerminal;

    const ProgramResult piped = RunProgram(TARNWICK_REPORT, {"-o", "page.html", "collected"}, scratch_.Path());
    EXPECT_EQ(piped.exitCode, 0);
    EXPECT_EQ(piped.trace, "");
}

}  // namespace
