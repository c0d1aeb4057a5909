#include "winapi/Version.h"

#include <algorithm>
#include <string>
#include <utility>

#include "winapi/native/WindowsHeaders.h"

#include <winver.h>

namespace winapi {

DWORD GetFileVersionInfoSizeW(const std::wstring& fileName)
{
    DWORD ignored = 0;
    return ::GetFileVersionInfoSizeW(fileName.c_str(), &ignored);
}

BOOL GetFileVersionInfoW(const std::wstring& fileName, std::span<BYTE> data)
{
    return ::GetFileVersionInfoW(fileName.c_str(), 0, static_cast<DWORD>(data.size()), data.data());
}

BOOL VerQueryValueW(std::span<const BYTE> block, const std::wstring& subBlock, std::span<const BYTE>& value)
{
    void* found = nullptr;
    UINT length = 0;
    // The block is only read; older headers declare it without const.
    if (!::VerQueryValueW(const_cast<BYTE*>(block.data()), subBlock.c_str(), &found, &length) || found == nullptr) {
        return FALSE;
    }
    value = std::span<const BYTE>(static_cast<const BYTE*>(found), length);
    return TRUE;
}

BOOL VerQueryValueW(std::span<const BYTE> block, const std::wstring& subBlock, std::wstring& text)
{
    void* found = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(const_cast<BYTE*>(block.data()), subBlock.c_str(), &found, &length) || found == nullptr) {
        return FALSE;
    }
    // The length of a text value counts characters, with or without the terminator.
    std::wstring characters(static_cast<const wchar_t*>(found), length);
    characters.resize(std::min(characters.find(L'\0'), characters.size()));
    text = std::move(characters);
    return TRUE;
}

}  // namespace winapi
