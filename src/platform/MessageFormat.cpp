#include "platform/MessageFormat.h"

#include <cstdint>
#include <cwchar>

namespace {

constexpr std::wstring_view NullText = L"(null)";

enum class Length { Default, Short, Char, Long, LongLong, Int64, Int32 };

struct Conversion {
    bool leftAlign = false;
    bool plusSign = false;
    bool spaceSign = false;
    bool alternate = false;
    bool zeroPad = false;
    int width = 0;
    int precision = -1;
    Length length = Length::Default;
    wchar_t type = 0;
};

// Reads the next argument as an int for a "*" width or precision.
int TakeInt(std::span<const FormatArgument> arguments, std::size_t& next)
{
    if (next >= arguments.size() || arguments[next].GetKind() != FormatArgument::Kind::Integer) {
        ++next;
        return 0;
    }
    return static_cast<int>(arguments[next++].Integer());
}

void Pad(std::wstring& out, std::wstring_view body, const Conversion& conversion, std::wstring_view prefix = {})
{
    const std::size_t length = body.size() + prefix.size();
    const std::size_t width = conversion.width > 0 ? static_cast<std::size_t>(conversion.width) : 0;
    const std::size_t fill = width > length ? width - length : 0;
    if (conversion.leftAlign) {
        out += prefix;
        out += body;
        out.append(fill, L' ');
    } else if (conversion.zeroPad && conversion.precision < 0 && conversion.type != L's' && conversion.type != L'S' &&
               conversion.type != L'c') {
        out += prefix;
        out.append(fill, L'0');
        out += body;
    } else {
        out.append(fill, L' ');
        out += prefix;
        out += body;
    }
}

std::wstring Digits(std::uint64_t value, unsigned base, bool upper)
{
    const wchar_t* symbols = upper ? L"0123456789ABCDEF" : L"0123456789abcdef";
    std::wstring digits;
    do {
        digits.insert(digits.begin(), symbols[value % base]);
        value /= base;
    } while (value != 0);
    return digits;
}

void FormatInteger(std::wstring& out, const FormatArgument& argument, const Conversion& conversion)
{
    const std::int64_t raw = argument.GetKind() == FormatArgument::Kind::Integer ? argument.Integer() : 0;
    const bool isSigned = conversion.type == L'd' || conversion.type == L'i';
    std::uint64_t magnitude = 0;
    bool negative = false;
    // The value is cut to the width the length modifier names, as the runtime reads it.
    switch (conversion.length) {
    case Length::Int64:
    case Length::LongLong:
        negative = isSigned && raw < 0;
        magnitude = negative ? 0 - static_cast<std::uint64_t>(raw) : static_cast<std::uint64_t>(raw);
        break;
    case Length::Short:
        negative = isSigned && static_cast<std::int16_t>(raw) < 0;
        magnitude = negative ? static_cast<std::uint64_t>(-static_cast<std::int32_t>(static_cast<std::int16_t>(raw)))
                             : static_cast<std::uint16_t>(raw);
        break;
    case Length::Char:
        negative = isSigned && static_cast<std::int8_t>(raw) < 0;
        magnitude = negative ? static_cast<std::uint64_t>(-static_cast<std::int32_t>(static_cast<std::int8_t>(raw)))
                             : static_cast<std::uint8_t>(raw);
        break;
    default:
        negative = isSigned && static_cast<std::int32_t>(raw) < 0;
        magnitude = negative ? static_cast<std::uint64_t>(-static_cast<std::int64_t>(static_cast<std::int32_t>(raw)))
                             : static_cast<std::uint32_t>(raw);
        break;
    }
    unsigned base = 10;
    if (conversion.type == L'x' || conversion.type == L'X') {
        base = 16;
    } else if (conversion.type == L'o') {
        base = 8;
    }
    std::wstring body = Digits(magnitude, base, conversion.type == L'X');
    if (conversion.precision >= 0) {
        if (conversion.precision == 0 && magnitude == 0) {
            body.clear();
        }
        if (body.size() < static_cast<std::size_t>(conversion.precision)) {
            body.insert(0, static_cast<std::size_t>(conversion.precision) - body.size(), L'0');
        }
    }
    std::wstring prefix;
    if (negative) {
        prefix = L"-";
    } else if (isSigned && conversion.plusSign) {
        prefix = L"+";
    } else if (isSigned && conversion.spaceSign) {
        prefix = L" ";
    }
    if (conversion.alternate && magnitude != 0) {
        if (base == 16) {
            prefix += conversion.type == L'X' ? L"0X" : L"0x";
        } else if (base == 8 && (body.empty() || body.front() != L'0')) {
            body.insert(0, 1, L'0');
        }
    }
    Pad(out, body, conversion, prefix);
}

void FormatString(std::wstring& out, const FormatArgument& argument, const Conversion& conversion)
{
    std::wstring text;
    if (argument.GetKind() == FormatArgument::Kind::WideText) {
        text = argument.Wide() != nullptr ? std::wstring(argument.Wide()) : std::wstring(NullText);
    } else if (argument.GetKind() == FormatArgument::Kind::NarrowText) {
        if (argument.Narrow() == nullptr) {
            text = NullText;
        } else {
            for (const char* c = argument.Narrow(); *c != '\0'; ++c) {
                text += static_cast<wchar_t>(static_cast<unsigned char>(*c));
            }
        }
    } else {
        text = NullText;
    }
    if (conversion.precision >= 0 && text.size() > static_cast<std::size_t>(conversion.precision)) {
        text.resize(static_cast<std::size_t>(conversion.precision));
    }
    Pad(out, text, conversion);
}

// Parses the conversion that starts after a "%"; returns the index just past it, or npos when
// the text ends inside the conversion.
std::size_t ParseConversion(std::wstring_view format, std::size_t at, Conversion& conversion,
                            std::span<const FormatArgument> arguments, std::size_t& next)
{
    for (; at < format.size(); ++at) {
        const wchar_t c = format[at];
        if (c == L'-') {
            conversion.leftAlign = true;
        } else if (c == L'+') {
            conversion.plusSign = true;
        } else if (c == L' ') {
            conversion.spaceSign = true;
        } else if (c == L'#') {
            conversion.alternate = true;
        } else if (c == L'0') {
            conversion.zeroPad = true;
        } else {
            break;
        }
    }
    if (at < format.size() && format[at] == L'*') {
        conversion.width = TakeInt(arguments, next);
        if (conversion.width < 0) {
            conversion.leftAlign = true;
            conversion.width = -conversion.width;
        }
        ++at;
    } else {
        while (at < format.size() && format[at] >= L'0' && format[at] <= L'9') {
            conversion.width = conversion.width * 10 + (format[at++] - L'0');
        }
    }
    if (at < format.size() && format[at] == L'.') {
        ++at;
        conversion.precision = 0;
        if (at < format.size() && format[at] == L'*') {
            conversion.precision = TakeInt(arguments, next);
            ++at;
        } else {
            while (at < format.size() && format[at] >= L'0' && format[at] <= L'9') {
                conversion.precision = conversion.precision * 10 + (format[at++] - L'0');
            }
        }
    }
    const std::wstring_view rest = format.substr(std::min(at, format.size()));
    if (rest.starts_with(L"I64")) {
        conversion.length = Length::Int64;
        at += 3;
    } else if (rest.starts_with(L"I32")) {
        conversion.length = Length::Int32;
        at += 3;
    } else if (rest.starts_with(L"ll")) {
        conversion.length = Length::LongLong;
        at += 2;
    } else if (rest.starts_with(L"hh")) {
        conversion.length = Length::Char;
        at += 2;
    } else if (rest.starts_with(L"h")) {
        conversion.length = Length::Short;
        ++at;
    } else if (rest.starts_with(L"l") || rest.starts_with(L"w")) {
        conversion.length = Length::Long;
        ++at;
    } else if (rest.starts_with(L"I")) {
        // The pointer-sized integer: 32 bits in the shipped program.
        conversion.length = Length::Int32;
        ++at;
    }
    if (at >= format.size()) {
        return std::wstring_view::npos;
    }
    conversion.type = format[at];
    return at + 1;
}

}  // namespace

