#pragma once
// The printf-style formatting of every console, more-info, solution and trace line, written
// once so that both builds print byte for byte the same. It follows the Windows runtime: "%wS"
// is always a wide string, a plain "%s" is wide in a wide format and narrow in a narrow one,
// "%S" the opposite, "%I64d" a 64-bit integer, and a null string prints as "(null)".

#include "platform/FormatArgument.h"

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

// Wide characters of a formatted line, terminator included (the runtime's line buffers).
constexpr std::size_t LineBufferSize = 260;

// Every string argument carries its own kind, so "%s", "%S" and "%wS" all print the argument
// as it is and the wide and narrow families need no separate rules.
[[nodiscard]] std::wstring FormatMessageText(std::wstring_view format, std::span<const FormatArgument> arguments);

// Formats as the wprintf family does.
template <typename... Arguments>
[[nodiscard]] std::wstring FormatWide(std::wstring_view format, const Arguments&... arguments)
{
    const std::initializer_list<FormatArgument> list{FormatArgument(arguments)...};
    return FormatMessageText(format, std::span(list.begin(), list.size()));
}

// Formats a narrow (printf) format; its text is ASCII.
template <typename... Arguments>
[[nodiscard]] std::wstring FormatNarrow(std::string_view format, const Arguments&... arguments)
{
    const std::wstring wideFormat(format.begin(), format.end());
    const std::initializer_list<FormatArgument> list{FormatArgument(arguments)...};
    return FormatMessageText(wideFormat, std::span(list.begin(), list.size()));
}

// Formats into a line buffer of LineBufferSize wide characters: longer output is cut to fit.
template <typename... Arguments>
[[nodiscard]] std::wstring FormatLine(std::wstring_view format, const Arguments&... arguments)
{
    std::wstring line = FormatWide(format, arguments...);
    if (line.size() >= LineBufferSize) {
        line.resize(LineBufferSize - 1);
    }
    return line;
}
