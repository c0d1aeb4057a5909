// The SetupAPI device-interface walk, answered from the disk interfaces of the simulated machine.

#include "winapi/SetupApi.h"

#include "winapi/simulated/ProcessReset.h"
#include "winapi/Win32.h"
#include "winapi/simulated/DisturbedLastError.h"
#include "winapi/simulated/SimulatedMachine.h"
#include "winapi/simulated/FailedCall.h"

#include <cstddef>
#include <cstring>
#include <map>
#include <vector>

namespace winapi {

namespace {

using sim::Fail;
using sim::FaultedWithLastError;

constexpr DWORD SPINT_ACTIVE = 0x1;

// Each list holds the disk interfaces present when it was made.
struct DeviceLists {
    std::map<HDEVINFO, std::vector<std::size_t>> lists;
};

DeviceLists& Lists()
{
    static DeviceLists lists;
    return lists;
}

}  // namespace

UniqueDevInfo SetupDiGetClassDevsW(const GUID& classGuid, DWORD flags)
{
    if (FaultedWithLastError(L"SetupDiGetClassDevsW")) {
        return UniqueDevInfo();
    }
    std::vector<std::size_t> interfaces;
    if ((flags & DIGCF_DEVICEINTERFACE) != 0 && classGuid == GUID_DEVINTERFACE_DISK) {
        for (std::size_t i = 0; i < sim::CurrentMachine().diskInterfaces.size(); ++i) {
            interfaces.push_back(i);
        }
    }
    const auto list = static_cast<HDEVINFO>(sim::NewHandleValue());
    Lists().lists[list] = std::move(interfaces);
    return UniqueDevInfo(list);
}

BOOL SetupDiEnumDeviceInterfaces(HDEVINFO deviceInfoSet, const GUID& interfaceClassGuid, DWORD memberIndex,
                                 SP_DEVICE_INTERFACE_DATA& deviceInterfaceData)
{
    const auto list = Lists().lists.find(deviceInfoSet);
    if (list == Lists().lists.end()) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    if (deviceInterfaceData.cbSize != sizeof(SP_DEVICE_INTERFACE_DATA)) {
        return Fail(ERROR_INVALID_USER_BUFFER);
    }
    if (!(interfaceClassGuid == GUID_DEVINTERFACE_DISK) || memberIndex >= list->second.size()) {
        return Fail(ERROR_NO_MORE_ITEMS);
    }
    deviceInterfaceData.InterfaceClassGuid = interfaceClassGuid;
    deviceInterfaceData.Flags = SPINT_ACTIVE;
    // Which member the data describes, as the real Reserved field does.
    deviceInterfaceData.Reserved = std::uintptr_t{memberIndex} + 1;
    return TRUE;
}

BOOL SetupDiGetDeviceInterfaceDetailW(HDEVINFO deviceInfoSet, const SP_DEVICE_INTERFACE_DATA& deviceInterfaceData,
                                      std::span<BYTE> detail, DWORD* requiredSize)
{
    const auto list = Lists().lists.find(deviceInfoSet);
    if (list == Lists().lists.end()) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    if (FaultedWithLastError(L"SetupDiGetDeviceInterfaceDetailW")) {
        return FALSE;
    }
    if (deviceInterfaceData.Reserved == 0 || deviceInterfaceData.Reserved > list->second.size()) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    const sim::DiskInterface& diskInterface =
        sim::CurrentMachine().diskInterfaces[list->second[deviceInterfaceData.Reserved - 1]];
    if (const auto error = sim::ObjectFault(diskInterface.faults, L"SetupDiGetDeviceInterfaceDetailW")) {
        return Fail(*error);
    }
    const std::wstring& path = diskInterface.devicePath;
    constexpr std::size_t pathOffset = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath);
    const auto needed = static_cast<DWORD>(pathOffset + (path.size() + 1) * sizeof(wchar_t));
    if (detail.empty()) {
        if (requiredSize != nullptr) {
            *requiredSize = needed;
        }
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    DWORD headerSize = 0;
    if (detail.size() >= sizeof(DWORD)) {
        std::memcpy(&headerSize, detail.data(), sizeof(DWORD));
    }
    if (headerSize != SP_DEVICE_INTERFACE_DETAIL_DATA_W_SIZE) {
        return Fail(ERROR_INVALID_USER_BUFFER);
    }
    if (detail.size() < needed) {
        if (requiredSize != nullptr) {
            *requiredSize = needed;
        }
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(detail.data() + pathOffset, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
    if (requiredSize != nullptr) {
        *requiredSize = needed;
    }
    return TRUE;
}

BOOL SetupDiDestroyDeviceInfoList(HDEVINFO deviceInfoSet)
{
    sim::DisturbLastError();
    return Lists().lists.erase(deviceInfoSet) == 1 ? TRUE : Fail(ERROR_INVALID_HANDLE);
}

namespace sim {

void ResetDeviceLists()
{
    Lists().lists.clear();
}

}  // namespace sim

}  // namespace winapi
