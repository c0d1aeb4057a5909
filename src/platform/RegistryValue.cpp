#include "platform/RegistryValue.h"

winapi::LONG ReadRegistryValue(winapi::HKEY key, const std::wstring& valueName, std::vector<winapi::BYTE>& data)
{
    winapi::DWORD size = 0;
    winapi::LONG result = winapi::RegQueryValueExW(key, valueName, nullptr, {}, size);
    if (result != static_cast<winapi::LONG>(winapi::ERROR_SUCCESS)) {
        return result;
    }
    std::vector<winapi::BYTE> buffer(size);
    if (size > 0) {
        result = winapi::RegQueryValueExW(key, valueName, nullptr, buffer, size);
        if (result != static_cast<winapi::LONG>(winapi::ERROR_SUCCESS)) {
            return result;
        }
        buffer.resize(size);
    }
    data = std::move(buffer);
    return result;
}
