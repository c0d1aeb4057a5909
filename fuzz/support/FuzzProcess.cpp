#include "FuzzProcess.h"

#include "winapi/simulated/DefaultMachine.h"
#include "winapi/simulated/MachineProfile.h"
#include "winapi/simulated/SimulatedMachine.h"
#include "winapi/Utf8.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

const std::filesystem::path& ScratchFolder()
{
    static const std::filesystem::path folder = [] {
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("tarnwick-fuzz-" + std::to_string(::getpid()));
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
        // The folder and its documents go with the process.
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(ScratchFolder(), ignored);
        });
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
