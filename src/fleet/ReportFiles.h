#pragma once
// Writing the files that the fleet tools make (report page, CSV file).

#include <filesystem>
#include <string>

namespace fleet {

// Writes text to path, replacing the file. Returns an empty string on success, otherwise what
// went wrong, naming the file.
[[nodiscard]] std::string WriteReportFile(const std::filesystem::path& path, const std::string& text);

}  // namespace fleet
