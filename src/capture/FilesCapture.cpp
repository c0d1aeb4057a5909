#include "capture/FilesCapture.h"

#include "capture/CaptureScope.h"
#include "platform/RegistryText.h"
#include "platform/RegistryValue.h"
#include "winapi/Registry.h"
#include "winapi/Version.h"
#include "winapi/Win32.h"

#include <array>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const std::wstring AllEntries = L"*";
const std::wstring TranslationBlock = L"\\VarFileInfo\\Translation";
const std::wstring StringBlock = L"\\StringFileInfo\\";
const std::wstring FileVersionName = L"\\FileVersion";
constexpr std::size_t TranslationEntrySize = 4;

std::wstring FrameworkRoot()
{
    winapi::UniqueRegKey key;
    std::vector<winapi::BYTE> data;
    if (winapi::RegOpenKeyExW(winapi::HKEY_LOCAL_MACHINE, std::wstring(FrameworkKey), 0, winapi::KEY_READ, key) !=
            static_cast<winapi::LONG>(winapi::ERROR_SUCCESS) ||
        ReadRegistryValue(key.get(), std::wstring(FrameworkRootValue), data) !=
            static_cast<winapi::LONG>(winapi::ERROR_SUCCESS)) {
        return {};
    }
    return RegistryText(data);
}

// "040904b0": the language and the code page of one translation entry, as the string tables are
// named.
std::wstring TranslationName(std::span<const winapi::BYTE> entry)
{
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%02x%02x%02x%02x", entry[1], entry[0], entry[3], entry[2]);
    return std::wstring(text.data(), text.data() + 8);
}

void CaptureVersionedFile(JsonWriter& writer, const std::wstring& path)
{
    const winapi::DWORD size = winapi::GetFileVersionInfoSizeW(path);
    if (size == 0 && winapi::GetLastError() != winapi::ERROR_RESOURCE_TYPE_NOT_FOUND &&
        winapi::GetLastError() != winapi::ERROR_RESOURCE_DATA_NOT_FOUND) {
        return;
    }
    writer.WideKey(path);
    writer.BeginObject();
    std::vector<winapi::BYTE> block(size);
    std::span<const winapi::BYTE> translations;
    if (size != 0 && winapi::GetFileVersionInfoW(path, block) &&
        winapi::VerQueryValueW(block, TranslationBlock, translations)) {
        writer.Key("version");
        writer.BeginObject();
        writer.Key("translations");
        writer.BeginArray();
        for (std::size_t at = 0; at + TranslationEntrySize <= translations.size(); at += TranslationEntrySize) {
            writer.String(TranslationName(translations.subspan(at, TranslationEntrySize)));
        }
        writer.EndArray();
        writer.Key("strings");
        writer.BeginObject();
        for (std::size_t at = 0; at + TranslationEntrySize <= translations.size(); at += TranslationEntrySize) {
            const std::wstring table = TranslationName(translations.subspan(at, TranslationEntrySize));
            std::wstring version;
            if (winapi::VerQueryValueW(block, StringBlock + table + FileVersionName, version)) {
                writer.WideKey(table);
                writer.BeginObject();
                writer.Key("FileVersion");
                writer.String(version);
                writer.EndObject();
            }
        }
        writer.EndObject();
        writer.EndObject();
    }
    writer.EndObject();
}

}  // namespace

void CaptureFiles(JsonWriter& writer, CaptureLog& log)
{
    writer.Key("files");
    writer.BeginObject();
    const std::wstring root = FrameworkRoot();
    winapi::WIN32_FIND_DATAW entry{};
    const winapi::UniqueFindFile search =
        root.empty() ? winapi::UniqueFindFile() : winapi::FindFirstFileW(root + AllEntries, entry);
    if (search) {
        std::vector<std::wstring> names;
        std::vector<std::wstring> folders;
        do {
            names.emplace_back(entry.cFileName);
            const bool dots = names.back() == L"." || names.back() == L"..";
            if ((entry.dwFileAttributes & winapi::FILE_ATTRIBUTE_DIRECTORY) != 0 && !dots) {
                folders.push_back(root + entry.cFileName);
            }
        } while (winapi::FindNextFileW(search.get(), entry));
        const auto listFolder = [&](const std::wstring& folder, const std::vector<std::wstring>& entries) {
            writer.WideKey(folder);
            writer.BeginObject();
            writer.Key("entries");
            writer.BeginArray();
            for (const std::wstring& name : entries) {
                writer.String(name);
            }
            writer.EndArray();
            writer.EndObject();
        };
        listFolder(root, names);
        for (const std::wstring& folder : folders) {
            // Only the library the check reads: the rest of the folder is not the check's business.
            listFolder(folder, {L".", L".."});
            CaptureVersionedFile(writer, folder + L"\\" + std::wstring(FrameworkLibrary));
        }
        log.Count("framework folders", folders.size());
    }
    writer.EndObject();
}
