#pragma once
// The value of one WMI property: the few VARIANT types WMI hands out, held by value so that it
// frees itself on every path. Each type has one typed extractor that refuses any other type, so
// a value can never be read through the wrong member (a 64-bit number arrives as text, as WMI
// delivers it, and is never read as a 32-bit one). ValueField32 alone ignores the type, for the
// one check that reads a number that way.

#include "winapi/WinTypes.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace winapi {

using VARTYPE = unsigned short;

constexpr VARTYPE VT_EMPTY = 0;
constexpr VARTYPE VT_NULL = 1;
constexpr VARTYPE VT_I2 = 2;
constexpr VARTYPE VT_I4 = 3;
constexpr VARTYPE VT_BSTR = 8;
constexpr VARTYPE VT_BOOL = 11;
constexpr VARTYPE VT_UI1 = 17;
constexpr VARTYPE VT_ARRAY = 0x2000;

constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);

class Variant {
public:
    // VT_EMPTY, as VariantInit leaves it.
    Variant() = default;

    [[nodiscard]] static Variant Null() { return Variant(VT_NULL); }
    [[nodiscard]] static Variant String(std::wstring text)
    {
        Variant value(VT_BSTR);
        value.text_ = std::move(text);
        return value;
    }
    // A VT_BSTR whose string pointer is null: a string property without a value, as much as
    // VT_NULL is, and not the empty string.
    [[nodiscard]] static Variant NullString()
    {
        Variant value(VT_BSTR);
        value.nullString_ = true;
        return value;
    }
    [[nodiscard]] static Variant Int32(std::int32_t number) { return Number(VT_I4, number); }
    [[nodiscard]] static Variant Int16(std::int16_t number) { return Number(VT_I2, number); }
    [[nodiscard]] static Variant UInt8(std::uint8_t number) { return Number(VT_UI1, number); }
    [[nodiscard]] static Variant Bool(bool flag) { return Number(VT_BOOL, flag ? 1 : 0); }
    // A one-dimensional array of integers of elementType (VT_I4, VT_I2 or VT_UI1), lower bound 0.
    [[nodiscard]] static Variant IntegerArray(VARTYPE elementType, std::vector<std::int32_t> elements)
    {
        Variant value(static_cast<VARTYPE>(VT_ARRAY | elementType));
        value.elements_ = std::move(elements);
        return value;
    }
    // A value of a type the program never reads (reals, dates, arrays of text): only its type
    // is kept, and every extractor refuses it.
    [[nodiscard]] static Variant Unreadable(VARTYPE type) { return Variant(type); }

    [[nodiscard]] VARTYPE Type() const { return type_; }

    // VariantClear: back to VT_EMPTY.
    void Clear() { *this = Variant(); }

    // Each extractor fills its out-parameter only for its own type, else DISP_E_TYPEMISMATCH.
    // A string with a null pointer has no text to give: E_POINTER.
    [[nodiscard]] HRESULT GetString(std::wstring& text) const
    {
        if (type_ != VT_BSTR) {
            return DISP_E_TYPEMISMATCH;
        }
        if (nullString_) {
            return E_POINTER;
        }
        text = text_;
        return S_OK;
    }
    [[nodiscard]] HRESULT GetInt32(std::int32_t& number) const { return GetNumber(VT_I4, number); }
    [[nodiscard]] HRESULT GetInt16(std::int32_t& number) const { return GetNumber(VT_I2, number); }
    [[nodiscard]] HRESULT GetUInt8(std::int32_t& number) const { return GetNumber(VT_UI1, number); }
    [[nodiscard]] HRESULT GetBool(bool& flag) const
    {
        if (type_ != VT_BOOL) {
            return DISP_E_TYPEMISMATCH;
        }
        flag = number_ != 0;
        return S_OK;
    }
    // The elements of an integer array of any of the three element types, each widened.
    [[nodiscard]] HRESULT GetIntegerArray(std::vector<std::int32_t>& elements) const
    {
        const VARTYPE element = static_cast<VARTYPE>(type_ & ~VT_ARRAY);
        if ((type_ & VT_ARRAY) == 0 || (element != VT_I4 && element != VT_I2 && element != VT_UI1)) {
            return DISP_E_TYPEMISMATCH;
        }
        elements = elements_;
        return S_OK;
    }

    // The one reader that ignores the type: the first 32 bits of the VARIANT's value field, as a
    // reader of its 32-bit member sees them whatever the type (the pointing-device check reads its
    // interface number so, and takes 0 for no value). The narrower integers arrive zero-extended,
    // as the caller zeroes the whole VARIANT before Get; VT_EMPTY and VT_NULL hold 0; text, arrays
    // and the types the program never reads are taken to hold an address, which is never 0 and
    // never below the first 64 KiB.
    [[nodiscard]] std::uint32_t ValueField32() const
    {
        switch (type_) {
        case VT_EMPTY:
        case VT_NULL: return 0;
        case VT_I4: return static_cast<std::uint32_t>(number_);
        case VT_I2: return static_cast<std::uint16_t>(number_);
        case VT_BOOL: return number_ != 0 ? static_cast<std::uint16_t>(VariantTrue) : 0;
        case VT_UI1: return static_cast<std::uint8_t>(number_);
        default: return LowestAddress;
        }
    }

    friend bool operator==(const Variant&, const Variant&) = default;

private:
    // VARIANT_TRUE, a 16-bit -1.
    static constexpr std::int32_t VariantTrue = -1;
    // Windows hands out no address in the first 64 KiB.
    static constexpr std::uint32_t LowestAddress = 0x10000;

    explicit Variant(VARTYPE type) : type_(type) {}
    static Variant Number(VARTYPE type, std::int32_t number)
    {
        Variant value(type);
        value.number_ = number;
        return value;
    }
    [[nodiscard]] HRESULT GetNumber(VARTYPE type, std::int32_t& number) const
    {
        if (type_ != type) {
            return DISP_E_TYPEMISMATCH;
        }
        number = number_;
        return S_OK;
    }

    VARTYPE type_ = VT_EMPTY;
    std::wstring text_;
    bool nullString_ = false;
    std::int32_t number_ = 0;
    std::vector<std::int32_t> elements_;
};

}  // namespace winapi
