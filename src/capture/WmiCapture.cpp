#include "capture/WmiCapture.h"

#include "capture/CaptureScope.h"
#include "capture/CapturedFaults.h"
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
// The property of a Plug and Play record that identifies its device, by which the USB lists ask
// for one device's record.
constexpr std::wstring_view DeviceIdProperty = L"DeviceID";

// How a query went: not asked (a building block failed, noted under that call), a class WMI does
// not know, or asked.
enum class QueryStart { NotAsked, UnknownClass, Asked };

// The building blocks of a query one by one, so that a failure is noted under the call that
// failed: those before the query concern no class and go to the machine's faults, a failed
// ExecQuery to the query's own; a class WMI does not know at ExecQuery is no failure.
QueryStart OpenQuery(const std::wstring& query, WmiQueryObjects& objects, CaptureLog& log, CapturedFaults& faults)
{
    winapi::HRESULT hr = InitializeComSecurity();
    if (winapi::FAILED(hr)) {
        log.Fault(L"CoInitializeSecurity", static_cast<std::uint32_t>(hr));
        return QueryStart::NotAsked;
    }
    if (hr = CreateWbemLocator(objects.locator); winapi::FAILED(hr)) {
        log.Fault(L"CoCreateInstance(WbemLocator)", static_cast<std::uint32_t>(hr));
        return QueryStart::NotAsked;
    }
    if (hr = ConnectCimv2(*objects.locator, objects.services); winapi::FAILED(hr)) {
        log.Fault(L"ConnectServer", static_cast<std::uint32_t>(hr));
        return QueryStart::NotAsked;
    }
    if (hr = SetWbemProxyBlanket(*objects.services); winapi::FAILED(hr)) {
        log.Fault(L"CoSetProxyBlanket", static_cast<std::uint32_t>(hr));
        return QueryStart::NotAsked;
    }
    hr = ExecWqlQuery(*objects.services, query, objects.enumerator);
    if (hr == winapi::WBEM_E_INVALID_CLASS) {
        return QueryStart::UnknownClass;
    }
    if (winapi::FAILED(hr)) {
        faults.Add(L"ExecQuery", static_cast<std::uint32_t>(hr));
    }
    return QueryStart::Asked;
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
    case winapi::VT_BOOL:
        static_cast<void>(value.GetBool(flag));
        writer.Boolean(flag);
        return true;
    case winapi::VT_I4:
        static_cast<void>(value.GetInt32(number));
        writer.Signed(number);
        return true;
    case winapi::VT_I2:
        static_cast<void>(value.GetInt16(number));
        WriteTagged(writer, "sint16", number);
        return true;
    case winapi::VT_UI1:
        static_cast<void>(value.GetUInt8(number));
        WriteTagged(writer, "uint8", number);
        return true;
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

// One instance's properties as the profile writes them: a value, or the failure of its Get.
struct CapturedProperty {
    std::wstring_view name;
    winapi::Variant value;
    std::optional<std::uint32_t> error;
};

using CapturedInstance = std::vector<CapturedProperty>;

// The value as the profile holds it: the computer's name and the device serials in stand-ins.
winapi::Variant PrivateValue(ProfilePrivacy& privacy, std::wstring_view property, winapi::Variant value)
{
    std::wstring text;
    if (winapi::FAILED(value.GetString(text))) {
        return value;
    }
    if (property == DependentProperty) {
        return winapi::Variant::String(privacy.ObjectPath(text));
    }
    if (property == DeviceIdProperty) {
        return winapi::Variant::String(privacy.DeviceId(text));
    }
    return value;
}

CapturedInstance CaptureInstance(CaptureLog& log, ProfilePrivacy& privacy, winapi::WbemClassObject& instance,
                                 const WmiRead& read)
{
    CapturedInstance captured;
    for (const std::wstring_view property : read.properties) {
        winapi::Variant value;
        const winapi::HRESULT hr = instance.Get(std::wstring(property), 0, value);
        if (hr == winapi::WBEM_E_NOT_FOUND) {
            continue;
        }
        if (winapi::FAILED(hr)) {
            log.ObjectFault(L"WMI property " + std::wstring(read.className) + L"." + std::wstring(property), L"Get",
                            static_cast<std::uint32_t>(hr));
            captured.push_back({property, winapi::Variant(), static_cast<std::uint32_t>(hr)});
            continue;
        }
        // The key goes out only with a value the profile can hold.
        JsonWriter valueText;
        if (!WriteVariant(valueText, value)) {
            log.Count("WMI properties of a type a profile cannot hold (left out)");
            continue;
        }
        captured.push_back({property, PrivateValue(privacy, property, std::move(value)), std::nullopt});
    }
    return captured;
}

void WriteInstance(JsonWriter& writer, const CapturedInstance& instance)
{
    writer.BeginObject();
    for (const CapturedProperty& property : instance) {
        writer.WideKey(property.name);
        if (property.error) {
            writer.BeginInlineObject();
            writer.Key("fault");
            writer.String(CaptureLog::ErrorText(*property.error));
            writer.EndObject();
        } else {
            WriteVariant(writer, property.value);
        }
    }
    writer.EndObject();
}

// The query of one device by its DeviceID, and the calls that failed for it alone.
struct DeviceQuery {
    // As the association names it, and as the profile names the device.
    std::wstring identifier;
    std::wstring deviceId;
    CapturedFaults faults;
};

// A class as the profile holds it: its instances and, with calls that failed, an object of them
// and the failures: those of the class's query, and those of each device's own query.
void WriteClass(JsonWriter& writer, std::wstring_view className, const std::vector<CapturedInstance>& instances,
                const CapturedFaults* faults, const std::vector<DeviceQuery>& devices)
{
    const bool deviceFaults =
        std::any_of(devices.begin(), devices.end(), [](const DeviceQuery& device) { return !device.faults.Empty(); });
    const bool object = (faults != nullptr && !faults->Empty()) || deviceFaults;
    writer.WideKey(className);
    if (object) {
        writer.BeginObject();
        writer.Key("instances");
    }
    writer.BeginArray();
    for (const CapturedInstance& instance : instances) {
        WriteInstance(writer, instance);
    }
    writer.EndArray();
    if (faults != nullptr) {
        faults->WriteMember(writer);
    }
    if (deviceFaults) {
        writer.Key("deviceQueries");
        writer.BeginObject();
        for (const DeviceQuery& device : devices) {
            if (!device.faults.Empty()) {
                writer.WideKey(device.deviceId);
                writer.BeginInlineObject();
                device.faults.WriteMember(writer);
                writer.EndObject();
            }
        }
        writer.EndObject();
    }
    if (object) {
        writer.EndObject();
    }
}

// Each instance the query hands out, with the properties of read; the association paths of the
// USB devices go to dependents as well, when it is given.
void CaptureInstances(std::vector<CapturedInstance>& instances, CaptureLog& log, ProfilePrivacy& privacy,
                      CapturedFaults& faults, WmiQueryObjects& objects, const WmiRead& read,
                      std::vector<std::wstring>* dependents)
{
    while (objects.enumerator) {
        std::unique_ptr<winapi::WbemClassObject> instance;
        winapi::ULONG returned = 0;
        const winapi::HRESULT hr = objects.enumerator->Next(winapi::WBEM_INFINITE, instance, returned);
        // Asked with WBEM_FLAG_RETURN_IMMEDIATELY, WMI may report a class or provider it cannot
        // serve here rather than at ExecQuery: either way the failure is the query's own, kept
        // at the call that gave it, after the instances handed out before it.
        if (winapi::FAILED(hr)) {
            faults.Add(L"Next", static_cast<std::uint32_t>(hr));
            return;
        }
        if (returned == 0 || instance == nullptr) {
            return;
        }
        instances.push_back(CaptureInstance(log, privacy, *instance, read));
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
void CaptureUsbDevices(JsonWriter& writer, CaptureLog& log, ProfilePrivacy& privacy,
                       const std::vector<std::wstring>& dependents)
{
    const WmiRead& read = UsbDeviceRead();
    // One query per device: a failure belongs to that device's query alone, so that a replay
    // fails it there and answers the others.
    std::vector<CapturedInstance> instances;
    std::vector<DeviceQuery> devices;
    for (const std::wstring& dependent : dependents) {
        const std::optional<std::wstring> identifier = QuotedIdentifier(dependent);
        if (!identifier || std::any_of(devices.begin(), devices.end(),
                                       [&](const DeviceQuery& device) { return device.identifier == *identifier; })) {
            continue;
        }
        // The profile names the device as its records do: by its stand-in, where serials are replaced.
        const std::wstring deviceId = privacy.DeviceId(UsbDeviceId(*identifier));
        DeviceQuery& device = devices.emplace_back(
            DeviceQuery{*identifier, deviceId,
                        CapturedFaults(log, L"WMI query of " + std::wstring(read.className) + L" " +
                                                std::wstring(DeviceIdProperty) + L"=" + deviceId)});
        WmiQueryObjects objects;
        if (OpenQuery(UsbDeviceQuery(*identifier), objects, log, device.faults) == QueryStart::Asked) {
            CaptureInstances(instances, log, privacy, device.faults, objects, read, nullptr);
        }
    }
    WriteClass(writer, read.className, instances, nullptr, devices);
}

}  // namespace

void CaptureWmi(JsonWriter& writer, CaptureLog& log, ProfilePrivacy& privacy)
{
    writer.Key("wmi");
    writer.BeginObject();
    std::vector<std::wstring> dependents;
    for (const WmiRead& read : WmiReads()) {
        WmiQueryObjects objects;
        CapturedFaults faults(log, L"WMI query of " + std::wstring(read.className));
        if (OpenQuery(SelectAllFrom + std::wstring(read.className), objects, log, faults) != QueryStart::Asked) {
            continue;
        }
        log.Count("WMI classes");
        const bool associations =
            std::find(read.properties.begin(), read.properties.end(), DependentProperty) != read.properties.end();
        std::vector<CapturedInstance> instances;
        CaptureInstances(instances, log, privacy, faults, objects, read, associations ? &dependents : nullptr);
        WriteClass(writer, read.className, instances, &faults, {});
    }
    CaptureUsbDevices(writer, log, privacy, dependents);
    writer.EndObject();
}
