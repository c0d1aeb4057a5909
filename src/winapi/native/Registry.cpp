#include "winapi/Registry.h"

#include "winapi/native/WindowsHeaders.h"

namespace winapi {

namespace {

// Tarnwick ships as a 32-bit program, and a machine profile holds the registry as that program
// sees it: on 64-bit Windows, SOFTWARE is redirected to SOFTWARE\Wow6432Node. The 64-bit builds
// (the Wine proof's pair, the 64-bit TarnwickCapture.exe) read that same view, so that a capture
// made by either program replays as the shipped program's run. The 32-bit build adds nothing:
// it sees that view anyway, and Windows 2000 predates the flag.
#ifdef _WIN64
constexpr REGSAM ShippedProgramView = KEY_WOW64_32KEY;
#else
constexpr REGSAM ShippedProgramView = 0;
#endif

}  // namespace

LONG RegCloseKey(HKEY key)
{
    return ::RegCloseKey(static_cast<::HKEY>(key));
}

LONG RegOpenKeyExW(HKEY root, const std::wstring& subKey, DWORD options, REGSAM access, UniqueRegKey& key)
{
    ::HKEY opened = nullptr;
    const LONG result =
        ::RegOpenKeyExW(static_cast<::HKEY>(root), subKey.c_str(), options, access | ShippedProgramView, &opened);
    if (result == ERROR_SUCCESS) {
        key.reset(opened);
    }
    return result;
}

LONG RegQueryValueExW(HKEY key, const std::wstring& valueName, DWORD* type, std::span<BYTE> data, DWORD& size)
{
    // Locals, so that the caller's type and size change only when Windows reports them.
    DWORD valueType = REG_NONE;
    auto valueSize = static_cast<DWORD>(data.size());
    const LONG result = ::RegQueryValueExW(static_cast<::HKEY>(key), valueName.c_str(), nullptr, &valueType,
                                           data.empty() ? nullptr : data.data(), &valueSize);
    if (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
        if (type != nullptr) {
            *type = valueType;
        }
        size = valueSize;
    }
    return result;
}

}  // namespace winapi
