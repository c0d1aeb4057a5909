#include "winapi/Wmi.h"

#include <utility>

#include "winapi/native/ComEnumWbemClassObject.h"
#include "winapi/native/ComWbemClassObject.h"
#include "winapi/native/WindowsHeaders.h"

namespace winapi::native {

ComEnumWbemClassObject::ComEnumWbemClassObject(ComPtr<IEnumWbemClassObject> enumerator)
    : enumerator_(std::move(enumerator))
{
}

HRESULT ComEnumWbemClassObject::Next(LONG timeout, std::unique_ptr<WbemClassObject>& object, ULONG& returned)
{
    ComPtr<IWbemClassObject> received;
    ULONG count = 0;
    const HRESULT hr = enumerator_->Next(timeout, 1, received.GetAddressOf(), &count);
    if (SUCCEEDED(hr)) {
        returned = count;
        if (count != 0 && received) {
            object = std::make_unique<ComWbemClassObject>(std::move(received));
        }
    }
    return hr;
}

}  // namespace winapi::native
