#include "winapi/simulated/storage/StorageLookup.h"

#include "winapi/Win32.h"

namespace winapi::sim {

namespace {

wchar_t Upper(wchar_t c)
{
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

// The drive letter that path starts with, in upper case, after any device prefix.
std::optional<wchar_t> DriveLetterOf(std::wstring_view& path)
{
    if (StartsWithIgnoringCase(path, L"\\\\.\\") || StartsWithIgnoringCase(path, L"\\\\?\\")) {
        path.remove_prefix(4);
    }
    if (path.size() >= 2 && path[1] == L':' && Upper(path[0]) >= L'A' && Upper(path[0]) <= L'Z') {
        return Upper(path[0]);
    }
    return std::nullopt;
}

}  // namespace

bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix)
{
    return text.size() >= prefix.size() && EqualIgnoringCase(text.substr(0, prefix.size()), prefix);
}

std::optional<std::pair<std::size_t, std::wstring>> FindOtherDriveOfPath(const Machine& machine, std::wstring_view path)
{
    const std::optional<wchar_t> letter = DriveLetterOf(path);
    for (std::size_t i = 0; letter && i < machine.otherDrives.size(); ++i) {
        if (machine.otherDrives[i].letter == *letter) {
            return std::pair{i, std::wstring(path.substr(2))};
        }
    }
    return std::nullopt;
}

std::optional<VolumePath> FindVolumeOfPath(const Machine& machine, std::wstring_view path)
{
    if (StartsWithIgnoringCase(path, L"\\\\.\\") || StartsWithIgnoringCase(path, L"\\\\?\\")) {
        path.remove_prefix(4);
    }
    const auto& volumes = machine.volumes;
    if (path.size() >= 2 && path[1] == L':' && Upper(path[0]) >= L'A' && Upper(path[0]) <= L'Z') {
        const wchar_t letter = Upper(path[0]);
        for (std::size_t i = 0; i < volumes.size(); ++i) {
            if (volumes[i].driveLetters.find(letter) != std::wstring::npos) {
                return VolumePath{i, std::wstring(path.substr(2))};
            }
        }
        return std::nullopt;
    }
    if (StartsWithIgnoringCase(path, L"Volume{")) {
        const std::size_t close = path.find(L'}');
        if (close == std::wstring_view::npos) {
            return std::nullopt;
        }
        const std::wstring name = L"\\\\?\\" + std::wstring(path.substr(0, close + 1)) + L"\\";
        for (std::size_t i = 0; i < volumes.size(); ++i) {
            if (EqualIgnoringCase(volumes[i].name, name)) {
                return VolumePath{i, std::wstring(path.substr(close + 1))};
            }
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> VolumeMountedAt(const Machine& machine, std::size_t host, std::wstring_view rest)
{
    for (std::size_t i = 0; i < machine.volumes.size(); ++i) {
        for (const std::wstring& mountPoint : machine.volumes[i].mountPoints) {
            const auto place = FindVolumeOfPath(machine, mountPoint);
            if (place && place->volume == host && EqualIgnoringCase(place->rest, rest)) {
                return i;
            }
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> DriveIndex(const Machine& machine, DWORD number)
{
    for (std::size_t i = 0; i < machine.physicalDrives.size(); ++i) {
        if (machine.physicalDrives[i].number == number) {
            return i;
        }
    }
    return std::nullopt;
}

bool IsOpticalDrive(const Volume& volume)
{
    return volume.driveType == DRIVE_CDROM && volume.extents.empty();
}

bool VolumeHasNoMedium(const Machine& machine, std::size_t volume)
{
    const Volume& entry = machine.volumes[volume];
    if (!entry.fileSystem.empty() || entry.driveType == DRIVE_FIXED) {
        return false;
    }
    if (IsOpticalDrive(entry)) {
        return true;
    }
    std::optional<std::size_t> disk;
    if (entry.deviceNumber) {
        disk = DriveIndex(machine, entry.deviceNumber->disk);
    } else if (entry.extents.size() == 1) {
        disk = DriveIndex(machine, entry.extents.front().disk);
    }
    return disk && machine.physicalDrives[*disk].noMedium;
}

std::optional<std::uint32_t> VolumeFault(const Machine& machine, std::size_t volume, std::wstring_view call)
{
    return ObjectFault(machine.volumes[volume].faults, call);
}

}  // namespace winapi::sim
