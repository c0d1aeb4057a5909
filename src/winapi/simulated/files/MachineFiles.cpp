#include "winapi/simulated/files/MachineFiles.h"

#include "winapi/simulated/SimulatedMachine.h"
#include "winapi/simulated/files/FileNamePattern.h"

namespace winapi::sim {

namespace {

constexpr wchar_t Separator = L'\\';

bool IsDots(std::wstring_view name)
{
    return name == L"." || name == L"..";
}

FoundEntry DescribeEntry(const std::wstring& folder, const std::wstring& name)
{
    FoundEntry entry;
    entry.name = name;
    const auto listed = CurrentMachine().files.find(folder + Separator + name);
    const bool isFolder = IsDots(name) || (listed != CurrentMachine().files.end() && listed->second.IsFolder());
    entry.attributes = isFolder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    return entry;
}

}  // namespace

bool IsMachinePath(std::wstring_view path)
{
    return path.size() >= 2 && path[1] == L':' &&
           ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
}

std::wstring NormalMachinePath(std::wstring_view path)
{
    std::vector<std::wstring_view> components;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find(Separator, start), path.size());
        const std::wstring_view component = path.substr(start, end - start);
        if (component == L"..") {
            // The drive ("C:") stays, as ".." of a root is the root.
            if (components.size() > 1) {
                components.pop_back();
            }
        } else if (!component.empty() && component != L".") {
            components.push_back(component);
        }
        start = end + 1;
    }
    std::wstring normal;
    for (const std::wstring_view component : components) {
        if (!normal.empty()) {
            normal += Separator;
        }
        normal += component;
    }
    return normal;
}

DWORD FindMachineEntries(const std::wstring& pattern, std::vector<FoundEntry>& entries)
{
    const std::size_t cut = pattern.rfind(Separator);
    const std::wstring folderPath = NormalMachinePath(pattern.substr(0, cut == std::wstring::npos ? 2 : cut));
    const std::wstring namePattern = cut == std::wstring::npos ? pattern.substr(2) : pattern.substr(cut + 1);
    const auto folder = CurrentMachine().files.find(folderPath);
    if (folder == CurrentMachine().files.end() || !folder->second.IsFolder()) {
        return ERROR_PATH_NOT_FOUND;
    }
    std::vector<FoundEntry> found;
    for (const std::wstring& name : *folder->second.entries) {
        if (!namePattern.empty() && MatchesFilePattern(namePattern, name)) {
            found.push_back(DescribeEntry(folderPath, name));
        }
    }
    if (found.empty()) {
        return ERROR_FILE_NOT_FOUND;
    }
    entries = std::move(found);
    return ERROR_SUCCESS;
}

std::optional<MachineFile> FindMachineFile(const std::wstring& path)
{
    const std::wstring normal = NormalMachinePath(path);
    const auto listed = CurrentMachine().files.find(normal);
    if (listed != CurrentMachine().files.end()) {
        return listed->second;
    }
    const std::size_t cut = normal.rfind(Separator);
    if (cut == std::wstring::npos) {
        return std::nullopt;
    }
    const auto folder = CurrentMachine().files.find(normal.substr(0, cut));
    if (folder == CurrentMachine().files.end() || !folder->second.IsFolder()) {
        return std::nullopt;
    }
    const std::wstring name = normal.substr(cut + 1);
    for (const std::wstring& entry : *folder->second.entries) {
        if (EqualIgnoringCase(entry, name)) {
            return MachineFile{};
        }
    }
    return std::nullopt;
}

}  // namespace winapi::sim
