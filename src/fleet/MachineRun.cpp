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

constexpr std::size_t ChannelBufferBytes = 64 * 1024;

void WriteProblem(const std::filesystem::path& path, const std::string& problem)
{
    std::ofstream(path) << problem;
}

// Sends the channel's output (standard output or error) to the machine's scratch file. Both are
// read only after the run, so they need not reach the file line by line: a run writes a few
// hundred lines, each a system call when unbuffered. The stream was just flushed.
void RedirectToScratch(int channel, std::FILE* stream, const std::filesystem::path& file)
{
    const int opened = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (opened >= 0) {
        ::dup2(opened, channel);
        ::close(opened);
    }
    std::setvbuf(stream, nullptr, _IOFBF, ChannelBufferBytes);
}

}  // namespace

void ResetProcessForMachine()
{
    winapi::sim::ResetSimulatedProcess();
    ResetTestSettings();
}

int RunMachine(const std::filesystem::path& input, const std::filesystem::path& profile,
               const std::filesystem::path& scratch, std::size_t index,
               const std::vector<std::wstring>& programArguments)
{
    ResetProcessForMachine();
    std::fflush(stdout);
    std::fflush(stderr);
    // The console tells some passes that did not look from real ones (VerdictAssessment.h); the
    // trace says why a run wrote no results document.
    RedirectToScratch(STDOUT_FILENO, stdout, ScratchFile(scratch, index, ConsoleExtension));
    RedirectToScratch(STDERR_FILENO, stderr, ScratchFile(scratch, index, TraceExtension));
    winapi::sim::Machine machine;
    if (const std::string problem = LoadMachineFromFile(profile.string(), machine); !problem.empty()) {
        WriteProblem(ScratchFile(scratch, index, ProblemExtension), "profile refused: " + problem);
        return MachineRefused;
    }
    winapi::sim::InstallMachine(std::move(machine));
    std::vector<std::wstring> arguments{L"tarnwick",
                                        L"-i",
                                        winapi::FromUtf8(input.string()),
                                        L"-o",
                                        winapi::FromUtf8(ScratchFile(scratch, index, ResultsExtension).string()),
                                        L"-f"};
    arguments.insert(arguments.end(), programArguments.begin(), programArguments.end());
    winapi::sim::SetProcessCommandLine(winapi::sim::JoinCommandLine(arguments));
    const int exitCode = TarnwickMain();
    std::fflush(stdout);
    std::fflush(stderr);
    return exitCode;
}

}  // namespace fleet
