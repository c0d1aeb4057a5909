#include "winapi/Console.h"

#include <string>

#include "winapi/native/WindowsHeaders.h"

namespace winapi {
namespace {

// WriteConsoleW takes at most some tens of kilobytes at once on older systems; lines are short,
// but a long text goes in slices of this many characters, never splitting a surrogate pair.
constexpr std::size_t ConsoleSlice = 8192;

bool IsConsole(HANDLE channel)
{
    DWORD mode = 0;
    return ::GetConsoleMode(channel, &mode) != FALSE;
}

void WriteToConsole(HANDLE console, std::wstring_view text)
{
    while (!text.empty()) {
        std::size_t length = text.size() < ConsoleSlice ? text.size() : ConsoleSlice;
        if (length < text.size() && IS_HIGH_SURROGATE(text[length - 1])) {
            --length;
        }
        DWORD written = 0;
        if (!::WriteConsoleW(console, text.data(), static_cast<DWORD>(length), &written, nullptr) || written == 0) {
            return;
        }
        text.remove_prefix(written);
    }
}

// The text with "\r\n" line ends, in the ANSI code page; a character the code page lacks
// becomes its default character ("?"), never a look-alike (AnsiConversionFlags).
std::string ToAnsiLines(std::wstring_view text)
{
    std::wstring lines;
    lines.reserve(text.size() + text.size() / 16);
    for (const wchar_t character : text) {
        if (character == L'\n') {
            lines += L'\r';
        }
        lines += character;
    }
    if (lines.empty()) {
        return {};
    }
    const UINT codePage = ::GetACP();
    const DWORD flags = AnsiConversionFlags(codePage);
    const int size = ::WideCharToMultiByte(codePage, flags, lines.data(), static_cast<int>(lines.size()), nullptr, 0,
                                           nullptr, nullptr);
    if (size <= 0) {
        return {};
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    const int converted = ::WideCharToMultiByte(codePage, flags, lines.data(), static_cast<int>(lines.size()),
                                                bytes.data(), size, nullptr, nullptr);
    bytes.resize(converted > 0 ? static_cast<std::size_t>(converted) : 0);
    return bytes;
}

void WriteToFile(HANDLE file, std::string_view bytes)
{
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written == 0) {
            return;
        }
        bytes.remove_prefix(written);
    }
}

}  // namespace

void WriteStandardText(StandardStream stream, std::wstring_view text)
{
    // Not owned: the standard handles belong to the process and stay open after the write.
    const HANDLE channel = ::GetStdHandle(stream == StandardStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (channel == nullptr || channel == INVALID_HANDLE_VALUE) {
        return;
    }
    if (IsConsole(channel)) {
        WriteToConsole(channel, text);
    } else {
        WriteToFile(channel, ToAnsiLines(text));
    }
}

}  // namespace winapi
