#pragma once
// A WbemClassObject over an IWbemClassObject. Include after the winapi/*.h headers.

#include "winapi/Wmi.h"

#include "winapi/native/WindowsHeaders.h"

namespace winapi::native {

// The program's copy of a VARIANT that WMI handed out: the types the checks read, integer arrays
// element by element, anything else kept as an unreadable type. (The native probe of
// tools/wine/VariantProbe.cpp feeds it VARIANTs and SAFEARRAYs of its own.)
[[nodiscard]] Variant ToVariant(const VARIANT& value);

class ComWbemClassObject final : public WbemClassObject {
public:
    explicit ComWbemClassObject(ComPtr<IWbemClassObject> object);

    [[nodiscard]] HRESULT Get(const std::wstring& name, LONG flags, Variant& value) override;

private:
    ComPtr<IWbemClassObject> object_;
};

}  // namespace winapi::native
