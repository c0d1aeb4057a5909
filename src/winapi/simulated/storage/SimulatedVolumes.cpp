// Volumes, their names, drive letters and mount points, and their free space, answered from the
// simulated machine.

#include "winapi/Storage.h"

#include "winapi/simulated/ProcessReset.h"
#include "winapi/Win32.h"
#include "winapi/simulated/CaseInsensitive.h"
#include "winapi/simulated/DisturbedLastError.h"
#include "winapi/simulated/SimulatedMachine.h"
#include "winapi/simulated/storage/StorageLookup.h"
#include "winapi/simulated/FailedCall.h"

#include <algorithm>
#include <map>
#include <optional>

namespace winapi {

namespace {

using sim::Fail;
using sim::FaultedWithLastError;

struct Searches {
    std::map<HANDLE, std::size_t> volumes;
    std::map<HANDLE, std::vector<std::wstring>> mountPoints;
};

Searches& OpenSearches()
{
    static Searches searches;
    return searches;
}

sim::Machine& Machine()
{
    return sim::CurrentMachine();
}

std::optional<sim::VolumePath> FindVolumeOfPath(std::wstring_view path)
{
    return sim::FindVolumeOfPath(Machine(), path);
}

bool CopyName(const std::wstring& name, std::span<wchar_t> buffer)
{
    if (name.size() + 1 > buffer.size()) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    std::ranges::copy(name, buffer.begin());
    buffer[name.size()] = L'\0';
    return true;
}

// The volume of a path for the free-space calls, or the error they fail with: the call's own
// fault on that volume first.
const sim::Volume* MountedVolumeOfPath(const std::wstring& path, std::wstring_view call)
{
    const auto place = FindVolumeOfPath(path);
    if (!place) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return nullptr;
    }
    if (const auto error = sim::VolumeFault(Machine(), place->volume, call)) {
        SetLastError(*error);
        return nullptr;
    }
    const sim::Volume& volume = Machine().volumes[place->volume];
    if (volume.fileSystem.empty()) {
        SetLastError(volume.driveType == DRIVE_FIXED ? ERROR_UNRECOGNIZED_VOLUME : ERROR_NOT_READY);
        return nullptr;
    }
    return &volume;
}

}  // namespace

DWORD GetLogicalDrives()
{
    if (FaultedWithLastError(L"GetLogicalDrives")) {
        return 0;
    }
    DWORD mask = 0;
    for (const sim::Volume& volume : Machine().volumes) {
        for (const wchar_t letter : volume.driveLetters) {
            mask |= DWORD{1} << (letter - L'A');
        }
    }
    for (const sim::OtherDrive& drive : Machine().otherDrives) {
        mask |= DWORD{1} << (drive.letter - L'A');
    }
    return mask;
}

UINT GetDriveTypeW(const std::wstring& rootPathName)
{
    const auto place = FindVolumeOfPath(rootPathName);
    if (!place) {
        const auto other = sim::FindOtherDriveOfPath(Machine(), rootPathName);
        return other && (other->second.empty() || other->second == L"\\")
                   ? Machine().otherDrives[other->first].driveType
                   : DRIVE_NO_ROOT_DIR;
    }
    if (place->IsRoot()) {
        const sim::Volume& volume = Machine().volumes[place->volume];
        const bool byName = sim::StartsWithIgnoringCase(rootPathName, L"\\\\?\\Volume{");
        return byName && volume.nameDriveType ? *volume.nameDriveType : volume.driveType;
    }
    std::wstring folder = place->rest;
    if (!folder.ends_with(L'\\')) {
        folder += L'\\';
    }
    if (const auto mounted = sim::VolumeMountedAt(Machine(), place->volume, folder)) {
        return Machine().volumes[*mounted].driveType;
    }
    return DRIVE_NO_ROOT_DIR;
}

UniqueFindVolume FindFirstVolumeW(std::span<wchar_t> volumeName)
{
    if (FaultedWithLastError(L"FindFirstVolumeW")) {
        return UniqueFindVolume();
    }
    const auto& volumes = Machine().volumes;
    if (volumes.empty()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return UniqueFindVolume();
    }
    if (!CopyName(volumes.front().name, volumeName)) {
        return UniqueFindVolume();
    }
    const HANDLE search = sim::NewHandleValue();
    OpenSearches().volumes[search] = 1;
    return UniqueFindVolume(search);
}

