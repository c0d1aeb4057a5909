#include "platform/RegistryText.h"

#include <algorithm>
#include <cstring>

std::wstring RegistryText(const std::vector<winapi::BYTE>& data)
{
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    if (!text.empty()) {
        std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
    }
    text.resize(std::min(text.find(L'\0'), text.size()));
    return text;
}
