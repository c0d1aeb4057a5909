#pragma once
// The files one machine's run leaves in the fleet's scratch folder, named by the run's index: the
// worker writes them and the fleet reads them back once the run has ended.

#include <cstddef>
#include <filesystem>
#include <string>

namespace fleet {

inline constexpr const char* ProblemExtension = ".problem";
inline constexpr const char* ResultsExtension = ".xml";
inline constexpr const char* TraceExtension = ".trace";
inline constexpr const char* ConsoleExtension = ".console";
// A machine whose run cannot start at all ends with this code, its reason in the problem file.
inline constexpr int MachineRefused = 2;

[[nodiscard]] inline std::filesystem::path ScratchFile(const std::filesystem::path& scratch, std::size_t index,
                                                       const char* extension)
{
    return scratch / (std::to_string(index) + extension);
}

}  // namespace fleet
