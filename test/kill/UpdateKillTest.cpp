// Update mode killed at random moments of its save. After every kill the input document must be
// exactly the old document or exactly the new one; a saving file left behind must neither stop
// the next update nor ever be read in the input's place.

#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int DefaultKills = 1000;
// Enough checks that loading and saving take a good part of the run, as on a customer's list.
constexpr int FillerTests = 4000;

const std::string ListTest = "<test><name>BlacklistBiosTest</name><parameter>first</parameter></test>";

std::string LargeInput()
{
    std::string input = "<input_tests>";
    for (int i = 0; i < FillerTests; ++i) {
        input +=
            "<test><name>OSTest</name><parameter>Windows XP</parameter><descriptive_name language=\"en\">"
            "Operating system " +
            std::to_string(i) +
            "</descriptive_name><descriptive_solution language=\"en\">"
            "Install a supported release &amp; try again.</descriptive_solution></test>";
    }
    return input + ListTest + "</input_tests>\n";
}

std::string ResultsWith(const std::string& value)
{
    return "<test_results><test><name>BlacklistBiosTest</name><passed>true</passed><more_info>" + value +
           "</more_info></test></test_results>";
}

// The document one completed update makes of old: the value appended to the list check.
std::string Updated(std::string old, const std::string& value)
{
    const std::size_t end = old.rfind("</test>");
    return old.insert(end, "<parameter>" + value + "</parameter>");
}

int Kills()
{
    const char* configured = std::getenv("TARNWICK_KILLS");
    return configured != nullptr ? std::max(1, std::atoi(configured)) : DefaultKills;
}

const std::vector<std::string> UpdateArguments{"-update", "-i", "in.xml", "-o", "out.xml", "-b", "bios"};

}  // namespace

TEST(UpdateKillTest, InputIsAlwaysTheOldOrTheNewDocument)
{
    ScratchFolder folder;
    folder.Write("in.xml", LargeInput());
    // One whole update first: from then on every document on the disk is in the form the save
    // writes, so the new document is the old one with one more parameter.
    folder.Write("out.xml", ResultsWith("second"));
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(RunTarnwick(UpdateArguments, folder.Path()).exitCode, 0);
    const auto runTime =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);
    ASSERT_EQ(folder.Read("in.xml"), Updated(LargeInput(), "second"));

    std::mt19937 random(20261206);
    // A little past the run's length, so that some kills find the program already gone.
    std::uniform_int_distribution<long> delay(0, runTime.count() * 11 / 10);
    int keptOld = 0;
    int becameNew = 0;
    int leftovers = 0;
    const int kills = Kills();
    for (int kill = 0; kill < kills; ++kill) {
        const std::string value = "value " + std::to_string(kill);
        const std::string old = folder.Read("in.xml");
        folder.Write("out.xml", ResultsWith(value));
        const pid_t child = StartTarnwickQuietly(UpdateArguments, folder.Path());
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);

        const std::string now = folder.Read("in.xml");
        if (now == old) {
            ++keptOld;
        } else {
            ASSERT_EQ(now, Updated(old, value)) << "after kill " << kill;
            ++becameNew;
        }
        leftovers += folder.Exists("in.xml.saving") ? 1 : 0;
    }
    // Whatever the last kill left behind, the next update goes through.
    const std::string old = folder.Read("in.xml");
    folder.Write("out.xml", ResultsWith("last"));
    ASSERT_EQ(RunTarnwick(UpdateArguments, folder.Path()).exitCode, 0);
    EXPECT_EQ(folder.Read("in.xml"), Updated(old, "last"));
    EXPECT_FALSE(folder.Exists("in.xml.saving"));

    std::cout << kills << " kills: " << keptOld << " left the old document, " << becameNew
              << " the new one; a saving file was left " << leftovers << " times\n";
    // Both outcomes must have been tried for the test to mean anything.
    EXPECT_GT(keptOld, 0);
    EXPECT_GT(becameNew, 0);
}
