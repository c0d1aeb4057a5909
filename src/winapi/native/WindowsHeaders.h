#pragma once
// The Windows SDK headers of the native backend, in one place.
//
// Include this header LAST in every native source file, after the winapi/*.h headers it
// implements. Those headers declare, inside namespace winapi, names that <windows.h> defines as
// macros (S_OK, TRUE, MAX_PATH, ERROR_*, INVALID_HANDLE_VALUE, HKEY_LOCAL_MACHINE, SUCCEEDED...);
// included after the macros, they would be rewritten into nonsense. Once this header is in, a
// name like winapi::S_OK no longer compiles, so native code uses the Windows macros directly.

// Before any Windows header, for the reason above; the static_asserts below need it.
#include "winapi/WinTypes.h"

#include <cstddef>
#include <type_traits>

#include <windows.h>

#include <objbase.h>
#include <oleauto.h>
#include <shellapi.h>

#include <bits.h>
#include <msxml2.h>
#include <wbemidl.h>
#include <wrl/client.h>

namespace winapi::native {
// COM interface pointers are held in WRL's owner, which releases them on every path.
template <typename Interface>
using ComPtr = Microsoft::WRL::ComPtr<Interface>;
}  // namespace winapi::native

// The surface's records are passed to Windows by reinterpret_cast (and copied by std::bit_cast),
// so they must be the Windows records byte for byte.
static_assert(sizeof(winapi::FILETIME) == sizeof(::FILETIME));
static_assert(offsetof(winapi::FILETIME, dwHighDateTime) == offsetof(::FILETIME, dwHighDateTime));

static_assert(sizeof(winapi::WIN32_FIND_DATAW) == sizeof(::WIN32_FIND_DATAW));
static_assert(offsetof(winapi::WIN32_FIND_DATAW, ftCreationTime) == offsetof(::WIN32_FIND_DATAW, ftCreationTime));
static_assert(offsetof(winapi::WIN32_FIND_DATAW, ftLastWriteTime) == offsetof(::WIN32_FIND_DATAW, ftLastWriteTime));
static_assert(offsetof(winapi::WIN32_FIND_DATAW, nFileSizeHigh) == offsetof(::WIN32_FIND_DATAW, nFileSizeHigh));
static_assert(offsetof(winapi::WIN32_FIND_DATAW, nFileSizeLow) == offsetof(::WIN32_FIND_DATAW, nFileSizeLow));
static_assert(offsetof(winapi::WIN32_FIND_DATAW, cFileName) == offsetof(::WIN32_FIND_DATAW, cFileName));
static_assert(offsetof(winapi::WIN32_FIND_DATAW, cAlternateFileName) ==
              offsetof(::WIN32_FIND_DATAW, cAlternateFileName));

static_assert(sizeof(winapi::OSVERSIONINFOEXW) == sizeof(::OSVERSIONINFOEXW));
static_assert(winapi::OSVERSIONINFOEXW_SIZE == sizeof(::OSVERSIONINFOEXW));
static_assert(offsetof(winapi::OSVERSIONINFOEXW, dwPlatformId) == offsetof(::OSVERSIONINFOEXW, dwPlatformId));
static_assert(offsetof(winapi::OSVERSIONINFOEXW, szCSDVersion) == offsetof(::OSVERSIONINFOEXW, szCSDVersion));
static_assert(offsetof(winapi::OSVERSIONINFOEXW, wServicePackMajor) == offsetof(::OSVERSIONINFOEXW, wServicePackMajor));
static_assert(offsetof(winapi::OSVERSIONINFOEXW, wSuiteMask) == offsetof(::OSVERSIONINFOEXW, wSuiteMask));
static_assert(offsetof(winapi::OSVERSIONINFOEXW, wProductType) == offsetof(::OSVERSIONINFOEXW, wProductType));

// The surface's scalar types must be the Windows ones, so values pass without conversion.
static_assert(std::is_same_v<winapi::DWORD, ::DWORD> && std::is_same_v<winapi::LONG, ::LONG>);
static_assert(std::is_same_v<winapi::HRESULT, ::HRESULT> && std::is_same_v<winapi::UINT, ::UINT>);
static_assert(std::is_same_v<winapi::BOOL, ::BOOL> && std::is_same_v<winapi::BYTE, ::BYTE>);
static_assert(std::is_same_v<wchar_t, WCHAR>);

static_assert(sizeof(winapi::OSVERSIONINFOW) == sizeof(::OSVERSIONINFOW));
static_assert(winapi::OSVERSIONINFOW_SIZE == sizeof(::OSVERSIONINFOW));
static_assert(offsetof(winapi::OSVERSIONINFOW, szCSDVersion) == offsetof(::OSVERSIONINFOW, szCSDVersion));

static_assert(sizeof(winapi::SYSTEM_INFO) == sizeof(::SYSTEM_INFO));
static_assert(offsetof(winapi::SYSTEM_INFO, dwNumberOfProcessors) == offsetof(::SYSTEM_INFO, dwNumberOfProcessors));
static_assert(offsetof(winapi::SYSTEM_INFO, wProcessorRevision) == offsetof(::SYSTEM_INFO, wProcessorRevision));

static_assert(sizeof(winapi::MEMORYSTATUSEX) == sizeof(::MEMORYSTATUSEX));
static_assert(winapi::MEMORYSTATUSEX_SIZE == sizeof(::MEMORYSTATUSEX));
static_assert(offsetof(winapi::MEMORYSTATUSEX, ullTotalPhys) == offsetof(::MEMORYSTATUSEX, ullTotalPhys));
static_assert(offsetof(winapi::MEMORYSTATUSEX, ullAvailExtendedVirtual) ==
              offsetof(::MEMORYSTATUSEX, ullAvailExtendedVirtual));

// The functions looked up by name are called through the surface's pointer types: those must be
// the SDK's declarations exactly, calling convention included. (decltype names the functions
// without importing them.)
static_assert(std::is_same_v<winapi::GetProductInfoFunction, decltype(&::GetProductInfo)>);
static_assert(std::is_same_v<void(WINAPI*)(::SYSTEM_INFO*), decltype(&::GetNativeSystemInfo)>);
static_assert(std::is_same_v<winapi::FARPROC, ::FARPROC>);
