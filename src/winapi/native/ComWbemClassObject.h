#pragma once
// A WbemClassObject over an IWbemClassObject. Include after the winapi/*.h headers.

#include "winapi/Wmi.h"

#include "winapi/native/WindowsHeaders.h"

namespace winapi::native {

class ComWbemClassObject final : public WbemClassObject {
public:
    explicit ComWbemClassObject(ComPtr<IWbemClassObject> object);

    [[nodiscard]] HRESULT Get(const std::wstring& name, LONG flags, Variant& value) override;

private:
    ComPtr<IWbemClassObject> object_;
};

}  // namespace winapi::native
