// The console and trace writing of Tarnwick.exe on its own, built from the program's own
// src/winapi/native/Console.cpp for the architecture of the program under test and run by
// tools/wine-check.sh with the same Wine (not part of Tarnwick.exe). The program's own runs write
// short ASCII lines and one name beyond ASCII; this probe writes the edge cases of the conversion.
//
// The program's own Console.cpp is compiled into the probe, its conversion held to Windows' rules
// for the flags (StrictWideCharToMultiByte below).
//
// "redirected": run with standard output and error redirected to files. Each case is written to
// standard output after a marker line "[NAME]", and the trace case to standard error; the script
// compares the bytes of each case with the text encoded in the prefix's ANSI code page.
// "console": run on a pseudo-terminal (a console to Wine); writes one text of more than two slices
// of WriteConsoleW, which must come out whole. (Wine's console shows each half of a surrogate
// pair as a character of its own, so a pair at a slice boundary cannot be told apart there.)

#include "winapi/Console.h"

#include <string>
#include <string_view>

#include "winapi/native/WindowsHeaders.h"

namespace {

// Wine converts to UTF-8 whatever the flags are; Windows refuses every flag but
// WC_ERR_INVALID_CHARS there, and every flag at all for UTF-7, the ISO-2022 and ISCII code pages
// and Symbol, with ERROR_INVALID_FLAGS, and so loses the whole text. The probe's Console.cpp
// calls this in place of WideCharToMultiByte: it refuses as Windows does and otherwise hands the
// call on, so that a flag Windows refuses fails the probe under Wine too.
int WINAPI StrictWideCharToMultiByte(UINT codePage, DWORD flags, LPCWCH text, int length, LPSTR bytes, int size,
                                     LPCCH defaultCharacter, LPBOOL usedDefault)
{
    const bool noFlags = codePage == 42 || codePage == 65000 || (codePage >= 50220 && codePage <= 50229) ||
                         (codePage >= 57002 && codePage <= 57011);
    const DWORD allowed = codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : noFlags ? 0 : ~DWORD{0};
    if ((flags & ~allowed) != 0) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    return WideCharToMultiByte(codePage, flags, text, length, bytes, size, defaultCharacter, usedDefault);
}

}  // namespace

#define WideCharToMultiByte StrictWideCharToMultiByte
#include "winapi/native/Console.cpp"
#undef WideCharToMultiByte

namespace {

constexpr std::size_t ConsoleSlice = 8192;

void Case(std::wstring_view name, std::wstring_view text)
{
    winapi::WriteStandardText(winapi::StandardStream::Output, L"[" + std::wstring(name) + L"]\n");
    winapi::WriteStandardText(winapi::StandardStream::Output, text);
}

}  // namespace

int wmain(int argumentCount, wchar_t** arguments)
{
    const std::wstring_view mode = argumentCount > 1 ? arguments[1] : L"";
    if (mode == L"redirected") {
        Case(L"ascii", L"plain line\n");
        Case(L"beyond-ascii", L"T\u00e9st\u20ac\u03a9\n");
        Case(L"outside-code-page", L"\u4e2d\u3042.\n");
        Case(L"empty", L"");
        Case(L"line-ends", L"a\nb\n\n");
        Case(L"carriage-return-kept", L"x\r\n");
        Case(L"no-line-end", L"tail");
        Case(L"embedded-null", std::wstring_view(L"a\0b\n", 4));
        Case(L"long", std::wstring(20000, L'x') + L"\n");
        Case(L"end", L"");
        winapi::WriteStandardText(winapi::StandardStream::Error, L"trace \u00e9\n");
        return 0;
    }
    if (mode == L"console") {
        winapi::WriteStandardText(winapi::StandardStream::Output,
                                  std::wstring(2 * ConsoleSlice + 5, L'a') + L"\u03a9b\n");
        return 0;
    }
    return 2;
}
