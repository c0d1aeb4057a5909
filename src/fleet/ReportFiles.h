#pragma once
// Writing the files that the fleet tools make (report page, CSV files).

#include <filesystem>
#include <fstream>
#include <string>

namespace fleet {

// Writes text to path, replacing the file. Returns an empty string on success, otherwise what
// went wrong, naming the file.
[[nodiscard]] std::string WriteReportFile(const std::filesystem::path& path, const std::string& text);

// A file written a part at a time, as the machines come in, so that no fleet's file stands whole
// in memory. Nothing is written when the path is empty.
class ReportFileStream {
public:
    explicit ReportFileStream(std::filesystem::path path);

    [[nodiscard]] bool Wanted() const { return !path_.empty(); }
    void Write(const std::string& text);
    // Closes the file. Returns an empty string when every part was written, otherwise what went
    // wrong, naming the file.
    [[nodiscard]] std::string Finish();

private:
    std::filesystem::path path_;
    std::ofstream file_;
};

}  // namespace fleet
