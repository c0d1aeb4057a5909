#include "winapi/simulated/wmi/WmiProfile.h"

#include "winapi/Utf8.h"

#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace winapi::sim {

namespace {

// Properties that the WMI schema gives these classes whatever their instances name: an empty
// class can still be queried by them, and an instance that leaves one out holds NULL for it.
const std::map<std::wstring, std::vector<std::wstring>, CaseInsensitiveLess> SchemaProperties{
    {L"Win32_Battery", {L"DeviceID", L"Name"}},
    {L"Win32_PnPEntity", {L"Description", L"DeviceID", L"Name", L"PNPDeviceID"}},
    {L"Win32_PointingDevice", {L"DeviceID", L"DeviceInterface", L"Name"}},
    {L"Win32_USBControllerDevice", {L"Antecedent", L"Dependent"}},
};

const nlohmann::json EmptyInstances = nlohmann::json::array();

constexpr const char* ValueForms =
    "expected a string, null, true or false, a whole number from -2147483648 to 4294967295, an array of such "
    "numbers, or an object with one of \"uint64\", \"sint64\", \"uint8\", \"sint16\", \"uint8[]\", \"bstr\", \"fault\"";

bool InRange(const nlohmann::json& json, std::int64_t lowest, std::int64_t highest)
{
    if (json.is_number_unsigned()) {
        return json.get<std::uint64_t>() <= static_cast<std::uint64_t>(highest);
    }
    return json.is_number_integer() && json.get<std::int64_t>() >= lowest && json.get<std::int64_t>() <= highest;
}

// WMI hands out 32-bit unsigned values in the signed VT_I4: the bits are kept.
std::int32_t AsInt32Bits(const nlohmann::json& json)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(json.get<std::int64_t>()));
}

bool ReadIntegerArray(const nlohmann::json& json, std::int64_t lowest, std::int64_t highest,
                      std::vector<std::int32_t>& elements)
{
    if (!json.is_array()) {
        return false;
    }
    for (const nlohmann::json& element : json) {
        if (!InRange(element, lowest, highest)) {
            return false;
        }
        elements.push_back(AsInt32Bits(element));
    }
    return true;
}

// A typed value written as {"type": value}, for the CIM types whose VARIANT form differs from
// the plain JSON one.
bool ReadTypedValue(const nlohmann::json& json, Variant& value)
{
    if (json.size() != 1) {
        return false;
    }
    const std::string& type = json.begin().key();
    const nlohmann::json& number = json.begin().value();
    if (type == "bstr" && number.is_null()) {
        value = Variant::NullString();
        return true;
    }
    if (type == "uint64" && number.is_number_unsigned()) {
        // 64-bit integers travel as decimal text, as WMI delivers them.
        value = Variant::String(std::to_wstring(number.get<std::uint64_t>()));
        return true;
    }
    if (type == "sint64" && number.is_number_integer()) {
        value = Variant::String(std::to_wstring(number.get<std::int64_t>()));
        return true;
    }
    if (type == "uint8" && InRange(number, 0, std::numeric_limits<std::uint8_t>::max())) {
        value = Variant::UInt8(static_cast<std::uint8_t>(number.get<std::uint64_t>()));
        return true;
    }
    if (type == "sint16" &&
        InRange(number, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max())) {
        value = Variant::Int16(static_cast<std::int16_t>(number.get<std::int64_t>()));
        return true;
    }
    std::vector<std::int32_t> elements;
    if (type == "uint8[]" && ReadIntegerArray(number, 0, std::numeric_limits<std::uint8_t>::max(), elements)) {
        value = Variant::IntegerArray(VT_UI1, std::move(elements));
        return true;
    }
    return false;
}

bool ReadValue(const nlohmann::json& json, Variant& value)
{
    constexpr std::int64_t Lowest = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t Highest = std::numeric_limits<std::uint32_t>::max();
    if (json.is_string()) {
        value = Variant::String(FromUtf8(json.get_ref<const std::string&>()));
        return true;
    }
    if (json.is_null()) {
        value = Variant::Null();
        return true;
    }
    if (json.is_boolean()) {
        value = Variant::Bool(json.get<bool>());
        return true;
    }
    if (InRange(json, Lowest, Highest)) {
        value = Variant::Int32(AsInt32Bits(json));
        return true;
    }
    std::vector<std::int32_t> elements;
    if (ReadIntegerArray(json, Lowest, Highest, elements)) {
        value = Variant::IntegerArray(VT_I4, std::move(elements));
        return true;
    }
    return json.is_object() && ReadTypedValue(json, value);
}

void ReadInstance(const nlohmann::json& json, const std::string& path, WmiClass& wmiClass, ProfileReader& reader)
{
    if (!json.is_object()) {
        reader.Fail(path, "expected an object of property values");
        return;
    }
    WmiInstance& instance = wmiClass.instances.emplace_back();
    for (const auto& [name, valueJson] : json.items()) {
        const std::wstring property = FromUtf8(name);
        // {"fault": error}: Get of the property fails.
        if (valueJson.is_object() && valueJson.size() == 1 && valueJson.contains("fault")) {
            std::uint32_t error = 0;
            if (!ReadErrorCode(valueJson["fault"], path + "." + name + ".fault", reader, error)) {
                return;
            }
            wmiClass.properties.insert(property);
            instance.propertyFaults[property] = error;
            continue;
        }
        Variant value;
        if (!ReadValue(valueJson, value)) {
            reader.Fail(path + "." + name, ValueForms);
            return;
        }
        wmiClass.properties.insert(property);
        instance.properties[property] = std::move(value);
    }
}

}  // namespace

void ReadWmiClasses(ProfileObject& profile, Machine& machine)
{
    ProfileReader& reader = profile.Reader();
    profile.Members(
        "wmi", [&](const std::wstring& className, const nlohmann::json& classJson, const std::string& path) {
            // A class whose queries fail is an object: its instances, and the calls that fail.
            const nlohmann::json* instances = &classJson;
            WmiClass& wmiClass = machine.wmiClasses[className];
            if (classJson.is_object()) {
                ProfileObject classObject(classJson, path, reader);
                classObject.Faults({L"ExecQuery", L"Next"}, wmiClass.faults);
                classObject.Members("deviceQueries", [&](const std::wstring& deviceId, const nlohmann::json& queryJson,
                                                         const std::string& queryPath) {
                    ProfileObject query(queryJson, queryPath, reader);
                    query.Faults({L"ExecQuery", L"Next"}, wmiClass.deviceQueryFaults[deviceId]);
                    query.Finish();
                });
                instances = classObject.Raw("instances");
                classObject.Finish();
                if (instances == nullptr) {
                    instances = &EmptyInstances;
                }
            }
            if (!instances->is_array()) {
                reader.Fail(classJson.is_object() ? path + ".instances" : path, "expected an array of instances");
                return;
            }
            wmiClass.name = className;
            if (const auto schema = SchemaProperties.find(className); schema != SchemaProperties.end()) {
                wmiClass.properties.insert(schema->second.begin(), schema->second.end());
            }
            const std::string instancesPath = classJson.is_object() ? path + ".instances" : path;
            for (std::size_t i = 0; i < instances->size() && !reader.Failed(); ++i) {
                ReadInstance((*instances)[i], instancesPath + "[" + std::to_string(i) + "]", wmiClass, reader);
            }
        });
}

}  // namespace winapi::sim
