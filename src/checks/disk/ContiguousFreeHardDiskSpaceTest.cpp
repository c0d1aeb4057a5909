#include "checks/disk/ContiguousFreeHardDiskSpaceTest.h"

#include "platform/Console.h"
#include "platform/FreeRunScanner.h"
#include "platform/SizeParameter.h"
#include "platform/UsbDisk.h"
#include "platform/WideText.h"
#include "winapi/Storage.h"
#include "winapi/Win32.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

// One slice of the allocation bitmap: 80,000 clusters, whatever the size of the volume.
constexpr std::size_t BitmapSliceBytes = 10000;
constexpr std::size_t BitmapHeaderBytes = offsetof(winapi::VOLUME_BITMAP_BUFFER, Buffer);

constexpr std::wstring_view NoProgramFilesInfo = L"Couldn't find program files folder location";
constexpr std::string_view EnoughSpaceLine = "%wS has enough contiguous hard disk space\n";
constexpr std::string_view NotEnoughSpaceLine = "%wS does not have enough contiguous hard disk space\n";
constexpr std::wstring_view AnalyzingMessage = L"[HDTEST] Analyzing volume %wS for contiguous space\n";
constexpr std::wstring_view OpenFailedMessage = L"[HDTEST] ERROR: Couldn't open %wS\n";
constexpr std::wstring_view OpenErrorMessage = L"[HDTEST] Failed with error %d\n";
constexpr std::wstring_view NoBitmapMessage = L"[HDTEST] ERROR: could not get volume bitmap\n";
constexpr std::wstring_view NoClusterSizeMessage = L"[HDTEST] ERROR: Couldn't retrieve cluster size\n";
constexpr std::wstring_view ContiguousSpaceMessage =
    L"[HDTEST] Need %dMB contiguous free hard disk space, %I64dMB available\n";

}  // namespace

ContiguousFreeHardDiskSpaceTest::ContiguousFreeHardDiskSpaceTest(const std::vector<std::wstring>& parameters)
    : Test(parameters)
{
    ApplySizeParameter(parameters, contiguousSpaceNeededMB);
}

bool ContiguousFreeHardDiskSpaceTest::Run()
{
    bool verdict = true;
    std::array<wchar_t, winapi::MAX_PATH> folder{};
    if (winapi::FAILED(winapi::SHGetFolderPathW(winapi::CSIDL_PROGRAM_FILES, winapi::SHGFP_TYPE_DEFAULT, folder))) {
        AddMoreInfo(NoProgramFilesInfo);
        return SetPassed(verdict);
    }
    const std::wstring programFilesDrive = std::wstring(folder.data()).substr(0, 2);
    winapi::DWORD mask = winapi::GetLogicalDrives();
    for (wchar_t letter = L'a'; mask != 0; ++letter, mask >>= 1) {
        std::wstring root = L"a:";
        std::wstring devicePath = L"\\\\.\\a:";
        root[0] = letter;
        devicePath[4] = letter;
        if ((mask & 1) == 0 || winapi::GetDriveTypeW(root) != winapi::DRIVE_FIXED || IsOnUsbDrive(devicePath)) {
            continue;
        }
        const bool ok = HasContiguousFreeSpace(root, contiguousSpaceNeededMB);
        if (EqualIgnoringCase(programFilesDrive, root)) {
            ConsolePrintf(ok ? EnoughSpaceLine : NotEnoughSpaceLine, root);
            verdict = ok;
        }
    }
    if (!verdict) {
        AddSolution(L"%wS", programFilesDrive);
    }
    return SetPassed(verdict);
}

bool ContiguousFreeHardDiskSpaceTest::HasContiguousFreeSpace(const std::wstring& root, int neededMB)
{
    if (root.size() < 2) {
        return true;
    }
    std::wstring devicePath = L"\\\\.\\xx";
    devicePath[4] = root[0];
    devicePath[5] = root[1];
    PrintLine(AnalyzingMessage, devicePath);
    winapi::UniqueFile volume =
        winapi::CreateFileW(devicePath, winapi::GENERIC_READ | winapi::GENERIC_WRITE,
                            winapi::FILE_SHARE_READ | winapi::FILE_SHARE_WRITE, winapi::OPEN_EXISTING, 0);
    if (!volume) {
        // Taken before anything is printed: writing to the console may change it.
        const winapi::DWORD error = winapi::GetLastError();
        PrintLine(OpenFailedMessage, devicePath);
        PrintLine(OpenErrorMessage, error);
        return true;
    }

    FreeRunScanner scanner;
    std::int64_t lcn = 0;
    std::vector<winapi::BYTE> slice(BitmapHeaderBytes + BitmapSliceBytes);
    for (;;) {
        const winapi::STARTING_LCN_INPUT_BUFFER request{lcn};
        winapi::DWORD returned = 0;
        const bool complete = winapi::DeviceIoControl(
            volume.get(), winapi::FSCTL_GET_VOLUME_BITMAP,
            std::span(reinterpret_cast<const winapi::BYTE*>(&request), sizeof(request)), slice, returned);
        if (!complete && winapi::GetLastError() != winapi::ERROR_MORE_DATA) {
            PrintLine(NoBitmapMessage);
            return true;
        }
        winapi::VOLUME_BITMAP_BUFFER header{};
        std::memcpy(&header, slice.data(), BitmapHeaderBytes);
        // The system may start the slice below the cluster asked for.
        lcn = header.StartingLcn;
        const auto count = static_cast<std::size_t>(
            std::clamp<std::int64_t>(header.BitmapSize / 8, 0, static_cast<std::int64_t>(BitmapSliceBytes)));
        scanner.Scan(std::span(slice.data() + BitmapHeaderBytes, count), lcn);
        // A slice that moves nothing forward would be asked for again and again.
        if (complete || count == 0 || lcn >= header.StartingLcn + header.BitmapSize) {
            break;
        }
    }
    volume.reset();

    winapi::DWORD sectorsPerCluster = 0;
    winapi::DWORD bytesPerSector = 0;
    winapi::DWORD freeClusters = 0;
    winapi::DWORD totalClusters = 0;
    if (!winapi::GetDiskFreeSpaceW(root, sectorsPerCluster, bytesPerSector, freeClusters, totalClusters)) {
        PrintLine(NoClusterSizeMessage);
        return true;
    }
    const std::int64_t availableMB =
        (static_cast<std::int64_t>(sectorsPerCluster) * bytesPerSector * scanner.LongestRun()) >> 20;
    PrintLine(ContiguousSpaceMessage, neededMB, availableMB);
    const bool answer = availableMB >= neededMB;
    AddMoreInfo(L"%wS %I64dMB", root, availableMB);
    return answer;
}
