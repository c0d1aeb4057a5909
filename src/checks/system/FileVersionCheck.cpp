#include "checks/system/FileVersionCheck.h"

#include "platform/MessageFormat.h"
#include "platform/VersionCompare.h"
#include "winapi/Version.h"

#include <span>
#include <vector>

namespace {

const std::wstring TranslationBlock = L"\\VarFileInfo\\Translation";
constexpr std::wstring_view StringBlockFormat = L"\\StringFileInfo\\%04x%04x\\%wS";
const std::wstring FileVersionName = L"FileVersion";
// One translation entry: a 16-bit language identifier, then a 16-bit code page.
constexpr std::size_t TranslationEntrySize = 4;

unsigned ReadWord(std::span<const winapi::BYTE> bytes, std::size_t at)
{
    return static_cast<unsigned>(bytes[at]) | (static_cast<unsigned>(bytes[at + 1]) << 8);
}

// The "FileVersion" string of the first translation of the version block; empty when there is none.
std::wstring ReadFileVersion(std::span<const winapi::BYTE> block)
{
    std::span<const winapi::BYTE> translations;
    if (!winapi::VerQueryValueW(block, TranslationBlock, translations) || translations.size() < TranslationEntrySize) {
        return {};
    }
    // Formatted in a line buffer of 260 characters, which the name always fits.
    const std::wstring subBlock =
        FormatLine(StringBlockFormat, ReadWord(translations, 0), ReadWord(translations, 2), FileVersionName);
    std::wstring version;
    if (!winapi::VerQueryValueW(block, subBlock, version)) {
        return {};
    }
    return version;
}

}  // namespace

bool CheckFileVersion(Test& test, const std::wstring& required, const std::wstring& path)
{
    const winapi::DWORD size = winapi::GetFileVersionInfoSizeW(path);
    if (size == 0) {
        return false;
    }
    std::vector<winapi::BYTE> block(size);
    if (!winapi::GetFileVersionInfoW(path, block)) {
        return false;
    }
    const std::wstring version = ReadFileVersion(block);
    if (version.empty()) {
        return false;
    }
    test.AddMoreInfo(L"%wS\n", version);
    return CompareVersionStrings(version, required) >= 0;
}
