#include "checks/device/UsbDeviceList.h"

#include "platform/ComApartment.h"
#include "platform/Console.h"
#include "platform/WmiQuery.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string_view>

namespace {

const std::wstring AssociationQuery = L"SELECT * from Win32_USBControllerDevice";
const std::wstring DependentProperty = L"Dependent";
const std::wstring DeviceQueryStart = L"SELECT * from Win32_PnPEntity where DeviceId = '";
const std::wstring DeviceQueryEnd = L"'";
const std::wstring DescriptionProperty = L"Description";

constexpr std::string_view ComFailureLine = "BLACKLIST USB COINITIALIZE FAILED\n";
constexpr std::string_view DescriptionLine = "Description: %wS\n";
constexpr std::wstring_view DescriptionInfo = L"Description: %wS\n";

std::optional<std::wstring> StringProperty(winapi::WbemClassObject& object, const std::wstring& name)
{
    winapi::Variant value;
    if (winapi::FAILED(object.Get(name, 0, value))) {
        return std::nullopt;
    }
    return WmiString(value);
}

bool ContainsFragment(const std::wstring& description, const std::vector<std::wstring>& fragments)
{
    return std::ranges::any_of(
        fragments, [&](const std::wstring& fragment) { return description.find(fragment) != std::wstring::npos; });
}

}  // namespace

std::optional<std::wstring> QuotedIdentifier(const std::wstring& path)
{
    const std::size_t first = path.find(L'"');
    const std::size_t last = path.rfind(L'"');
    if (first == std::wstring::npos || first >= last) {
        return std::nullopt;
    }
    return path.substr(first + 1, last - first - 1);
}

std::wstring UsbDeviceQuery(const std::wstring& identifier)
{
    return DeviceQueryStart + identifier + DeviceQueryEnd;
}

std::wstring UsbDeviceId(const std::wstring& identifier)
{
    std::wstring deviceId;
    for (std::size_t at = 0; at < identifier.size(); ++at) {
        if (identifier[at] == L'\\' && at + 1 < identifier.size()) {
            ++at;
        }
        deviceId += identifier[at];
    }
    return deviceId;
}

winapi::HRESULT HasListedUsbDevice(Test& test, const std::vector<std::wstring>& fragments, bool& found,
                                   UsbSearchApartment apartment)
{
    found = false;
    WmiQueryObjects query;
    winapi::HRESULT hr = apartment == UsbSearchApartment::EnteredByCheck
                             ? OpenWqlQueryInOwnApartment(ComFailureLine, AssociationQuery, query)
                             : OpenWqlQuery(AssociationQuery, query);
    if (winapi::FAILED(hr)) {
        return winapi::E_FAIL;
    }
    if (!query.enumerator) {
        return hr;
    }
    // Declared after the query objects, so it is released first.
    std::unique_ptr<winapi::WbemClassObject> association;
    while (NextWmiObject(*query.enumerator, association, hr)) {
        const std::optional<std::wstring> dependent = StringProperty(*association, DependentProperty);
        const std::optional<std::wstring> identifier = dependent ? QuotedIdentifier(*dependent) : std::nullopt;
        if (!identifier) {
            continue;
        }
        std::unique_ptr<winapi::EnumWbemClassObject> devices;
        if (winapi::FAILED(ExecWqlQuery(*query.services, UsbDeviceQuery(*identifier), devices))) {
            return winapi::E_FAIL;
        }
        if (!devices) {
            continue;
        }
        // Only the first Plug and Play record of the identifier is read.
        std::unique_ptr<winapi::WbemClassObject> device;
        winapi::HRESULT deviceResult = winapi::S_OK;
        if (!NextWmiObject(*devices, device, deviceResult)) {
            continue;
        }
        const std::optional<std::wstring> description = StringProperty(*device, DescriptionProperty);
        if (!description) {
            continue;
        }
        ConsolePrintf(DescriptionLine, *description);
        test.AddMoreInfo(DescriptionInfo, *description);
        // Every device is visited, also once one matched: each is printed and recorded.
        if (ContainsFragment(*description, fragments)) {
            found = true;
        }
    }
    return hr;
}
