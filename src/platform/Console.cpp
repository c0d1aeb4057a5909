#include "platform/Console.h"

#include "winapi/Console.h"

void WriteConsoleText(std::wstring_view text)
{
    winapi::WriteStandardText(winapi::StandardStream::Output, text);
}
