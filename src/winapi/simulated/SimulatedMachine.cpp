#include "winapi/simulated/SimulatedMachine.h"

#include "winapi/simulated/ProcessReset.h"

#include <algorithm>
#include <cstdint>

namespace winapi::sim {

namespace {

Machine& Installed()
{
    static Machine machine;
    return machine;
}

constexpr std::uintptr_t FirstHandleValue = 0x1000;

std::uintptr_t& LastHandleValue()
{
    static std::uintptr_t last = FirstHandleValue;
    return last;
}

}  // namespace

std::optional<std::uint32_t> Machine::TakeFault(std::wstring_view call)
{
    for (Fault& fault : faults) {
        if (fault.call != call) {
            continue;
        }
        if (fault.calls < fault.after) {
            ++fault.calls;
            return std::nullopt;
        }
        return fault.error;
    }
    return std::nullopt;
}

void* NewHandleValue()
{
    LastHandleValue() += 4;
    return reinterpret_cast<void*>(LastHandleValue());
}

Machine& CurrentMachine()
{
    return Installed();
}

void InstallMachine(Machine machine)
{
    Installed() = std::move(machine);
}

void ResetMachine()
{
    Installed() = Machine{};
    LastHandleValue() = FirstHandleValue;
}

const std::set<std::wstring, CaseInsensitiveLess>& FaultableCalls()
{
    static const std::set<std::wstring, CaseInsensitiveLess> calls{
        L"CoCreateInstance(WbemLocator)",
        L"CreateFileW",
        L"DeviceIoControl.FSCTL_GET_VOLUME_BITMAP",
        L"DeviceIoControl.IOCTL_DISK_GET_DRIVE_LAYOUT_EX",
        L"DeviceIoControl.IOCTL_DISK_GET_LENGTH_INFO",
        L"DeviceIoControl.IOCTL_STORAGE_GET_DEVICE_NUMBER",
        L"DeviceIoControl.IOCTL_STORAGE_QUERY_PROPERTY",
        L"DeviceIoControl.IOCTL_VOLUME_GET_VOLUME_DISK_EXTENTS",
        L"FindFirstVolumeMountPointW",
        L"FindFirstVolumeW",
        L"FindNextVolumeW",
        L"GetDiskFreeSpaceExW",
        L"GetVolumeInformationW",
        L"GetDiskFreeSpaceW",
        L"GetFileAttributesExW",
        L"GetLogicalDrives",
        L"GetVolumeNameForVolumeMountPointW",
        L"ReadFile",
        L"SetupDiGetClassDevsW",
        L"SetupDiGetDeviceInterfaceDetailW",
        L"SHGetFolderPathW",
        L"CoInitialize",
        L"CoInitializeEx",
        L"CoInitializeSecurity",
        L"CoSetProxyBlanket",
        L"ConnectServer",
        L"CreateDomDocument30",
        L"DeleteFileW",
        L"ExecQuery",
        L"ExecuteInDword",
        L"FindFirstFileW",
        L"FindNextFileW",
        L"GetFileVersionInfoSizeW",
        L"GetFileVersionInfoW",
        L"Get",
        L"GetComputerNameW",
        L"GetSystemDirectoryW",
        L"GetVersionExW",
        L"LoadLibraryW",
        L"MoveFileExW",
        L"ReplaceFileW",
        L"SetFileAttributesW",
        L"FlushFileBuffers",
        L"Next",
        L"RegOpenKeyExW",
        L"RegQueryValueExW",
        L"SafeArrayGetElement",
        L"SafeArrayGetUBound",
        L"VerQueryValueW",
        L"XmlDocument.createElement",
        L"XmlDocument.load",
        L"XmlDocument.put_async",
        L"XmlDocument.put_preserveWhiteSpace",
        L"XmlDocument.put_resolveExternals",
        L"XmlDocument.put_validateOnParse",
        L"XmlDocument.save",
        L"XmlNode.put_text",
        L"XmlNode.selectNodes",
        L"GlobalMemoryStatusEx",
        L"OpenProcessToken",
        L"GetTokenInformation",
        L"CreateWellKnownSid",
        L"CheckTokenMembership",
        L"CoCreateInstance(BackgroundCopyManager)",
        L"CreateJob",
        L"AddFile",
    };
    return calls;
}

}  // namespace winapi::sim