BOOL FindNextVolumeW(HANDLE findVolume, std::span<wchar_t> volumeName)
{
    const auto search = OpenSearches().volumes.find(findVolume);
    if (search == OpenSearches().volumes.end()) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    if (FaultedWithLastError(L"FindNextVolumeW")) {
        return FALSE;
    }
    // The walk fails where the volume before the next one says it does, in every walk alike.
    if (const auto error = sim::VolumeFault(Machine(), search->second - 1, L"FindNextVolumeW")) {
        return Fail(*error);
    }
    const auto& volumes = Machine().volumes;
    if (search->second >= volumes.size()) {
        return Fail(ERROR_NO_MORE_FILES);
    }
    if (!CopyName(volumes[search->second].name, volumeName)) {
        return FALSE;
    }
    ++search->second;
    return TRUE;
}

BOOL FindVolumeClose(HANDLE findVolume)
{
    sim::DisturbLastError();
    return OpenSearches().volumes.erase(findVolume) == 1 ? TRUE : Fail(ERROR_INVALID_HANDLE);
}

BOOL GetVolumeNameForVolumeMountPointW(const std::wstring& volumeMountPoint, std::span<wchar_t> volumeName)
{
    if (FaultedWithLastError(L"GetVolumeNameForVolumeMountPointW")) {
        return FALSE;
    }
    if (!volumeMountPoint.ends_with(L'\\')) {
        return Fail(ERROR_INVALID_NAME);
    }
    const auto place = FindVolumeOfPath(volumeMountPoint);
    if (!place) {
        return Fail(ERROR_FILE_NOT_FOUND);
    }
    std::optional<std::size_t> target = place->volume;
    if (!place->IsRoot()) {
        target = sim::VolumeMountedAt(Machine(), place->volume, place->rest);
        if (!target) {
            for (const auto& [folder, error] : Machine().volumes[place->volume].unresolvedMountPoints) {
                if (sim::EqualIgnoringCase(L"\\" + folder, place->rest)) {
                    return Fail(error);
                }
            }
            return Fail(ERROR_NOT_A_REPARSE_POINT);
        }
    }
    return CopyName(Machine().volumes[*target].name, volumeName) ? TRUE : FALSE;
}

UniqueFindVolumeMountPoint FindFirstVolumeMountPointW(const std::wstring& rootPathName,
                                                      std::span<wchar_t> volumeMountPoint)
{
    if (FaultedWithLastError(L"FindFirstVolumeMountPointW")) {
        return UniqueFindVolumeMountPoint();
    }
    const auto place = FindVolumeOfPath(rootPathName);
    if (!place || place->rest != L"\\") {
        SetLastError(place ? ERROR_INVALID_NAME : ERROR_FILE_NOT_FOUND);
        return UniqueFindVolumeMountPoint();
    }
    if (const auto error = sim::VolumeFault(Machine(), place->volume, L"FindFirstVolumeMountPointW")) {
        SetLastError(*error);
        return UniqueFindVolumeMountPoint();
    }
    std::vector<std::wstring> found;
    for (const sim::Volume& volume : Machine().volumes) {
        for (const std::wstring& mountPoint : volume.mountPoints) {
            const auto host = FindVolumeOfPath(mountPoint);
            if (host && host->volume == place->volume && host->rest.size() > 1) {
                // Relative to the root of its volume: "Data\" for D:\Data\.
                found.push_back(host->rest.substr(1));
            }
        }
    }
    for (const auto& [folder, error] : Machine().volumes[place->volume].unresolvedMountPoints) {
        found.push_back(folder);
    }
    if (found.empty()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return UniqueFindVolumeMountPoint();
    }
    if (!CopyName(found.front(), volumeMountPoint)) {
        return UniqueFindVolumeMountPoint();
    }
    found.erase(found.begin());
    const HANDLE search = sim::NewHandleValue();
    OpenSearches().mountPoints[search] = std::move(found);
    return UniqueFindVolumeMountPoint(search);
}

BOOL FindNextVolumeMountPointW(HANDLE findVolumeMountPoint, std::span<wchar_t> volumeMountPoint)
{
    const auto search = OpenSearches().mountPoints.find(findVolumeMountPoint);
    if (search == OpenSearches().mountPoints.end()) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    if (search->second.empty()) {
        return Fail(ERROR_NO_MORE_FILES);
    }
    if (!CopyName(search->second.front(), volumeMountPoint)) {
        return FALSE;
    }
    search->second.erase(search->second.begin());
    return TRUE;
}

