#include "FuzzProcess.h"

#include "winapi/simulated/profile/DefaultMachine.h"
#include "winapi/simulated/profile/MachineProfile.h"
#include "winapi/simulated/SimulatedMachine.h"
#include "winapi/Utf8.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view FolderPrefix = "tarnwick-fuzz-";

// libFuzzer ends a process without running its exit handlers, so each start removes the folders
// of the processes that are gone.
void RemoveFoldersOfEndedProcesses()
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::temp_directory_path(), error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(FolderPrefix)) {
            continue;
        }
        const long pid = std::strtol(name.c_str() + FolderPrefix.size(), nullptr, 10);
        if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            std::filesystem::remove_all(entry.path(), error);
        }
    }
}

const std::filesystem::path& ScratchFolder()
{
    static const std::filesystem::path folder = [] {
        RemoveFoldersOfEndedProcesses();
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / (std::string(FolderPrefix) + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

}  // namespace

void StartSimulatedProcess()
{
    static const bool started = [] {
        winapi::sim::Machine machine;
        if (const std::string problem = winapi::sim::LoadMachineProfile(winapi::sim::DefaultMachineProfile(), machine);
            !problem.empty()) {
            std::fprintf(stderr, "fuzz: the default machine is refused: %s\n", problem.c_str());
            std::abort();
        }
        winapi::sim::InstallMachine(std::move(machine));
        return true;
    }();
    (void)started;
}

std::wstring WriteScratchDocument(const std::string& name, std::string_view bytes)
{
    const std::filesystem::path path = ScratchFolder() / name;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return winapi::FromUtf8(path.string());
}

std::wstring WideUnits(std::string_view bytes)
{
    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto unit = static_cast<unsigned>(static_cast<unsigned char>(bytes[i])) |
                          static_cast<unsigned>(static_cast<unsigned char>(bytes[i + 1])) << 8U;
        text.push_back(static_cast<wchar_t>(unit));
    }
    return text;
}
