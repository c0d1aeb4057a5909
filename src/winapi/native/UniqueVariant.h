#pragma once
// An owning VARIANT: cleared with VariantClear on every path, read through one typed extractor.
// Include after the winapi/*.h headers.

#include <string>

#include "winapi/native/UniqueBstr.h"
#include "winapi/native/WindowsHeaders.h"

namespace winapi::native {

class UniqueVariant {
public:
    UniqueVariant() { ::VariantInit(&value_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    ~UniqueVariant() { ::VariantClear(&value_); }

    // By value, as the DOM's [in] VARIANT parameters take it; the callee does not own it.
    [[nodiscard]] const VARIANT& get() const { return value_; }

    // For an [out] VARIANT parameter: clears the old value first.
    [[nodiscard]] VARIANT* put()
    {
        ::VariantClear(&value_);
        return &value_;
    }

    // Makes this a VT_BSTR holding a copy of text.
    [[nodiscard]] HRESULT SetString(const std::wstring& text)
    {
        UniqueBstr copy(text);
        if (!copy.is_valid()) {
            return E_OUTOFMEMORY;
        }
        ::VariantClear(&value_);
        V_VT(&value_) = VT_BSTR;
        V_BSTR(&value_) = copy.release();
        return S_OK;
    }

    // The text of a VT_BSTR; text is untouched for any other type.
    [[nodiscard]] HRESULT GetString(std::wstring& text) const
    {
        if (V_VT(&value_) != VT_BSTR) {
            return DISP_E_TYPEMISMATCH;
        }
        text = UniqueBstr::ToString(V_BSTR(&value_));
        return S_OK;
    }

private:
    VARIANT value_;
};

}  // namespace winapi::native