BOOL FindVolumeMountPointClose(HANDLE findVolumeMountPoint)
{
    sim::DisturbLastError();
    return OpenSearches().mountPoints.erase(findVolumeMountPoint) == 1 ? TRUE : Fail(ERROR_INVALID_HANDLE);
}

BOOL GetFileAttributesExW(const std::wstring& fileName, GET_FILEEX_INFO_LEVELS infoLevel,
                          WIN32_FILE_ATTRIBUTE_DATA& information)
{
    if (FaultedWithLastError(L"GetFileAttributesExW")) {
        return FALSE;
    }
    if (infoLevel != GetFileExInfoStandard) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    // The model knows the root folders of its volumes; it holds no other files.
    const auto place = FindVolumeOfPath(fileName);
    if (const auto other = sim::FindOtherDriveOfPath(Machine(), fileName); other && other->second == L"\\") {
        information = WIN32_FILE_ATTRIBUTE_DATA{};
        information.dwFileAttributes = Machine().otherDrives[other->first].rootAttributes;
        return TRUE;
    }
    if (!place || place->rest != L"\\") {
        return Fail(ERROR_FILE_NOT_FOUND);
    }
    if (const auto error = sim::VolumeFault(Machine(), place->volume, L"GetFileAttributesExW")) {
        return Fail(*error);
    }
    const sim::Volume& volume = Machine().volumes[place->volume];
    if (volume.fileSystem.empty()) {
        return Fail(sim::VolumeHasNoMedium(Machine(), place->volume) ? ERROR_NOT_READY : ERROR_UNRECOGNIZED_VOLUME);
    }
    information = WIN32_FILE_ATTRIBUTE_DATA{};
    information.dwFileAttributes = volume.rootAttributes;
    return TRUE;
}

BOOL GetDiskFreeSpaceW(const std::wstring& rootPathName, DWORD& sectorsPerCluster, DWORD& bytesPerSector,
                       DWORD& numberOfFreeClusters, DWORD& totalNumberOfClusters)
{
    if (FaultedWithLastError(L"GetDiskFreeSpaceW")) {
        return FALSE;
    }
    const sim::Volume* volume = MountedVolumeOfPath(rootPathName, L"GetDiskFreeSpaceW");
    if (volume == nullptr) {
        return FALSE;
    }
    const std::uint64_t clusterSize = std::uint64_t{volume->bytesPerSector} * volume->sectorsPerCluster;
    sectorsPerCluster = volume->sectorsPerCluster;
    bytesPerSector = volume->bytesPerSector;
    numberOfFreeClusters =
        static_cast<DWORD>(std::min<std::uint64_t>(volume->freeBytesAvailable / clusterSize, UINT32_MAX));
    totalNumberOfClusters = static_cast<DWORD>(std::min<std::uint64_t>(volume->ClusterCount(), UINT32_MAX));
    return TRUE;
}

BOOL GetVolumeInformationW(const std::wstring& rootPathName, std::span<wchar_t> fileSystemName)
{
    if (FaultedWithLastError(L"GetVolumeInformationW")) {
        return FALSE;
    }
    const sim::Volume* volume = MountedVolumeOfPath(rootPathName, L"GetVolumeInformationW");
    return volume != nullptr && CopyName(volume->fileSystem, fileSystemName) ? TRUE : FALSE;
}

BOOL GetDiskFreeSpaceExW(const std::wstring& directoryName, ULONGLONG& freeBytesAvailableToCaller,
                         ULONGLONG& totalNumberOfBytes, ULONGLONG& totalNumberOfFreeBytes)
{
    if (FaultedWithLastError(L"GetDiskFreeSpaceExW")) {
        return FALSE;
    }
    const sim::Volume* volume = MountedVolumeOfPath(directoryName, L"GetDiskFreeSpaceExW");
    if (volume == nullptr) {
        return FALSE;
    }
    freeBytesAvailableToCaller = volume->freeBytesAvailable;
    totalNumberOfBytes = volume->totalBytes;
    totalNumberOfFreeBytes = volume->freeBytes;
    return TRUE;
}

namespace sim {

void ResetVolumeSearches()
{
    OpenSearches() = Searches{};
}

}  // namespace sim

}  // namespace winapi
