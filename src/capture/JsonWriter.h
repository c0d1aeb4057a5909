#pragma once
// Writes the JSON text of a machine profile: objects, arrays and the few value kinds a profile
// holds. Members and elements are separated and indented as they are added, so the text is
// readable by the administrator who decides whether to send it. Text arrives as UTF-16 and is
// written as UTF-8 with JSON's escapes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class JsonWriter {
public:
    void BeginObject();
    // An object written on one line, for the many small ones (allocation runs, extents).
    void BeginInlineObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The name of the next member of the object being written.
    void Key(std::string_view name);
    void WideKey(std::wstring_view name);
    void String(std::wstring_view text);
    void Unsigned(std::uint64_t number);
    void Signed(std::int64_t number);
    void Boolean(bool flag);
    // A Win32 error or HRESULT as Windows documents it, "0x800704dd".
    void ErrorCode(std::uint32_t error);
    void Null();

    // The text written so far; complete once every object and array is ended.
    [[nodiscard]] const std::string& Text() const { return text_; }

private:
    // Separates and indents the value about to be written; a member's value follows its key.
    void BeforeValue();
    void Raw(std::string_view text);
    void Quoted(std::string_view utf8);
    // Ends the innermost object or array; a non-empty one closes on a line of its own.
    void Close(char bracket);

    std::string text_;
    struct Open {
        bool hasElement = false;
        // Members on one line.
        bool inlined = false;
    };
    void NewLine();

    // One entry per open object or array.
    std::vector<Open> open_;
    bool afterKey_ = false;
};
