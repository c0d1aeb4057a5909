#include "platform/RegistryValue.h"

#include <algorithm>

winapi::LONG ReadRegistryValue(winapi::HKEY key, const std::wstring& valueName, std::vector<winapi::BYTE>& data)
{
    winapi::DWORD size = 0;
    winapi::LONG result = winapi::RegQueryValueExW(key, valueName, nullptr, {}, size);
    if (result != static_cast<winapi::LONG>(winapi::ERROR_SUCCESS)) {
        return result;
    }
    // Asked again even for a value of no bytes, as a failure of that second query counts: an
    // empty buffer then asks for the size once more, which Windows answers as it answers a
    // buffer of no bytes.
    std::vector<winapi::BYTE> buffer(size);
    result = winapi::RegQueryValueExW(key, valueName, nullptr, buffer, size);
    if (result != static_cast<winapi::LONG>(winapi::ERROR_SUCCESS)) {
        return result;
    }
    buffer.resize(std::min<std::size_t>(size, buffer.size()));
    data = std::move(buffer);
    return result;
}
