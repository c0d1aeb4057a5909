#pragma once
// An EnumWbemClassObject over an IEnumWbemClassObject. Include after the winapi/*.h headers.

#include "winapi/Wmi.h"

#include "winapi/native/WindowsHeaders.h"

namespace winapi::native {

class ComEnumWbemClassObject final : public EnumWbemClassObject {
public:
    explicit ComEnumWbemClassObject(ComPtr<IEnumWbemClassObject> enumerator);

    [[nodiscard]] HRESULT Next(LONG timeout, std::unique_ptr<WbemClassObject>& object, ULONG& returned) override;

private:
    ComPtr<IEnumWbemClassObject> enumerator_;
};

}  // namespace winapi::native
