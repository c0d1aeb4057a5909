#include "fleet/MachineRun.h"

#include "fleet/MachineScratch.h"
#include "framework/TestRegistry.h"
#include "main/TarnwickMain.h"
#include "winapi/Utf8.h"
#include "winapi/simulated/system/CommandLine.h"
#include "winapi/simulated/ProcessReset.h"
#include "winapi/simulated/SimulatedStart.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace fleet {

namespace {

constexpr std::size_t TraceBufferBytes = 64 * 1024;

void WriteProblem(const std::filesystem::path& path, const std::string& problem)
{
    std::ofstream(path) << problem;
}

// A worker's console is dropped: no one reads it, and the results documents hold the verdicts.
void SilenceConsole()
{
    const int silence = ::open("/dev/null", O_WRONLY);
    if (silence >= 0) {
        ::dup2(silence, STDOUT_FILENO);
        ::close(silence);
    }
}

}  // namespace

void ResetProcessForMachine()
{
    winapi::sim::ResetSimulatedProcess();
    ResetTestSettings();
}

int RunMachine(const std::filesystem::path& input, const std::filesystem::path& profile,
               const std::filesystem::path& scratch, std::size_t index)
{
    ResetProcessForMachine();
    std::fflush(stdout);
    std::fflush(stderr);
    SilenceConsole();
    const int trace = ::open(ScratchFile(scratch, index, TraceExtension).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (trace >= 0) {
        ::dup2(trace, STDERR_FILENO);
        ::close(trace);
    }
    // The trace is read only after the run, so it need not reach the file line by line: a run
    // writes a few hundred lines, each a system call when unbuffered. The stream was just flushed.
    std::setvbuf(stderr, nullptr, _IOFBF, TraceBufferBytes);
    winapi::sim::Machine machine;
    if (const std::string problem = LoadMachineFromFile(profile.string(), machine); !problem.empty()) {
        WriteProblem(ScratchFile(scratch, index, ProblemExtension), "profile refused: " + problem);
        return MachineRefused;
    }
    winapi::sim::InstallMachine(std::move(machine));
    winapi::sim::SetProcessCommandLine(winapi::sim::JoinCommandLine(
        {L"tarnwick", L"-i", winapi::FromUtf8(input.string()), L"-o",
         winapi::FromUtf8(ScratchFile(scratch, index, ResultsExtension).string()), L"-f"}));
    const int exitCode = TarnwickMain();
    std::fflush(stdout);
    std::fflush(stderr);
    return exitCode;
}

}  // namespace fleet
