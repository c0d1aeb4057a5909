#pragma once
// Finding the volumes and drives of the simulated machine by the paths Windows programs use for
// them, for the volume calls and the device calls alike.

#include "winapi/WinTypes.h"
#include "winapi/simulated/SimulatedMachine.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace winapi::sim {

// A path that names a volume by its drive letter (C:, \\.\C:, \\?\C:) or its volume name
// (\\?\Volume{...}), split into the volume's index and what follows: empty, "\" for the root,
// or "\Folder\...".
struct VolumePath {
    std::size_t volume = 0;
    std::wstring rest;

    [[nodiscard]] bool IsRoot() const { return rest.empty() || rest == L"\\"; }
};

[[nodiscard]] std::optional<VolumePath> FindVolumeOfPath(const Machine& machine, std::wstring_view path);

// A path that names a drive letter of the machine's other drives in one of the same forms: the
// drive's index in otherDrives and what follows the letter.
[[nodiscard]] std::optional<std::pair<std::size_t, std::wstring>> FindOtherDriveOfPath(const Machine& machine,
                                                                                       std::wstring_view path);

// The volume mounted in the folder `rest` (with its trailing backslash) of volume host.
[[nodiscard]] std::optional<std::size_t> VolumeMountedAt(const Machine& machine, std::size_t host,
                                                         std::wstring_view rest);

[[nodiscard]] std::optional<std::size_t> DriveIndex(const Machine& machine, DWORD number);

// An optical drive's volume: a CD-ROM volume that lies on no disk of the machine.
[[nodiscard]] bool IsOpticalDrive(const Volume& volume);

// A volume without a medium: an optical drive without a disc, or a removable volume without a
// file system on a drive that has no medium (an empty card-reader slot).
[[nodiscard]] bool VolumeHasNoMedium(const Machine& machine, std::size_t volume);

// The error that the volume's own faults give the call, if they name it.
[[nodiscard]] std::optional<std::uint32_t> VolumeFault(const Machine& machine, std::size_t volume,
                                                       std::wstring_view call);

[[nodiscard]] bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix);

}  // namespace winapi::sim
