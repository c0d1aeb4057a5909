#include "framework/TraceLog.h"

#include "winapi/Console.h"

void WriteTraceText(std::wstring_view text)
{
    winapi::WriteStandardText(winapi::StandardStream::Error, text);
}
