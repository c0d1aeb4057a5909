#pragma once
// Registry reads under HKEY_LOCAL_MACHINE, with the Windows calling conventions kept: results
// are Win32 error codes, and a query with an empty buffer asks for the value's size.

#include "winapi/UniqueResource.h"
#include "winapi/WinTypes.h"

#include <span>
#include <string>

namespace winapi {

LONG RegCloseKey(HKEY key);

struct RegKeyTraits {
    using Pointer = HKEY;
    static Pointer Empty() { return nullptr; }
    static void Close(Pointer key) { RegCloseKey(key); }
};
using UniqueRegKey = UniqueResource<RegKeyTraits>;

[[nodiscard]] LONG RegOpenKeyExW(HKEY root, const std::wstring& subKey, DWORD options, REGSAM access,
                                 UniqueRegKey& key);

// data empty: only the size is returned (ERROR_SUCCESS). data too small: ERROR_MORE_DATA with
// the size needed. type may be null.
[[nodiscard]] LONG RegQueryValueExW(HKEY key, const std::wstring& valueName, DWORD* type, std::span<BYTE> data,
                                    DWORD& size);

}  // namespace winapi
