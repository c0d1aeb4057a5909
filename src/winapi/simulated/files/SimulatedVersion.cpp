// Version resources of the machine's files. The block that GetFileVersionInfoW hands out is a
// list of the resource's values, each under its full sub-block name; VerQueryValueW finds a
// value by that name, without regard to letter case, and points into the caller's block, as
// Windows does.

#include "winapi/Version.h"

#include "winapi/Win32.h"
#include "winapi/simulated/FailedCall.h"
#include "winapi/simulated/SimulatedMachine.h"
#include "winapi/simulated/files/MachineFiles.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <optional>
#include <string_view>
#include <vector>

namespace winapi {

namespace {

const std::wstring TranslationBlock = L"\\VarFileInfo\\Translation";
const std::wstring StringTablesBlock = L"\\StringFileInfo\\";

// Each record: the name's length in characters, the value's length in bytes, the name, the value.
void AppendRecord(std::vector<BYTE>& block, const std::wstring& name, const std::vector<BYTE>& value)
{
    const DWORD header[2] = {static_cast<DWORD>(name.size()), static_cast<DWORD>(value.size())};
    const auto* headerBytes = reinterpret_cast<const BYTE*>(header);
    block.insert(block.end(), headerBytes, headerBytes + sizeof(header));
    const auto* nameBytes = reinterpret_cast<const BYTE*>(name.data());
    block.insert(block.end(), nameBytes, nameBytes + name.size() * sizeof(wchar_t));
    block.insert(block.end(), value.begin(), value.end());
}

std::vector<BYTE> TextBytes(const std::wstring& text)
{
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    return std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
}

std::vector<BYTE> BuildBlock(const sim::VersionResource& resource)
{
    std::vector<BYTE> block;
    if (resource.translations) {
        std::vector<BYTE> table;
        for (const auto& [language, codePage] : *resource.translations) {
            table.push_back(static_cast<BYTE>(language & 0xFF));
            table.push_back(static_cast<BYTE>(language >> 8));
            table.push_back(static_cast<BYTE>(codePage & 0xFF));
            table.push_back(static_cast<BYTE>(codePage >> 8));
        }
        AppendRecord(block, TranslationBlock, table);
    }
    for (const auto& [tableName, values] : resource.strings) {
        for (const auto& [valueName, text] : values) {
            AppendRecord(block, StringTablesBlock + tableName + L"\\" + valueName, TextBytes(text));
        }
    }
    return block;
}

// The version block of the machine file, or the Win32 error that says why there is none.
DWORD FileBlock(const std::wstring& fileName, std::vector<BYTE>& block)
{
    if (!sim::IsMachinePath(fileName)) {
        return ERROR_FILE_NOT_FOUND;
    }
    const std::optional<sim::MachineFile> file = sim::FindMachineFile(fileName);
    if (!file) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (!file->version) {
        return ERROR_RESOURCE_TYPE_NOT_FOUND;
    }
    block = BuildBlock(*file->version);
    return ERROR_SUCCESS;
}

// The value recorded under subBlock, as bytes inside block.
std::optional<std::span<const BYTE>> FindValue(std::span<const BYTE> block, const std::wstring& subBlock)
{
    std::size_t at = 0;
    DWORD header[2];
    while (block.size() - at >= sizeof(header)) {
        std::memcpy(header, block.data() + at, sizeof(header));
        at += sizeof(header);
        const std::size_t nameBytes = std::size_t{header[0]} * sizeof(wchar_t);
        if (block.size() - at < nameBytes || block.size() - at - nameBytes < header[1]) {
            return std::nullopt;
        }
        std::wstring name(header[0], L'\0');
        std::memcpy(name.data(), block.data() + at, nameBytes);
        at += nameBytes;
        if (sim::EqualIgnoringCase(name, subBlock)) {
            return block.subspan(at, header[1]);
        }
        at += header[1];
    }
    return std::nullopt;
}

}  // namespace

DWORD GetFileVersionInfoSizeW(const std::wstring& fileName)
{
    if (sim::FaultedWithLastError(L"GetFileVersionInfoSizeW")) {
        return 0;
    }
    std::vector<BYTE> block;
    const DWORD error = FileBlock(fileName, block);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return 0;
    }
    return static_cast<DWORD>(block.size());
}

BOOL GetFileVersionInfoW(const std::wstring& fileName, std::span<BYTE> data)
{
    if (sim::FaultedWithLastError(L"GetFileVersionInfoW")) {
        return FALSE;
    }
    std::vector<BYTE> block;
    const DWORD error = FileBlock(fileName, block);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return FALSE;
    }
    if (!data.empty() && !block.empty()) {
        std::memcpy(data.data(), block.data(), std::min(data.size(), block.size()));
    }
    return TRUE;
}

BOOL VerQueryValueW(std::span<const BYTE> block, const std::wstring& subBlock, std::span<const BYTE>& value)
{
    if (sim::FaultedWithLastError(L"VerQueryValueW")) {
        return FALSE;
    }
    const auto found = FindValue(block, subBlock);
    if (!found) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return FALSE;
    }
    value = *found;
    return TRUE;
}

BOOL VerQueryValueW(std::span<const BYTE> block, const std::wstring& subBlock, std::wstring& text)
{
    std::span<const BYTE> bytes;
    if (!VerQueryValueW(block, subBlock, bytes)) {
        return FALSE;
    }
    std::wstring characters(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(characters.data(), bytes.data(), characters.size() * sizeof(wchar_t));
    characters.resize(std::min(characters.find(L'\0'), characters.size()));
    text = std::move(characters);
    return TRUE;
}

}  // namespace winapi
