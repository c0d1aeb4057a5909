#pragma once
// The trace channel: the course of a run, one formatted line after another on standard error,
// in the encoding the platform shows (winapi/Console.h).
// Every trace of the program belongs to one category, so the sink records them all; a sink that
// dropped them would change nothing else the program does.

#include "platform/MessageFormat.h"

#include <string_view>

void WriteTraceText(std::wstring_view text);

// Drops every later trace line of the process: for the tools beside the program that read
// documents with its code but have their own report. The program itself never calls it.
void MuteTrace();

template <typename... Arguments>
void TraceLog(std::string_view format, const Arguments&... arguments)
{
    WriteTraceText(FormatNarrow(format, arguments...));
}
