#include "capture/SystemCapture.h"

#include "capture/CaptureScope.h"
#include "capture/CapturedFaults.h"
#include "platform/RegistryText.h"
#include "winapi/Registry.h"
#include "winapi/Storage.h"
#include "winapi/Win32.h"

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::uint64_t LittleEndian(const std::vector<winapi::BYTE>& data, std::size_t size)
{
    std::uint64_t number = 0;
    for (std::size_t index = std::min(size, data.size()); index > 0; --index) {
        number = (number << 8) | data[index - 1];
    }
    return number;
}

void WriteHex(JsonWriter& writer, const std::vector<winapi::BYTE>& data)
{
    constexpr std::wstring_view digits = L"0123456789abcdef";
    std::wstring hex;
    for (const winapi::BYTE byte : data) {
        hex += digits[byte >> 4];
        hex += digits[byte & 0xF];
    }
    writer.String(hex);
}

// The value as the profile holds it; false for a type a profile cannot hold.
bool WriteValueData(JsonWriter& writer, winapi::DWORD type, const std::vector<winapi::BYTE>& data)
{
    switch (type) {
    case winapi::REG_SZ:
    case winapi::REG_EXPAND_SZ: {
        const std::wstring text = RegistryCharacters(data);
        writer.String(text.substr(0, text.find(L'\0')));
        return true;
    }
    case winapi::REG_MULTI_SZ: {
        const std::wstring text = RegistryCharacters(data);
        writer.BeginArray();
        for (std::size_t position = 0; position < text.size();) {
            const std::size_t end = std::min(text.find(L'\0', position), text.size());
            if (end == position) {
                break;
            }
            writer.String(std::wstring_view(text).substr(position, end - position));
            position = end + 1;
        }
        writer.EndArray();
        return true;
    }
    case winapi::REG_DWORD: writer.Unsigned(LittleEndian(data, 4)); return true;
    case winapi::REG_QWORD: writer.Unsigned(LittleEndian(data, 8)); return true;
    case winapi::REG_BINARY: WriteHex(writer, data); return true;
    default: return false;
    }
}

const char* RegistryTypeName(winapi::DWORD type)
{
    switch (type) {
    case winapi::REG_SZ: return "REG_SZ";
    case winapi::REG_EXPAND_SZ: return "REG_EXPAND_SZ";
    case winapi::REG_MULTI_SZ: return "REG_MULTI_SZ";
    case winapi::REG_DWORD: return "REG_DWORD";
    case winapi::REG_QWORD: return "REG_QWORD";
    case winapi::REG_BINARY: return "REG_BINARY";
    default: return nullptr;
    }
}

void CaptureValue(JsonWriter& writer, CaptureLog& log, winapi::HKEY key, std::wstring_view keyPath,
                  std::wstring_view name)
{
    winapi::DWORD type = winapi::REG_NONE;
    winapi::DWORD size = 0;
    winapi::LONG status = winapi::RegQueryValueExW(key, std::wstring(name), &type, {}, size);
    std::vector<winapi::BYTE> data(size);
    if (status == winapi::ERROR_SUCCESS && size > 0) {
        status = winapi::RegQueryValueExW(key, std::wstring(name), &type, data, size);
        data.resize(std::min<std::size_t>(size, data.size()));
    }
    if (status == static_cast<winapi::LONG>(winapi::ERROR_FILE_NOT_FOUND)) {
        return;
    }
    if (status != winapi::ERROR_SUCCESS) {
        // The value is there but cannot be read: it holds its failure instead of its data.
        CapturedFaults faults(log, L"registry value " + std::wstring(keyPath) + L"\\" + std::wstring(name));
        faults.Add(L"RegQueryValueExW", static_cast<std::uint32_t>(status));
        writer.WideKey(name);
        writer.BeginObject();
        faults.WriteMember(writer);
        writer.EndObject();
        return;
    }
    const char* typeName = RegistryTypeName(type);
    if (typeName == nullptr) {
        log.Count("registry values of a type a profile cannot hold (left out)");
        return;
    }
    writer.WideKey(name);
    writer.BeginObject();
    writer.Key("type");
    writer.String(std::wstring(typeName, typeName + std::strlen(typeName)));
    writer.Key("data");
    WriteValueData(writer, type, data);
    writer.EndObject();
    log.Count("registry values");
}

