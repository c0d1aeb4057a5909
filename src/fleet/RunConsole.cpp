#include "fleet/RunConsole.h"

#include "winapi/Utf8.h"

#include <fstream>
#include <sstream>

namespace fleet {

namespace {

constexpr const char* ConsoleSuffix = "-console.txt";

}  // namespace

std::filesystem::path ConsoleBeside(const std::filesystem::path& results)
{
    std::filesystem::path console = results;
    console.replace_filename(results.stem().string() + ConsoleSuffix);
    return console;
}

std::vector<std::wstring> SplitConsoleLines(const std::string& text)
{
    std::vector<std::wstring> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(winapi::FromUtf8(line));
    }
    return lines;
}

RunConsole ReadRunConsole(const std::filesystem::path& console)
{
    std::ifstream file(console, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return SplitConsoleLines(text.str());
}

}  // namespace fleet
