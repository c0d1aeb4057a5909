#pragma once
// The console channel: lines formatted as the runtime's printf formats them, on standard output,
// in the encoding the platform shows (winapi/Console.h).

#include "platform/MessageFormat.h"

#include <string_view>

void WriteConsoleText(std::wstring_view text);

template <typename... Arguments>
void ConsolePrintf(std::string_view format, const Arguments&... arguments)
{
    WriteConsoleText(FormatNarrow(format, arguments...));
}
