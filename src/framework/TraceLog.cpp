#include "framework/TraceLog.h"

#include "winapi/Console.h"

namespace {

bool muted = false;

}  // namespace

void MuteTrace()
{
    muted = true;
}

void WriteTraceText(std::wstring_view text)
{
    if (muted) {
        return;
    }
    winapi::WriteStandardText(winapi::StandardStream::Error, text);
}
