#pragma once
// An owning BSTR: freed with SysFreeString on every path. Include after the winapi/*.h headers.

#include <string>
#include <utility>

#include "winapi/native/WindowsHeaders.h"

namespace winapi::native {

class UniqueBstr {
public:
    UniqueBstr() = default;
    // Empty (null) when the allocation fails; check is_valid() before passing it on.
    explicit UniqueBstr(const std::wstring& text)
        : value_(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size())))
    {
    }
    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;
    ~UniqueBstr() { ::SysFreeString(value_); }

    [[nodiscard]] BSTR get() const { return value_; }
    [[nodiscard]] bool is_valid() const { return value_ != nullptr; }

    // For an [out] BSTR parameter: frees the old string first.
    [[nodiscard]] BSTR* put()
    {
        ::SysFreeString(value_);
        value_ = nullptr;
        return &value_;
    }

    // Hands the string over, e.g. to a VARIANT that then owns it.
    [[nodiscard]] BSTR release() { return std::exchange(value_, nullptr); }

    [[nodiscard]] std::wstring str() const { return ToString(value_); }

    // A BSTR carries its length and may hold embedded nulls; a null BSTR is the empty string.
    [[nodiscard]] static std::wstring ToString(BSTR value)
    {
        return value == nullptr ? std::wstring() : std::wstring(value, ::SysStringLen(value));
    }

private:
    BSTR value_ = nullptr;
};

}  // namespace winapi::native
