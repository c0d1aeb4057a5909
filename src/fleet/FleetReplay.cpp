#include "fleet/FleetReplay.h"

#include "fleet/FleetWorker.h"
#include "fleet/MachineRun.h"
#include "fleet/MachineScratch.h"
#include "fleet/ResultsVerdicts.h"

#include <poll.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace fleet {

namespace {

constexpr const char* ProfileExtension = ".json";
// How many of a failed run's last trace lines explain it: the failure and the step that failed.
constexpr std::size_t ExplainingTraceLines = 2;
constexpr const char* TraceLineSeparator = " / ";

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
    for (std::size_t i = lines.size() > ExplainingTraceLines ? lines.size() - ExplainingTraceLines : 0;
         i < lines.size(); ++i) {
        words += (words.empty() ? "" : TraceLineSeparator) + lines[i];
    }
    return words;
}

void Collect(const std::filesystem::path& scratch, std::size_t index, MachineEnd end, MachineVerdicts& machine)
{
    if (!end.signalled) {
        machine.exitCode = end.code;
    }
    const std::filesystem::path problemFile = ScratchFile(scratch, index, ProblemExtension);
    if (!end.signalled && end.code == MachineRefused && std::filesystem::exists(problemFile)) {
        machine.problem = ReadProblem(problemFile);
        return;
    }
    if (end.signalled) {
        machine.problem = "run ended by signal " + std::to_string(end.code);
        return;
    }
    const std::filesystem::path results = ScratchFile(scratch, index, ResultsExtension);
    if (!std::filesystem::exists(results)) {
        machine.problem = "no results document (exit code " + std::to_string(end.code) + ")";
        if (const std::string words = LastTraceLines(ScratchFile(scratch, index, TraceExtension)); !words.empty()) {
            machine.problem += ": " + words;
        }
        return;
    }
    machine.problem =
        ReadResultsVerdicts(results, machine.verdicts, ReadRunConsole(ScratchFile(scratch, index, ConsoleExtension)));
}

// A machine's scratch files go as soon as its verdicts are read. Every run looks its results
// document up in the scratch folder as Windows would, letter case aside, by reading the folder's
// names: a folder that kept every machine's files made each run slower than the one before, and
// a fleet of 1,000 spent more time listing the folder than running its checks.
void DiscardScratchFiles(const std::filesystem::path& scratch, std::size_t index)
{
    std::error_code ignored;
    for (const char* extension : {ResultsExtension, ConsoleExtension, TraceExtension, ProblemExtension}) {
        std::filesystem::remove(ScratchFile(scratch, index, extension), ignored);
    }
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

void ReplayFleet(const std::vector<std::filesystem::path>& inputs, const std::vector<std::filesystem::path>& profiles,
                 const std::filesystem::path& scratch, unsigned jobs, const std::vector<std::wstring>& programArguments,
                 const MachineDone& machineDone)
{
    // Run i is document i % inputs.size() on machine i / inputs.size(): a machine's documents are
    // handed out one after the other. A machine's verdicts are kept only until its last document
    // is read, then handed on.
    const std::size_t runs = profiles.size() * inputs.size();
    std::vector<std::vector<MachineVerdicts>> machines(profiles.size());
    std::vector<std::size_t> collected(profiles.size());
    const auto verdictsOf = [&](std::size_t index) -> MachineVerdicts& {
        std::vector<MachineVerdicts>& documents = machines[index / inputs.size()];
        if (documents.empty()) {
            documents.resize(inputs.size());
            for (MachineVerdicts& document : documents) {
                document.machine = profiles[index / inputs.size()].filename().string();
            }
        }
        return documents[index % inputs.size()];
    };
    const auto finish = [&](std::size_t index) {
        const std::size_t machine = index / inputs.size();
        if (++collected[machine] == inputs.size()) {
            machineDone(machine, machines[machine]);
            std::vector<MachineVerdicts>().swap(machines[machine]);
        }
    };
    const std::function<int(std::size_t)> runMachine = [&](std::size_t index) {
        return RunMachine(inputs[index % inputs.size()], profiles[index / inputs.size()], scratch, index,
                          programArguments);
    };
    const auto startWorker = [&] { return FleetWorker(runMachine); };
    std::vector<FleetWorker> workers;
    std::vector<std::optional<std::size_t>> busyWith;
    std::size_t next = 0;
    const auto giveWork = [&](std::size_t slot) {
        while (next < runs) {
            const std::size_t index = next++;
            if (workers[slot].Send(index)) {
                busyWith[slot] = index;
                return;
            }
            verdictsOf(index).problem = "cannot start a process for the machine";
            finish(index);
            workers[slot] = startWorker();
        }
        busyWith[slot].reset();
    };
    const std::size_t count = std::min<std::size_t>(std::max(jobs, 1u), runs);
    for (std::size_t slot = 0; slot < count; ++slot) {
        workers.push_back(startWorker());
        busyWith.emplace_back();
        giveWork(slot);
    }
    std::vector<pollfd> channels;
    for (;;) {
        channels.clear();
        std::vector<std::size_t> slots;
        for (std::size_t slot = 0; slot < workers.size(); ++slot) {
            if (busyWith[slot]) {
                channels.push_back(pollfd{workers[slot].Channel(), POLLIN, 0});
                slots.push_back(slot);
            }
        }
        if (channels.empty()) {
            break;
        }
        if (::poll(channels.data(), channels.size(), -1) < 0) {
            continue;
        }
        for (std::size_t i = 0; i < channels.size(); ++i) {
            if (channels[i].revents == 0) {
                continue;
            }
            const std::size_t slot = slots[i];
            const std::size_t index = *busyWith[slot];
            Collect(scratch, index, workers[slot].Receive(), verdictsOf(index));
            DiscardScratchFiles(scratch, index);
            finish(index);
            if (!workers[slot].Running()) {
                // The worker died on this machine: the others still get a fresh one.
                workers[slot] = startWorker();
            }
            giveWork(slot);
        }
    }
}

}  // namespace fleet