std::wstring FormatMessageText(std::wstring_view format, std::span<const FormatArgument> arguments)
{
    std::wstring out;
    out.reserve(format.size() + 32);
    std::size_t next = 0;
    const FormatArgument missing(static_cast<const wchar_t*>(nullptr));
    std::size_t at = 0;
    while (at < format.size()) {
        const std::size_t percent = format.find(L'%', at);
        if (percent == std::wstring_view::npos) {
            out += format.substr(at);
            break;
        }
        out += format.substr(at, percent - at);
        Conversion conversion;
        const std::size_t end = ParseConversion(format, percent + 1, conversion, arguments, next);
        if (end == std::wstring_view::npos) {
            // A lone "%" at the end of the text is dropped, as the runtime does.
            break;
        }
        const FormatArgument& argument = next < arguments.size() ? arguments[next] : missing;
        switch (conversion.type) {
        case L'%': out += L'%'; break;
        case L'd':
        case L'i':
        case L'u':
        case L'x':
        case L'X':
        case L'o':
            FormatInteger(out, argument, conversion);
            ++next;
            break;
        case L'c':
        case L'C':
            Pad(out, std::wstring(1, static_cast<wchar_t>(argument.Integer())), conversion);
            ++next;
            break;
        case L's':
        case L'S':
            FormatString(out, argument, conversion);
            ++next;
            break;
        default:
            // A conversion the program never uses is copied as it stands.
            out += format.substr(percent, end - percent);
            break;
        }
        at = end;
    }
    return out;
}
