#include "capture/JsonWriter.h"

#include "winapi/Utf8.h"

#include <array>

namespace {

constexpr std::string_view Indent = " ";
constexpr std::array<char, 16> HexDigits{'0', '1', '2', '3', '4', '5', '6', '7',
                                         '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};

}  // namespace

void JsonWriter::BeforeValue()
{
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (open_.empty()) {
        return;
    }
    Open& innermost = open_.back();
    if (innermost.hasElement) {
        text_ += innermost.inlined ? ", " : ",";
    }
    innermost.hasElement = true;
    if (!innermost.inlined) {
        NewLine();
    }
}

void JsonWriter::NewLine()
{
    text_ += '\n';
    for (std::size_t level = 0; level < open_.size(); ++level) {
        text_ += Indent;
    }
}

void JsonWriter::ErrorCode(std::uint32_t error)
{
    std::string text = "0x";
    for (int shift = 28; shift >= 0; shift -= 4) {
        text += HexDigits[(error >> shift) & 0xF];
    }
    BeforeValue();
    Quoted(text);
}

void JsonWriter::Raw(std::string_view text)
{
    BeforeValue();
    text_ += text;
}

void JsonWriter::Quoted(std::string_view utf8)
{
    text_ += '"';
    for (const char character : utf8) {
        const auto byte = static_cast<unsigned char>(character);
        switch (character) {
        case '"': text_ += "\\\""; break;
        case '\\': text_ += "\\\\"; break;
        case '\n': text_ += "\\n"; break;
        case '\r': text_ += "\\r"; break;
        case '\t': text_ += "\\t"; break;
        default:
            if (byte < 0x20) {
                text_ += "\\u00";
                text_ += HexDigits[byte >> 4];
                text_ += HexDigits[byte & 0xF];
            } else {
                text_ += character;
            }
        }
    }
    text_ += '"';
}

void JsonWriter::BeginObject()
{
    Raw("{");
    open_.push_back({});
}

void JsonWriter::BeginInlineObject()
{
    Raw("{");
    open_.push_back({false, true});
}

void JsonWriter::BeginArray()
{
    Raw("[");
    open_.push_back({});
}

void JsonWriter::EndObject()
{
    Close('}');
}

void JsonWriter::EndArray()
{
    Close(']');
}

void JsonWriter::Close(char bracket)
{
    const Open closed = open_.back();
    open_.pop_back();
    if (closed.hasElement && !closed.inlined) {
        NewLine();
    }
    text_ += bracket;
}

void JsonWriter::Key(std::string_view name)
{
    BeforeValue();
    Quoted(name);
    text_ += ": ";
    afterKey_ = true;
}

void JsonWriter::WideKey(std::wstring_view name)
{
    Key(winapi::ToUtf8(name));
}

void JsonWriter::String(std::wstring_view text)
{
    BeforeValue();
    Quoted(winapi::ToUtf8(text));
}

void JsonWriter::Unsigned(std::uint64_t number)
{
    Raw(std::to_string(number));
}

void JsonWriter::Signed(std::int64_t number)
{
    Raw(std::to_string(number));
}

void JsonWriter::Boolean(bool flag)
{
    Raw(flag ? "true" : "false");
}

void JsonWriter::Null()
{
    Raw("null");
}
