#include "fleet/FleetReplay.h"

#include "fleet/ResultsVerdicts.h"
#include "main/TarnwickMain.h"
#include "winapi/Utf8.h"
#include "winapi/simulated/system/CommandLine.h"
#include "winapi/simulated/SimulatedStart.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace fleet {

namespace {

constexpr const char* ProfileExtension = ".json";
constexpr const char* ProblemExtension = ".problem";
constexpr const char* ResultsExtension = ".xml";
constexpr const char* TraceExtension = ".trace";
// How many of a failed run's last trace lines explain it: the failure and the step that failed.
constexpr std::size_t ExplainingTraceLines = 2;
constexpr const char* TraceLineSeparator = " / ";
// A child that cannot start the run at all leaves with this code, its reason in the problem file.
constexpr int ChildRefused = 2;

std::filesystem::path ScratchFile(const std::filesystem::path& scratch, std::size_t index, const char* extension)
{
    return scratch / (std::to_string(index) + extension);
}

void WriteProblem(const std::filesystem::path& path, const std::string& problem)
{
    std::ofstream(path) << problem;
}

// The child's whole life: the machine of one profile, one run of the program on it, its console
// dropped and its trace kept for the case that the run writes no results document.
[[noreturn]] void RunMachine(const std::filesystem::path& input, const std::filesystem::path& profile,
                             const std::filesystem::path& scratch, std::size_t index)
{
    const int silence = ::open("/dev/null", O_WRONLY);
    if (silence >= 0) {
        ::dup2(silence, STDOUT_FILENO);
        ::close(silence);
    }
    const int trace = ::open(ScratchFile(scratch, index, TraceExtension).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (trace >= 0) {
        ::dup2(trace, STDERR_FILENO);
        ::close(trace);
    }
    winapi::sim::Machine machine;
    if (const std::string problem = LoadMachineFromFile(profile.string(), machine); !problem.empty()) {
        WriteProblem(ScratchFile(scratch, index, ProblemExtension), "profile refused: " + problem);
        ::_exit(ChildRefused);
    }
    winapi::sim::InstallMachine(std::move(machine));
    winapi::sim::SetProcessCommandLine(winapi::sim::JoinCommandLine(
        {L"tarnwick", L"-i", winapi::FromUtf8(input.string()), L"-o",
         winapi::FromUtf8(ScratchFile(scratch, index, ResultsExtension).string()), L"-f"}));
    const int exitCode = TarnwickMain();
    std::fflush(stdout);
    ::_exit(exitCode);
}

std::string ReadProblem(const std::filesystem::path& path)
{
    std::ifstream file(path);
    std::string problem;
    std::getline(file, problem);
    return problem;
}

// The run's own account of why it wrote nothing: its last trace lines, joined.
std::string LastTraceLines(const std::filesystem::path& path)
{
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    std::string words;
    for (std::size_t i = lines.size() > ExplainingTraceLines ? lines.size() - ExplainingTraceLines : 0; i < lines.size(); ++i) {
        words += (words.empty() ? "" : TraceLineSeparator) + lines[i];
    }
    return words;
}

void Collect(const std::filesystem::path& scratch, std::size_t index, int status, MachineVerdicts& machine)
{
    const std::filesystem::path problemFile = ScratchFile(scratch, index, ProblemExtension);
    if (WIFEXITED(status) && WEXITSTATUS(status) == ChildRefused && std::filesystem::exists(problemFile)) {
        machine.problem = ReadProblem(problemFile);
        return;
    }
    if (!WIFEXITED(status)) {
        machine.problem = "run ended by signal " + std::to_string(WTERMSIG(status));
        return;
    }
    const std::filesystem::path results = ScratchFile(scratch, index, ResultsExtension);
    if (!std::filesystem::exists(results)) {
        machine.problem = "no results document (exit code " + std::to_string(WEXITSTATUS(status)) + ")";
        if (const std::string words = LastTraceLines(ScratchFile(scratch, index, TraceExtension)); !words.empty()) {
            machine.problem += ": " + words;
        }
        return;
    }
    machine.problem = ReadResultsVerdicts(results, machine.verdicts);
}

// Profiles copied from Windows machines may end in ".JSON".
bool IsProfileName(const std::filesystem::path& path)
{
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ProfileExtension;
}

}  // namespace

std::vector<std::filesystem::path> ProfilesInFolder(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> profiles;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.is_regular_file() && IsProfileName(entry.path())) {
            profiles.push_back(entry.path());
        }
    }
    std::sort(profiles.begin(), profiles.end(),
              [](const auto& left, const auto& right) { return left.filename() < right.filename(); });
    return profiles;
}

std::vector<MachineVerdicts> ReplayFleet(const std::filesystem::path& input,
                                         const std::vector<std::filesystem::path>& profiles,
                                         const std::filesystem::path& scratch, unsigned jobs)
{
    std::vector<MachineVerdicts> machines(profiles.size());
    std::map<pid_t, std::size_t> running;
    std::size_t next = 0;
    const auto waitForOne = [&] {
        int status = 0;
        const pid_t finished = ::waitpid(-1, &status, 0);
        if (finished < 0) {
            // No child is left to wait for: none of the running machines can report any more.
            for (const auto& [pid, index] : running) {
                machines[index].problem = "run lost";
            }
            running.clear();
            return;
        }
        const auto child = running.find(finished);
        if (child != running.end()) {
            Collect(scratch, child->second, status, machines[child->second]);
            running.erase(child);
        }
    };
    while (next < profiles.size() || !running.empty()) {
        if (next < profiles.size() && running.size() < std::max(jobs, 1u)) {
            machines[next].machine = profiles[next].filename().string();
            // Whatever this process has buffered must not be printed again by the child.
            std::fflush(stdout);
            std::fflush(stderr);
            const pid_t child = ::fork();
            if (child == 0) {
                RunMachine(input, profiles[next], scratch, next);
            }
            if (child < 0) {
                machines[next].problem = "cannot start a process for the machine";
            } else {
                running[child] = next;
            }
            ++next;
        } else {
            waitForOne();
        }
    }
    return machines;
}

}  // namespace fleet
