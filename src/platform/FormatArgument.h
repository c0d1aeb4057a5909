#pragma once
// One argument of a printf-style message: an integer or a string, remembered with its type so
// that the formatter can apply the Windows runtime's conversion rules without varargs.

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

class FormatArgument {
public:
    enum class Kind { Integer, WideText, NarrowText };

    template <std::integral Integer>
    FormatArgument(Integer value)  // NOLINT(google-explicit-constructor): arguments convert implicitly
        : kind_(Kind::Integer), integer_(static_cast<std::int64_t>(value))
    {
    }
    FormatArgument(const wchar_t* text) : kind_(Kind::WideText), wide_(text) {}               // NOLINT: null is allowed
    FormatArgument(const std::wstring& text) : kind_(Kind::WideText), wide_(text.c_str()) {}  // NOLINT
    FormatArgument(const char* text) : kind_(Kind::NarrowText), narrow_(text) {}              // NOLINT: null is allowed
    FormatArgument(const std::string& text) : kind_(Kind::NarrowText), narrow_(text.c_str()) {}  // NOLINT

    [[nodiscard]] Kind GetKind() const { return kind_; }
    [[nodiscard]] std::int64_t Integer() const { return integer_; }
    // Null when the caller passed a null string.
    [[nodiscard]] const wchar_t* Wide() const { return wide_; }
    [[nodiscard]] const char* Narrow() const { return narrow_; }

private:
    Kind kind_;
    std::int64_t integer_ = 0;
    const wchar_t* wide_ = nullptr;
    const char* narrow_ = nullptr;
};
