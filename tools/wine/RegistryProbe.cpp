// The registry text reading of Tarnwick.exe on its own, built from the program's own sources
// (src/winapi/native/Registry.cpp, src/platform/RegistryValue.cpp and RegistryText.cpp) for the
// architecture of the program under test and run by tools/wine-check.sh with the same Wine (not
// part of Tarnwick.exe). Wine's registry holds none of the odd values a real machine may: this
// probe writes its own under a scratch key of HKEY_CURRENT_USER, reads each back the way the
// checks do (the size first, then a buffer of that size, growing while the value says "more"),
// and removes the key again.
//
// Prints one line per value, "NAME: RESULT bytes N characters \"...\" text \"...\"": the Win32
// result of ReadRegistryValue, the number of bytes it returned, every 16-bit character
// (RegistryCharacters) and the text up to the first null (RegistryText). tools/wine-check.sh holds
// the expected lines.

#include "platform/RegistryText.h"
#include "platform/RegistryValue.h"
#include "winapi/Registry.h"

#include <cstdio>
#include <string>
#include <vector>

#include "winapi/native/WindowsHeaders.h"

#include "ProbeText.h"

namespace {

// The scratch key, removed with all its values when the probe ends.
class ScratchKey {
public:
    explicit ScratchKey(const wchar_t* path) : path_(path)
    {
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, path_, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr) !=
            ERROR_SUCCESS) {
            key_ = nullptr;
        }
    }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;
    ~ScratchKey()
    {
        if (key_ != nullptr) {
            ::RegCloseKey(key_);
            ::RegDeleteKeyW(HKEY_CURRENT_USER, path_);
        }
    }
    [[nodiscard]] HKEY get() const { return key_; }

private:
    const wchar_t* path_;
    HKEY key_ = nullptr;
};

void Report(HKEY key, const char* name)
{
    std::vector<winapi::BYTE> data;
    const std::wstring valueName(name, name + std::char_traits<char>::length(name));
    const LONG result = ReadRegistryValue(key, valueName, data);
    std::printf("%s: %ld bytes %lu characters \"%s\" text \"%s\"\n", name, static_cast<long>(result),
                static_cast<unsigned long>(data.size()), Escape(RegistryCharacters(data)).c_str(),
                Escape(RegistryText(data)).c_str());
}

// Writes the value and reads it back; a value the probe cannot write is reported as such.
void WriteAndReport(HKEY key, const char* name, DWORD type, const void* bytes, std::size_t size)
{
    const std::wstring valueName(name, name + std::char_traits<char>::length(name));
    const LONG written =
        ::RegSetValueExW(key, valueName.c_str(), 0, type, static_cast<const BYTE*>(bytes), static_cast<DWORD>(size));
    if (written != ERROR_SUCCESS) {
        std::printf("%s: the probe could not write the value (%ld)\n", name, static_cast<long>(written));
        return;
    }
    Report(key, name);
}

void WriteText(HKEY key, const char* name, DWORD type, const std::wstring& text, std::size_t characters)
{
    WriteAndReport(key, name, type, text.data(), characters * sizeof(wchar_t));
}

// A binary value of size bytes, "AB" repeated, whose text says how long it is only by its size.
void WriteLong(HKEY key, const char* name, std::size_t size)
{
    std::vector<BYTE> bytes(size);
    for (std::size_t at = 0; at < size; ++at) {
        bytes[at] = at % 2 == 1 ? 0 : static_cast<BYTE>('A' + (at / 2) % 2);
    }
    const std::wstring valueName(name, name + std::char_traits<char>::length(name));
    if (::RegSetValueExW(key, valueName.c_str(), 0, REG_BINARY, bytes.data(), static_cast<DWORD>(size)) !=
        ERROR_SUCCESS) {
        std::printf("%s: the probe could not write the value\n", name);
        return;
    }
    std::vector<winapi::BYTE> data;
    const LONG result = ReadRegistryValue(key, valueName, data);
    const std::wstring text = RegistryText(data);
    std::printf("%s: %ld bytes %lu text length %lu same %s\n", name, static_cast<long>(result),
                static_cast<unsigned long>(data.size()), static_cast<unsigned long>(text.size()),
                data == bytes ? "yes" : "no");
}

}  // namespace

int main()
{
    const ScratchKey scratch(L"Software\\TarnwickRegistryProbe");
    if (scratch.get() == nullptr) {
        std::printf("scratch key: cannot be created\n");
        return 1;
    }
    const HKEY key = scratch.get();
    const std::wstring path = L"C:\\Windows\\Microsoft.NET\\Framework\\";
    WriteText(key, "sz", REG_SZ, path, path.size() + 1);
    // Windows (and Wine) add the terminator a writer forgot when a null follows the counted data;
    // a character after it keeps the value as it was given.
    WriteText(key, "sz-without-terminator", REG_SZ, path + L"X", path.size());
    WriteText(key, "sz-empty", REG_SZ, L"", 0);
    WriteText(key, "sz-terminator-only", REG_SZ, L"", 1);
    WriteText(key, "sz-beyond-ascii", REG_SZ, L"T\u00e9st\u20ac\U0001F600", 8);
    WriteText(key, "expand-sz", REG_EXPAND_SZ, L"%SystemRoot%\\x", 15);
    const std::wstring pieces(L"PTLTD - 6040000\0PhoenixBIOS 4.0\0\0", 33);
    WriteText(key, "multi-sz", REG_MULTI_SZ, pieces, pieces.size());
    WriteText(key, "multi-sz-empty", REG_MULTI_SZ, std::wstring(1, L'\0'), 1);
    const DWORD dword = 0x00420041;
    WriteAndReport(key, "dword", REG_DWORD, &dword, sizeof dword);
    const DWORD zero = 0;
    WriteAndReport(key, "dword-zero", REG_DWORD, &zero, sizeof zero);
    const BYTE odd[] = {'A', 0, 'B'};
    WriteAndReport(key, "binary-odd-length", REG_BINARY, odd, sizeof odd);
    WriteAndReport(key, "binary-empty", REG_BINARY, odd, 0);
    Report(key, "missing");
    // Larger than any first guess: the read needs the size and a buffer grown to it. At the
    // limit (1 MiB) it is read; one character beyond, the read gives up with ERROR_MORE_DATA.
    WriteLong(key, "long-4097", 4097 * 2);
    WriteLong(key, "long-at-limit", 1024 * 1024);
    WriteLong(key, "long-beyond-limit", 1024 * 1024 + 2);
    return 0;
}
