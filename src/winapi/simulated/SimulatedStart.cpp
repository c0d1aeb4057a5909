#include "winapi/simulated/SimulatedStart.h"

#include "winapi/Utf8.h"
#include "winapi/simulated/system/CommandLine.h"
#include "winapi/simulated/profile/DefaultMachine.h"
#include "winapi/simulated/profile/MachineProfile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr const char* MachineVariable = "TARNWICK_MACHINE";
constexpr const char* EmbeddedProfileName = "embedded default machine";
constexpr int ProfileRefused = 2;

int RefuseProfile(const char* programName, const std::string& source, const std::string& problem)
{
    std::fprintf(stderr, "%s: machine profile \"%s\": %s\n", programName, source.c_str(), problem.c_str());
    return ProfileRefused;
}

}  // namespace

std::string LoadMachineFromFile(const std::string& path, winapi::sim::Machine& machine)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::string("cannot be read: ") + std::strerror(errno);
    }
    // A folder opens like a file here and then reads as empty, which would pass for bad JSON.
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        return std::string("cannot be read: ") + std::strerror(EISDIR);
    }
    std::ostringstream content;
    content << file.rdbuf();
    return winapi::sim::LoadMachineProfile(content.str(), machine);
}

int RunOnSimulatedMachine(const char* programName, int argc, char** argv, int (*program)())
{
    winapi::sim::Machine machine;
    const char* path = std::getenv(MachineVariable);
    const bool named = path != nullptr && *path != '\0';
    const std::string problem = named ? LoadMachineFromFile(path, machine)
                                      : winapi::sim::LoadMachineProfile(winapi::sim::DefaultMachineProfile(), machine);
    if (!problem.empty()) {
        return RefuseProfile(programName, named ? path : EmbeddedProfileName, problem);
    }
    winapi::sim::InstallMachine(std::move(machine));

    std::vector<std::wstring> arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.push_back(winapi::FromUtf8(argv[i]));
    }
    winapi::sim::SetProcessCommandLine(winapi::sim::JoinCommandLine(arguments));
    const int exitCode = program();
    std::fflush(stdout);
    return exitCode;
}
