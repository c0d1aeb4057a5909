#pragma once
// The SetupAPI walk over device interfaces, with the Windows names and meanings. A device
// information list comes back in an owner that destroys it.

#include "winapi/UniqueResource.h"
#include "winapi/WinTypes.h"

#include <cstdint>
#include <span>

namespace winapi {

using HDEVINFO = void*;

BOOL SetupDiDestroyDeviceInfoList(HDEVINFO deviceInfoSet);

struct DevInfoTraits {
    using Pointer = HDEVINFO;
    static Pointer Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(Pointer list) { SetupDiDestroyDeviceInfoList(list); }
};
using UniqueDevInfo = UniqueResource<DevInfoTraits>;

constexpr DWORD DIGCF_PRESENT = 0x2;
constexpr DWORD DIGCF_DEVICEINTERFACE = 0x10;

// {53F56307-B6BF-11D0-94F2-00A0C91EFB8B}
constexpr GUID GUID_DEVINTERFACE_DISK{0x53F56307, 0xB6BF, 0x11D0, {0x94, 0xF2, 0x00, 0xA0, 0xC9, 0x1E, 0xFB, 0x8B}};

struct SP_DEVICE_INTERFACE_DATA {
    DWORD cbSize;
    GUID InterfaceClassGuid;
    DWORD Flags;
    std::uintptr_t Reserved;
};

// A fixed header and the device path that follows it in the same buffer.
struct SP_DEVICE_INTERFACE_DETAIL_DATA_W {
    DWORD cbSize;
    wchar_t DevicePath[1];
};

// The value the caller puts in SP_DEVICE_INTERFACE_DETAIL_DATA_W::cbSize: the Windows size of the
// fixed header, which 32-bit Windows packs to 6 bytes.
#if defined(_WIN32) && !defined(_WIN64)
constexpr DWORD SP_DEVICE_INTERFACE_DETAIL_DATA_W_SIZE = 6;
#else
constexpr DWORD SP_DEVICE_INTERFACE_DETAIL_DATA_W_SIZE = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
#endif

constexpr DWORD ERROR_INVALID_USER_BUFFER = 1784;

// No enumerator and no window.
[[nodiscard]] UniqueDevInfo SetupDiGetClassDevsW(const GUID& classGuid, DWORD flags);
[[nodiscard]] BOOL SetupDiEnumDeviceInterfaces(HDEVINFO deviceInfoSet, const GUID& interfaceClassGuid,
                                               DWORD memberIndex, SP_DEVICE_INTERFACE_DATA& deviceInterfaceData);
// detail empty: only requiredSize is set, and the call fails with ERROR_INSUFFICIENT_BUFFER.
// Otherwise detail starts with an SP_DEVICE_INTERFACE_DETAIL_DATA_W whose cbSize the caller set.
[[nodiscard]] BOOL SetupDiGetDeviceInterfaceDetailW(HDEVINFO deviceInfoSet,
                                                    const SP_DEVICE_INTERFACE_DATA& deviceInterfaceData,
                                                    std::span<BYTE> detail, DWORD* requiredSize);

}  // namespace winapi
