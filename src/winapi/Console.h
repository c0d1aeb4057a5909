#pragma once
// The process's two text channels, standard output and standard error, written as the platform
// shows text. On Windows a console gets the characters themselves (WriteConsoleW), so a name
// beyond ASCII shows as it is; a file or pipe gets the text in the system's ANSI code page, with
// "\r\n" line ends, as a tool that captures a Windows console program's narrow output reads it.
// The simulated machine writes UTF-8 with "\n", as a Linux terminal and the tests read it.

#include "winapi/WinTypes.h"

#include <string_view>

namespace winapi {

constexpr UINT CP_UTF7 = 65000;
constexpr UINT CP_UTF8 = 65001;
constexpr DWORD WC_NO_BEST_FIT_CHARS = 0x400;

// The WideCharToMultiByte flags for text in codePage (the ANSI code page the system gives): no
// best-fit look-alikes, except where Windows refuses every flag with ERROR_INVALID_FLAGS, which
// would lose the whole text. It does for UTF-8 (the ANSI code page under "Use Unicode UTF-8 for
// worldwide language support"), UTF-7, the ISO-2022 and ISCII code pages and Symbol (42).
[[nodiscard]] constexpr DWORD AnsiConversionFlags(UINT codePage)
{
    constexpr UINT refusing[] = {42, 50220, 50221, 50222, 50225, 50227, 50229, CP_UTF7, CP_UTF8};
    constexpr UINT IsciiFirst = 57002;
    constexpr UINT IsciiLast = 57011;
    for (const UINT page : refusing) {
        if (codePage == page) {
            return 0;
        }
    }
    return codePage >= IsciiFirst && codePage <= IsciiLast ? 0 : WC_NO_BEST_FIT_CHARS;
}

enum class StandardStream { Output, Error };

// Writes the whole text; a channel that is closed or fails drops it, as the runtime's printf does.
void WriteStandardText(StandardStream stream, std::wstring_view text);

}  // namespace winapi
