// The simulated build's process start: installs the machine the run answers for, then hands
// over to the program as Windows would.

#include "main/TarnwickMain.h"
#include "winapi/Utf8.h"
#include "winapi/simulated/CommandLine.h"
#include "winapi/simulated/DefaultMachine.h"
#include "winapi/simulated/MachineProfile.h"

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

int RefuseProfile(const std::string& source, const std::string& problem)
{
    std::fprintf(stderr, "tarnwick: machine profile \"%s\": %s\n", source.c_str(), problem.c_str());
    return ProfileRefused;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string source = EmbeddedProfileName;
    std::string text(winapi::sim::DefaultMachineProfile());
    if (const char* path = std::getenv(MachineVariable); path != nullptr && *path != '\0') {
        source = path;
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            return RefuseProfile(source, std::string("cannot be read: ") + std::strerror(errno));
        }
        // A folder opens like a file here and then reads as empty, which would pass for bad JSON.
        std::error_code ignored;
        if (std::filesystem::is_directory(path, ignored)) {
            return RefuseProfile(source, std::string("cannot be read: ") + std::strerror(EISDIR));
        }
        std::ostringstream content;
        content << file.rdbuf();
        text = content.str();
    }
    winapi::sim::Machine machine;
    if (const std::string problem = winapi::sim::LoadMachineProfile(text, machine); !problem.empty()) {
        return RefuseProfile(source, problem);
    }
    winapi::sim::InstallMachine(std::move(machine));

    std::vector<std::wstring> arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.push_back(winapi::FromUtf8(argv[i]));
    }
    winapi::sim::SetProcessCommandLine(winapi::sim::JoinCommandLine(arguments));
    const int exitCode = TarnwickMain();
    std::fflush(stdout);
    return exitCode;
}
