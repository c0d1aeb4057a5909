#include "platform/UsbDisk.h"

#include "platform/Console.h"
#include "platform/GrowingBuffer.h"
#include "winapi/SetupApi.h"
#include "winapi/Storage.h"
#include "winapi/Win32.h"

#include <cstddef>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace {

using namespace winapi;

// The lines of the USB helpers, printed for every check that asks them.
constexpr std::string_view OpenFailedLine = "CreateFile( %wS ) failed\n";
constexpr std::string_view NoDeviceNumberLine = "Could not determine if %wS resides on a usb drive\n";
constexpr std::string_view OnUsbLine = "%wS resides on a usb drive\n";
constexpr std::string_view NotOnUsbLine = "%wS does not reside on a usb drive\n";
constexpr std::string_view NoDiskListLine = "Bad handle to DEVCLASS_USB\n";
constexpr std::string_view DiskOpenFailedLine = "Failed to get handle to %wS\n";

bool IsOnUsbBus(HANDLE disk)
{
    const STORAGE_PROPERTY_QUERY query{StorageAdapterProperty, PropertyStandardQuery, {0}};
    STORAGE_ADAPTER_DESCRIPTOR adapter{};
    DWORD returned = 0;
    return DeviceIoControl(disk, IOCTL_STORAGE_QUERY_PROPERTY,
                           std::span(reinterpret_cast<const BYTE*>(&query), sizeof(query)),
                           std::span(reinterpret_cast<BYTE*>(&adapter), sizeof(adapter)), returned) &&
           adapter.BusType == BusTypeUsb;
}

// A device path is at most 32,767 characters long.
constexpr BufferGrowth DetailGrowth{0, 256, 1024 * 1024};
constexpr std::size_t DevicePathOffset = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath);
// Every try with a buffer has room for the header and a terminator, whatever size was asked for.
static_assert(DetailGrowth.step >= DevicePathOffset + sizeof(wchar_t));

}  // namespace

std::optional<STORAGE_DEVICE_NUMBER> GetDeviceNumber(HANDLE device)
{
    STORAGE_DEVICE_NUMBER number{};
    DWORD returned = 0;
    if (!DeviceIoControl(device, IOCTL_STORAGE_GET_DEVICE_NUMBER, {},
                         std::span(reinterpret_cast<BYTE*>(&number), sizeof(number)), returned)) {
        return std::nullopt;
    }
    return number;
}

// The device path of one interface of the list, or nothing if SetupAPI does not give it.
std::optional<std::wstring> InterfaceDevicePath(HDEVINFO list, const SP_DEVICE_INTERFACE_DATA& interfaceData)
{
    // The first try has no buffer and asks for the size; only "too small" is an answer to it.
    const auto detail = ReadIntoGrowingBuffer(DetailGrowth, [&](std::vector<BYTE>& buffer, std::size_t& wanted) {
        if (buffer.empty()) {
            DWORD required = 0;
            if (SetupDiGetDeviceInterfaceDetailW(list, interfaceData, {}, &required) ||
                GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
                return BufferAnswer::Failed;
            }
            wanted = required;
            return BufferAnswer::TooSmall;
        }
        const DWORD headerSize = SP_DEVICE_INTERFACE_DETAIL_DATA_W_SIZE;
        std::memcpy(buffer.data(), &headerSize, sizeof(headerSize));
        DWORD required = 0;
        if (SetupDiGetDeviceInterfaceDetailW(list, interfaceData, buffer, &required)) {
            return BufferAnswer::Filled;
        }
        wanted = required;
        return GetLastError() == ERROR_INSUFFICIENT_BUFFER ? BufferAnswer::TooSmall : BufferAnswer::Failed;
    });
    if (!detail) {
        return std::nullopt;
    }
    const std::size_t characters = (detail->size() - DevicePathOffset) / sizeof(wchar_t);
    std::wstring path(characters, L'\0');
    std::memcpy(path.data(), detail->data() + DevicePathOffset, characters * sizeof(wchar_t));
    path.resize(path.find(L'\0') == std::wstring::npos ? path.size() : path.find(L'\0'));
    return path;
}

bool IsOnUsbDrive(std::wstring volumePath)
{
    if (!volumePath.empty() && volumePath.rfind(L'\\') == volumePath.size() - 1) {
        volumePath.pop_back();
    }
    const UniqueFile volume =
        CreateFileW(volumePath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (!volume) {
        ConsolePrintf(OpenFailedLine, volumePath);
        return false;
    }
    const auto number = GetDeviceNumber(volume.get());
    if (!number) {
        ConsolePrintf(NoDeviceNumberLine, volumePath);
        return false;
    }
    if (IsUsbDisk(number->DeviceNumber)) {
        ConsolePrintf(OnUsbLine, volumePath);
        return true;
    }
    ConsolePrintf(NotOnUsbLine, volumePath);
    return false;
}

bool IsUsbDisk(DWORD diskNumber)
{
    const UniqueDevInfo list = SetupDiGetClassDevsW(GUID_DEVINTERFACE_DISK, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (!list) {
        ConsolePrintf(NoDiskListLine);
        return false;
    }
    bool found = false;
    SP_DEVICE_INTERFACE_DATA interfaceData{};
    interfaceData.cbSize = sizeof(interfaceData);
    // Every present disk is examined, also after a match.
    for (DWORD index = 0; SetupDiEnumDeviceInterfaces(list.get(), GUID_DEVINTERFACE_DISK, index, interfaceData);
         ++index) {
        const auto devicePath = InterfaceDevicePath(list.get(), interfaceData);
        if (!devicePath) {
            continue;
        }
        const UniqueFile disk = CreateFileW(*devicePath, GENERIC_READ | GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0);
        if (!disk) {
            ConsolePrintf(DiskOpenFailedLine, *devicePath);
            continue;
        }
        if (IsOnUsbBus(disk.get())) {
            const auto number = GetDeviceNumber(disk.get());
            if (number && number->DeviceNumber == diskNumber) {
                found = true;
            }
        }
    }
    return found;
}
