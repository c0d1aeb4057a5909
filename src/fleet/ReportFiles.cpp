#include "fleet/ReportFiles.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace fleet {

std::string WriteReportFile(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (file) {
        file << text;
        file.close();
    }
    if (!file) {
        return "cannot write \"" + path.string() + "\": " + std::strerror(errno);
    }
    return {};
}

}  // namespace fleet
