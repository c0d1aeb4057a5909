#include "platform/Console.h"

#include "winapi/Utf8.h"

#include <cstdio>

void WriteConsoleText(std::wstring_view text)
{
    const std::string bytes = winapi::ToUtf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}
