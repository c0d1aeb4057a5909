#include "winapi/Variant.h"
#include "winapi/Wmi.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "winapi/native/ComWbemClassObject.h"
#include "winapi/native/UniqueBstr.h"
#include "winapi/native/UniqueVariant.h"
#include "winapi/native/WindowsHeaders.h"

namespace winapi::native {

namespace {

// The elements of a SAFEARRAY of integers, each read as its own type, from index 0 up to the
// upper bound of the array's last dimension (the only one of the arrays WMI hands out). An
// element that cannot be read is left out and the others still count; only a bound that cannot
// be read makes the whole array unreadable.
template <typename Element>
bool ReadElements(SAFEARRAY* array, std::vector<std::int32_t>& elements)
{
    if (array == nullptr) {
        return false;
    }
    const UINT dimensions = ::SafeArrayGetDim(array);
    LONG upper = -1;
    if (FAILED(::SafeArrayGetUBound(array, dimensions, &upper))) {
        return false;
    }
    // One index per dimension, as SafeArrayGetElement reads them; the others stay at 0.
    std::vector<LONG> indices(dimensions, 0);
    for (LONG index = 0; index <= upper; ++index) {
        indices[0] = index;
        Element element{};
        if (SUCCEEDED(::SafeArrayGetElement(array, indices.data(), &element))) {
            elements.push_back(static_cast<std::int32_t>(element));
        }
    }
    return true;
}

}  // namespace

Variant ToVariant(const VARIANT& value)
{
    switch (V_VT(&value)) {
    case VT_EMPTY: return Variant();
    case VT_NULL: return Variant::Null();
    case VT_BSTR:
        // WMI may hand out a VT_BSTR without a string; the checks read that as no value.
        return V_BSTR(&value) == nullptr ? Variant::NullString()
                                         : Variant::String(UniqueBstr::ToString(V_BSTR(&value)));
    case VT_I4: return Variant::Int32(static_cast<std::int32_t>(V_I4(&value)));
    case VT_I2: return Variant::Int16(V_I2(&value));
    case VT_UI1: return Variant::UInt8(V_UI1(&value));
    case VT_BOOL: return Variant::Bool(V_BOOL(&value) != VARIANT_FALSE);
    default: break;
    }
    std::vector<std::int32_t> elements;
    const VARTYPE type = V_VT(&value);
    const bool read = (type == (VT_ARRAY | VT_I4) && ReadElements<LONG>(V_ARRAY(&value), elements)) ||
                      (type == (VT_ARRAY | VT_I2) && ReadElements<SHORT>(V_ARRAY(&value), elements)) ||
                      (type == (VT_ARRAY | VT_UI1) && ReadElements<BYTE>(V_ARRAY(&value), elements));
    if (read) {
        return Variant::IntegerArray(static_cast<VARTYPE>(type & ~VT_ARRAY), std::move(elements));
    }
    return Variant::Unreadable(type);
}

ComWbemClassObject::ComWbemClassObject(ComPtr<IWbemClassObject> object) : object_(std::move(object)) {}

HRESULT ComWbemClassObject::Get(const std::wstring& name, LONG flags, Variant& value)
{
    UniqueVariant received;
    const HRESULT hr = object_->Get(name.c_str(), flags, received.put(), nullptr, nullptr);
    if (SUCCEEDED(hr)) {
        value = ToVariant(received.get());
    }
    return hr;
}

}  // namespace winapi::native
