#include "fleet/ReportFiles.h"

#include <cerrno>
#include <cstring>
#include <utility>

namespace fleet {

namespace {

std::string CannotWrite(const std::filesystem::path& path)
{
    return "cannot write \"" + path.string() + "\": " + std::strerror(errno);
}

}  // namespace

std::string WriteReportFile(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (file) {
        file << text;
        file.close();
    }
    if (!file) {
        return CannotWrite(path);
    }
    return {};
}

ReportFileStream::ReportFileStream(std::filesystem::path path) : path_(std::move(path))
{
    if (Wanted()) {
        file_.open(path_, std::ios::binary | std::ios::trunc);
    }
}

void ReportFileStream::Write(const std::string& text)
{
    if (Wanted() && file_) {
        file_ << text;
    }
}

std::string ReportFileStream::Finish()
{
    if (!Wanted()) {
        return {};
    }
    if (file_.is_open()) {
        file_.close();
    }
    return file_ ? std::string() : CannotWrite(path_);
}

}  // namespace fleet
