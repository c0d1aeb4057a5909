#include "winapi/Console.h"

#include "winapi/Utf8.h"

#include <cstdio>

namespace winapi {

void WriteStandardText(StandardStream stream, std::wstring_view text)
{
    const std::string bytes = ToUtf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stream == StandardStream::Output ? stdout : stderr);
}

}  // namespace winapi
