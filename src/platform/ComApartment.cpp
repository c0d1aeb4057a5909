#include "platform/ComApartment.h"

#include "platform/Console.h"
#include "winapi/Com.h"

winapi::HRESULT EnterComApartment(std::string_view failureLine)
{
    const winapi::HRESULT hr = winapi::CoInitializeEx(winapi::COINIT_APARTMENTTHREADED);
    if (winapi::FAILED(hr)) {
        ConsolePrintf(failureLine);
    }
    return hr;
}
