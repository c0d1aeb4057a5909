#include "winapi/Console.h"

#include "winapi/Utf8.h"
#include "winapi/simulated/DisturbedLastError.h"

#include <cstdio>

namespace winapi {

void WriteStandardText(StandardStream stream, std::wstring_view text)
{
    sim::DisturbLastError();
    const std::string bytes = ToUtf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), stream == StandardStream::Output ? stdout : stderr);
}

}  // namespace winapi
