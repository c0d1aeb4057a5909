#include "checks/disk/UnformattedPartitionTest.h"

#include "platform/Console.h"
#include "platform/UsbDisk.h"
#include "platform/WmiQuery.h"
#include "checks/disk/StorageRules.h"
#include "winapi/Storage.h"

namespace {

const std::wstring LogicalDiskQuery = L"SELECT * from Win32_LogicalDisk";
constexpr std::wstring_view DevicePrefix = L"\\\\.\\";

constexpr std::string_view NameLine = "Name: %wS\n";
constexpr std::string_view NoFileSystemLine = "FileSystem: NULL\n";
constexpr std::string_view FileSystemLine = "FileSystem: %wS\n";

// One logical disk: skipped unless it is fixed and not on USB; unformatted when it has no file
// system or one the product cannot work with.
void ExamineLogicalDisk(Test& test, winapi::WbemClassObject& disk, bool& found)
{
    winapi::Variant name;
    std::wstring diskName;
    if (winapi::FAILED(disk.Get(L"Name", 0, name)) || winapi::FAILED(name.GetString(diskName))) {
        return;
    }
    ConsolePrintf(NameLine, diskName);
    if (IsOnUsbDrive(std::wstring(DevicePrefix) + diskName) || winapi::GetDriveTypeW(diskName) != winapi::DRIVE_FIXED) {
        return;
    }
    winapi::Variant fileSystem;
    if (winapi::FAILED(disk.Get(L"FileSystem", 0, fileSystem))) {
        return;
    }
    std::wstring fileSystemName;
    if (winapi::FAILED(fileSystem.GetString(fileSystemName))) {
        ConsolePrintf(NoFileSystemLine);
    } else {
        ConsolePrintf(FileSystemLine, fileSystemName);
        if (IsSupportedFileSystem(fileSystemName)) {
            return;
        }
    }
    found = true;
    test.AddMoreInfo(L"%wS", diskName);
    test.AddSolution(L"%wS", diskName);
}

// The result of the last step of the walk; found stays false when WMI cannot be asked. Relies on
// COM as the run mode initialised it.
winapi::HRESULT FindUnformattedPartitions(Test& test, bool& found)
{
    found = false;
    WmiQueryObjects objects;
    if (winapi::FAILED(OpenWqlQuery(LogicalDiskQuery, objects))) {
        return winapi::E_FAIL;
    }
    winapi::HRESULT hr = winapi::S_OK;
    while (objects.enumerator) {
        std::unique_ptr<winapi::WbemClassObject> disk;
        winapi::ULONG returned = 0;
        hr = objects.enumerator->Next(winapi::WBEM_INFINITE, disk, returned);
        if (returned == 0 || !disk || winapi::FAILED(hr)) {
            break;
        }
        ExamineLogicalDisk(test, *disk, found);
    }
    return hr;
}

}  // namespace

bool UnformattedPartitionTest::Run()
{
    bool found = false;
    static_cast<void>(FindUnformattedPartitions(*this, found));
    return SetPassed(!found);
}
