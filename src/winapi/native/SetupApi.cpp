#include "winapi/SetupApi.h"
#include "winapi/UniqueResource.h"

#include <bit>

namespace {
// The surface's values, taken before <windows.h> turns their names into macros.
struct SurfaceFlags {
    static constexpr winapi::DWORD present = winapi::DIGCF_PRESENT;
    static constexpr winapi::DWORD deviceInterface = winapi::DIGCF_DEVICEINTERFACE;
};
}  // namespace

#include "winapi/native/WindowsHeaders.h"

#include <setupapi.h>

static_assert(sizeof(winapi::SP_DEVICE_INTERFACE_DATA) == sizeof(::SP_DEVICE_INTERFACE_DATA));
static_assert(winapi::SP_DEVICE_INTERFACE_DETAIL_DATA_W_SIZE == sizeof(::SP_DEVICE_INTERFACE_DETAIL_DATA_W));
static_assert(offsetof(winapi::SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath) ==
              offsetof(::SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath));
static_assert(SurfaceFlags::present == DIGCF_PRESENT && SurfaceFlags::deviceInterface == DIGCF_DEVICEINTERFACE);

namespace winapi {

UniqueDevInfo SetupDiGetClassDevsW(const GUID& classGuid, DWORD flags)
{
    const auto nativeGuid = std::bit_cast<::GUID>(classGuid);
    return UniqueDevInfo(::SetupDiGetClassDevsW(&nativeGuid, nullptr, nullptr, flags));
}

BOOL SetupDiEnumDeviceInterfaces(HDEVINFO deviceInfoSet, const GUID& interfaceClassGuid, DWORD memberIndex,
                                 SP_DEVICE_INTERFACE_DATA& deviceInterfaceData)
{
    const auto nativeGuid = std::bit_cast<::GUID>(interfaceClassGuid);
    auto data = std::bit_cast<::SP_DEVICE_INTERFACE_DATA>(deviceInterfaceData);
    const BOOL ok = ::SetupDiEnumDeviceInterfaces(deviceInfoSet, nullptr, &nativeGuid, memberIndex, &data);
    if (ok) {
        deviceInterfaceData = std::bit_cast<SP_DEVICE_INTERFACE_DATA>(data);
    }
    return ok;
}

BOOL SetupDiGetDeviceInterfaceDetailW(HDEVINFO deviceInfoSet, const SP_DEVICE_INTERFACE_DATA& deviceInterfaceData,
                                      std::span<BYTE> detail, DWORD* requiredSize)
{
    auto data = std::bit_cast<::SP_DEVICE_INTERFACE_DATA>(deviceInterfaceData);
    ::DWORD required = 0;
    const BOOL ok = ::SetupDiGetDeviceInterfaceDetailW(
        deviceInfoSet, &data,
        detail.empty() ? nullptr : reinterpret_cast<::PSP_DEVICE_INTERFACE_DETAIL_DATA_W>(detail.data()),
        static_cast<::DWORD>(detail.size()), &required, nullptr);
    if (requiredSize != nullptr && (ok || ::GetLastError() == ERROR_INSUFFICIENT_BUFFER)) {
        *requiredSize = required;
    }
    return ok;
}

BOOL SetupDiDestroyDeviceInfoList(HDEVINFO deviceInfoSet)
{
    return ::SetupDiDestroyDeviceInfoList(deviceInfoSet);
}

}  // namespace winapi
