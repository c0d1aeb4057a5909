#pragma once
// The console channel: lines printed as the runtime's printf prints them, on standard output,
// encoded as UTF-8.

#include "platform/MessageFormat.h"

#include <string_view>

void WriteConsoleText(std::wstring_view text);

template <typename... Arguments>
void ConsolePrintf(std::string_view format, const Arguments&... arguments)
{
    WriteConsoleText(FormatNarrow(format, arguments...));
}