void CaptureRegistry(JsonWriter& writer, CaptureLog& log)
{
    writer.Key("registry");
    writer.BeginObject();
    for (const RegistryRead& read : RegistryReads()) {
        winapi::UniqueRegKey key;
        const winapi::LONG status =
            winapi::RegOpenKeyExW(winapi::HKEY_LOCAL_MACHINE, std::wstring(read.key), 0, winapi::KEY_READ, key);
        if (status == static_cast<winapi::LONG>(winapi::ERROR_FILE_NOT_FOUND)) {
            continue;
        }
        if (status != winapi::ERROR_SUCCESS) {
            // The key is there but does not open (its access list locks the user out).
            CapturedFaults faults(log, L"registry key " + std::wstring(read.key));
            faults.Add(L"RegOpenKeyExW", static_cast<std::uint32_t>(status));
            writer.WideKey(read.key);
            writer.BeginObject();
            faults.WriteMember(writer);
            writer.EndObject();
            continue;
        }
        log.Count("registry keys");
        writer.WideKey(read.key);
        writer.BeginObject();
        if (!read.values.empty()) {
            writer.Key("values");
            writer.BeginObject();
            for (const std::wstring_view value : read.values) {
                CaptureValue(writer, log, key.get(), read.key, value);
            }
            writer.EndObject();
        }
        writer.EndObject();
    }
    writer.EndObject();
}

void CaptureVersion(JsonWriter& writer, CaptureLog& log)
{
    winapi::OSVERSIONINFOEXW version{};
    version.dwOSVersionInfoSize = winapi::OSVERSIONINFOEXW_SIZE;
    if (!winapi::GetVersionExW(version)) {
        log.Fault(L"GetVersionExW", winapi::GetLastError());
        return;
    }
    writer.Key("version");
    writer.BeginObject();
    const auto member = [&](const char* name, std::uint64_t number) {
        writer.Key(name);
        writer.Unsigned(number);
    };
    member("major", version.dwMajorVersion);
    member("minor", version.dwMinorVersion);
    member("build", version.dwBuildNumber);
    member("platformId", version.dwPlatformId);
    writer.Key("servicePack");
    writer.String(version.szCSDVersion);
    member("servicePackMajor", version.wServicePackMajor);
    member("servicePackMinor", version.wServicePackMinor);
    member("suiteMask", version.wSuiteMask);
    member("productType", version.wProductType);
    writer.EndObject();
}

void CaptureFolders(JsonWriter& writer, CaptureLog& log)
{
    std::array<wchar_t, winapi::MAX_PATH> folder{};
    const winapi::UINT length = winapi::GetSystemDirectoryW(folder);
    if (length == 0 || length >= folder.size()) {
        log.Fault(L"GetSystemDirectoryW", winapi::GetLastError());
    } else {
        writer.Key("systemDirectory");
        writer.String(std::wstring_view(folder.data(), length));
    }
    std::array<wchar_t, winapi::MAX_PATH> programFiles{};
    const winapi::HRESULT hr =
        winapi::SHGetFolderPathW(winapi::CSIDL_PROGRAM_FILES, winapi::SHGFP_TYPE_DEFAULT, programFiles);
    if (winapi::FAILED(hr)) {
        log.Fault(L"SHGetFolderPathW", static_cast<std::uint32_t>(hr));
    } else {
        writer.Key("programFilesFolder");
        writer.String(programFiles.data());
    }
}

void CaptureLibraries(JsonWriter& writer, CaptureLog& log)
{
    writer.Key("libraries");
    writer.BeginArray();
    for (const std::wstring_view library : LibraryReads()) {
        const winapi::UniqueModule module = winapi::LoadLibraryW(std::wstring(library));
        if (module.is_valid()) {
            writer.String(library);
            log.Count("libraries");
        } else if (const winapi::DWORD error = winapi::GetLastError(); error != winapi::ERROR_MOD_NOT_FOUND) {
            log.Fault(L"LoadLibraryW", error);
        }
    }
    writer.EndArray();
}

}  // namespace

void CaptureSystem(JsonWriter& writer, CaptureLog& log)
{
    CaptureFolders(writer, log);
    CaptureVersion(writer, log);
    CaptureLibraries(writer, log);
    CaptureRegistry(writer, log);
}
