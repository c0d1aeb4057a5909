#include "platform/ComApartment.h"

#include "platform/Console.h"
#include "winapi/Com.h"

winapi::HRESULT OpenWqlQueryInOwnApartment(std::string_view failureLine, const std::wstring& query,
                                           WmiQueryObjects& objects)
{
    const winapi::HRESULT hr = winapi::CoInitializeEx(winapi::COINIT_APARTMENTTHREADED);
    if (winapi::FAILED(hr)) {
        ConsolePrintf(failureLine);
        return hr;
    }
    return OpenWqlQuery(query, objects);
}
