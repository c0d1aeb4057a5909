#include "capture/WmiCapture.h"

#include "capture/CaptureScope.h"
#include "platform/WmiQuery.h"
#include "checks/device/UsbDeviceList.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

const std::wstring SelectAllFrom = L"SELECT * from ";
// The property of a USB association that names its device.
constexpr std::wstring_view DependentProperty = L"Dependent";

// The building blocks of a query one by one, so that a failure is noted under the call that
// failed; a class WMI does not know is no failure.
bool OpenQuery(const std::wstring& query, WmiQueryObjects& objects, CaptureLog& log)
{
    winapi::HRESULT hr = InitializeComSecurity();
    if (winapi::FAILED(hr)) {
        log.Fault(L"CoInitializeSecurity", static_cast<std::uint32_t>(hr));
        return false;
    }
    if (hr = CreateWbemLocator(objects.locator); winapi::FAILED(hr)) {
        log.Fault(L"CoCreateInstance(WbemLocator)", static_cast<std::uint32_t>(hr));
        return false;
    }
    if (hr = ConnectCimv2(*objects.locator, objects.services); winapi::FAILED(hr)) {
        log.Fault(L"ConnectServer", static_cast<std::uint32_t>(hr));
        return false;
    }
    if (hr = SetWbemProxyBlanket(*objects.services); winapi::FAILED(hr)) {
        log.Fault(L"CoSetProxyBlanket", static_cast<std::uint32_t>(hr));
        return false;
    }
    hr = ExecWqlQuery(*objects.services, query, objects.enumerator);
    if (winapi::FAILED(hr) && hr != winapi::WBEM_E_INVALID_CLASS) {
        log.Fault(L"ExecQuery", static_cast<std::uint32_t>(hr));
    }
    return winapi::SUCCEEDED(hr);
}

void WriteTagged(JsonWriter& writer, const char* tag, std::int64_t number)
{
    writer.BeginObject();
    writer.Key(tag);
    writer.Signed(number);
    writer.EndObject();
}

// The value in the profile's notation for the type WMI delivered; false for a type a profile
// cannot hold.
bool WriteVariant(JsonWriter& writer, const winapi::Variant& value)
{
    std::wstring text;
    std::int32_t number = 0;
    bool flag = false;
    std::vector<std::int32_t> elements;
    switch (value.Type()) {
    case winapi::VT_NULL: writer.Null(); return true;
    case winapi::VT_BSTR:
        if (winapi::SUCCEEDED(value.GetString(text))) {
            writer.String(text);
        } else {
            writer.BeginObject();
            writer.Key("bstr");
            writer.Null();
            writer.EndObject();
        }
        return true;
    case winapi::VT_BOOL: static_cast<void>(value.GetBool(flag)); writer.Boolean(flag); return true;
    case winapi::VT_I4: static_cast<void>(value.GetInt32(number)); writer.Signed(number); return true;
    case winapi::VT_I2: static_cast<void>(value.GetInt16(number)); WriteTagged(writer, "sint16", number); return true;
    case winapi::VT_UI1: static_cast<void>(value.GetUInt8(number)); WriteTagged(writer, "uint8", number); return true;
    case winapi::VT_ARRAY | winapi::VT_I4:
    case winapi::VT_ARRAY | winapi::VT_UI1: {
        static_cast<void>(value.GetIntegerArray(elements));
        const bool bytes = value.Type() == (winapi::VT_ARRAY | winapi::VT_UI1);
        if (bytes) {
            writer.BeginObject();
            writer.Key("uint8[]");
        }
        writer.BeginArray();
        for (const std::int32_t element : elements) {
            writer.Signed(element);
        }
        writer.EndArray();
        if (bytes) {
            writer.EndObject();
        }
        return true;
    }
    default: return false;
    }
}

void CaptureInstance(JsonWriter& writer, CaptureLog& log, winapi::WbemClassObject& instance, const WmiRead& read)
{
    writer.BeginObject();
    for (const std::wstring_view property : read.properties) {
        winapi::Variant value;
        const winapi::HRESULT hr = instance.Get(std::wstring(property), 0, value);
        if (hr == winapi::WBEM_E_NOT_FOUND) {
            continue;
        }
        if (winapi::FAILED(hr)) {
            log.Fault(L"Get", static_cast<std::uint32_t>(hr));
            continue;
        }
        // The key goes out only with a value the profile can hold.
        JsonWriter valueText;
        if (!WriteVariant(valueText, value)) {
            log.Count("WMI properties of a type a profile cannot hold (left out)");
            continue;
        }
        writer.WideKey(property);
        WriteVariant(writer, value);
    }
    writer.EndObject();
}

// Each instance the query hands out, with the properties of read; the association paths of the
// USB devices go to dependents as well, when it is given.
void CaptureInstances(JsonWriter& writer, CaptureLog& log, WmiQueryObjects& objects, const WmiRead& read,
                      std::vector<std::wstring>* dependents)
{
    for (;;) {
        std::unique_ptr<winapi::WbemClassObject> instance;
        winapi::ULONG returned = 0;
        const winapi::HRESULT hr = objects.enumerator->Next(winapi::WBEM_INFINITE, instance, returned);
        if (winapi::FAILED(hr)) {
            log.Fault(L"Next", static_cast<std::uint32_t>(hr));
            return;
        }
        if (returned == 0 || instance == nullptr) {
            return;
        }
        CaptureInstance(writer, log, *instance, read);
        log.Count("WMI instances");
        winapi::Variant dependent;
        std::wstring path;
        if (dependents != nullptr && winapi::SUCCEEDED(instance->Get(std::wstring(DependentProperty), 0, dependent)) &&
            winapi::SUCCEEDED(dependent.GetString(path))) {
            dependents->push_back(path);
        }
    }
}

// The Plug and Play records of the devices the USB associations name, each found by the query
// the USB lists make.
void CaptureUsbDevices(JsonWriter& writer, CaptureLog& log, const std::vector<std::wstring>& dependents)
{
    writer.WideKey(UsbDeviceRead().className);
    writer.BeginArray();
    std::vector<std::wstring> seen;
    for (const std::wstring& dependent : dependents) {
        const std::optional<std::wstring> identifier = QuotedIdentifier(dependent);
        if (!identifier || std::find(seen.begin(), seen.end(), *identifier) != seen.end()) {
            continue;
        }
        seen.push_back(*identifier);
        WmiQueryObjects objects;
        if (OpenQuery(UsbDeviceQuery(*identifier), objects, log)) {
            CaptureInstances(writer, log, objects, UsbDeviceRead(), nullptr);
        }
    }
    writer.EndArray();
}

}  // namespace

void CaptureWmi(JsonWriter& writer, CaptureLog& log)
{
    writer.Key("wmi");
    writer.BeginObject();
    std::vector<std::wstring> dependents;
    for (const WmiRead& read : WmiReads()) {
        WmiQueryObjects objects;
        if (!OpenQuery(SelectAllFrom + std::wstring(read.className), objects, log)) {
            continue;
        }
        log.Count("WMI classes");
        writer.WideKey(read.className);
        writer.BeginArray();
        const bool associations = std::find(read.properties.begin(), read.properties.end(), DependentProperty) !=
                                  read.properties.end();
        CaptureInstances(writer, log, objects, read, associations ? &dependents : nullptr);
        writer.EndArray();
    }
    CaptureUsbDevices(writer, log, dependents);
    writer.EndObject();
}
