#include "winapi/simulated/profile/MachineProfile.h"

#include "winapi/simulated/profile/ProfileReader.h"
#include "winapi/simulated/storage/StorageProfile.h"
#include "winapi/simulated/system/SystemProfile.h"
#include "winapi/simulated/wmi/WmiProfile.h"
#include "winapi/simulated/files/MachineFilesProfile.h"
#include "winapi/Utf8.h"

#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace winapi::sim {

namespace {

void AppendUnit(std::vector<BYTE>& data, char32_t unit)
{
    data.push_back(static_cast<BYTE>(unit & 0xFF));
    data.push_back(static_cast<BYTE>(unit >> 8));
}

// Text as Windows stores it in the registry: 16-bit characters (UTF-16, little-endian), the
// terminator included, whatever the width of the simulated build's wide characters.
void AppendText(std::vector<BYTE>& data, const std::wstring& text)
{
    for (const wchar_t c : text) {
        const auto code = static_cast<char32_t>(c);
        if (code >= 0x10000) {
            AppendUnit(data, 0xD800 + ((code - 0x10000) >> 10));
            AppendUnit(data, 0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            AppendUnit(data, code);
        }
    }
    AppendUnit(data, 0);
}

template <typename Integer>
void AppendInteger(std::vector<BYTE>& data, Integer value)
{
    BYTE bytes[sizeof(Integer)];
    std::memcpy(bytes, &value, sizeof(Integer));
    data.insert(data.end(), bytes, bytes + sizeof(Integer));
}

// The data of one registry value, in the form its type asks for.
void ReadRegistryData(const nlohmann::json& json, const std::string& path, RegistryValue& value, ProfileReader& reader)
{
    switch (value.type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
        if (!json.is_string()) {
            reader.Fail(path, "expected a string");
            return;
        }
        AppendText(value.data, FromUtf8(json.get_ref<const std::string&>()));
        return;
    case REG_MULTI_SZ:
        if (!json.is_array()) {
            reader.Fail(path, "expected an array of strings");
            return;
        }
        for (std::size_t i = 0; i < json.size(); ++i) {
            if (!json[i].is_string()) {
                reader.Fail(path + "[" + std::to_string(i) + "]", "expected a string");
                return;
            }
            AppendText(value.data, FromUtf8(json[i].get_ref<const std::string&>()));
        }
        AppendUnit(value.data, 0);
        return;
    case REG_DWORD:
        if (!json.is_number_unsigned() || json.get<std::uint64_t>() > UINT32_MAX) {
            reader.Fail(path, "expected a whole number below 4294967296");
            return;
        }
        AppendInteger(value.data, static_cast<std::uint32_t>(json.get<std::uint64_t>()));
        return;
    case REG_QWORD:
        if (!json.is_number_unsigned()) {
            reader.Fail(path, "expected a whole number of 0 or more");
            return;
        }
        AppendInteger(value.data, json.get<std::uint64_t>());
        return;
    default:
        if (!json.is_string() || !ReadHexBytes(json.get_ref<const std::string&>(), value.data)) {
            reader.Fail(path, "expected the bytes as a string of hexadecimal digit pairs");
        }
        return;
    }
}

void ReadRegistryValue(ProfileObject& object, RegistryValue& value)
{
    object.Faults({L"RegQueryValueExW"}, value.faults);
    // A value that cannot be read needs no type or data.
    if (!value.faults.empty() && object.Raw("type") == nullptr && object.Raw("data") == nullptr) {
        return;
    }
    static const std::map<std::wstring, DWORD> types{
        {L"REG_SZ", REG_SZ},       {L"REG_EXPAND_SZ", REG_EXPAND_SZ}, {L"REG_MULTI_SZ", REG_MULTI_SZ},
        {L"REG_DWORD", REG_DWORD}, {L"REG_QWORD", REG_QWORD},         {L"REG_BINARY", REG_BINARY},
    };
    std::wstring typeName;
    object.Text("type", typeName);
    const auto type = types.find(typeName);
    if (type == types.end()) {
        object.Reader().Fail(object.FieldPath("type"),
                             "expected one of REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD, REG_QWORD, REG_BINARY");
        return;
    }
    value.type = type->second;
    const nlohmann::json* data = object.Raw("data");
    if (data == nullptr) {
        object.Reader().Fail(object.FieldPath("data"), "missing");
        return;
    }
    ReadRegistryData(*data, object.FieldPath("data"), value, object.Reader());
}

void ReadRegistry(ProfileObject& profile, Machine& machine)
{
    profile.Members("registry",
                    [&](const std::wstring& keyPath, const nlohmann::json& keyJson, const std::string& path) {
                        ProfileObject key(keyJson, path, profile.Reader());
                        RegistryKey& registryKey = machine.registry[keyPath];
                        if (!keyJson.is_object()) {
                            return;
                        }
                        key.Faults({L"RegOpenKeyExW"}, registryKey.faults);
                        key.Members("values", [&](const std::wstring& valueName, const nlohmann::json& valueJson,
                                                  const std::string& valuePath) {
                            ProfileObject valueObject(valueJson, valuePath, profile.Reader());
                            ReadRegistryValue(valueObject, registryKey.values[valueName]);
                            valueObject.Finish();
                        });
                        key.Finish();
                        // A key's ancestors exist as well.
                        for (std::size_t cut = keyPath.rfind(L'\\'); cut != std::wstring::npos && cut > 0;
                             cut = keyPath.rfind(L'\\', cut - 1)) {
                            machine.registry.try_emplace(keyPath.substr(0, cut));
                        }
                    });
}

void ReadVersion(ProfileObject& profile, Machine& machine)
{
    profile.Object("version", [&](ProfileObject& version) {
        OSVERSIONINFOEXW& record = machine.version.emplace();
        std::uint32_t major = record.dwMajorVersion;
        std::uint32_t minor = record.dwMinorVersion;
        std::uint32_t build = record.dwBuildNumber;
        std::uint32_t platform = record.dwPlatformId;
        std::uint32_t servicePackMajor = record.wServicePackMajor;
        std::uint32_t servicePackMinor = record.wServicePackMinor;
        std::uint32_t suiteMask = record.wSuiteMask;
        std::uint32_t productType = record.wProductType;
        std::wstring servicePack(record.szCSDVersion);
        version.Unsigned("major", major);
        version.Unsigned("minor", minor);
        version.Unsigned("build", build);
        version.Unsigned("platformId", platform);
        version.Text("servicePack", servicePack);
        version.Unsigned("servicePackMajor", servicePackMajor);
        version.Unsigned("servicePackMinor", servicePackMinor);
        version.Unsigned("suiteMask", suiteMask);
        version.Unsigned("productType", productType);
        if (servicePack.size() >= std::size(record.szCSDVersion)) {
            version.Reader().Fail(version.FieldPath("servicePack"), "longer than 127 characters");
            return;
        }
        if (servicePackMajor > 0xFFFF || servicePackMinor > 0xFFFF || suiteMask > 0xFFFF || productType > 0xFF) {
            version.Reader().Fail(version.Path(),
                                  "servicePackMajor, servicePackMinor and suiteMask must fit in 16 bits "
                                  "and productType in 8");
            return;
        }
        record.dwMajorVersion = major;
        record.dwMinorVersion = minor;
        record.dwBuildNumber = build;
        record.dwPlatformId = platform;
        std::wmemset(record.szCSDVersion, L'\0', std::size(record.szCSDVersion));
        std::wmemcpy(record.szCSDVersion, servicePack.c_str(), servicePack.size());
        record.wServicePackMajor = static_cast<WORD>(servicePackMajor);
        record.wServicePackMinor = static_cast<WORD>(servicePackMinor);
        record.wSuiteMask = static_cast<WORD>(suiteMask);
        record.wProductType = static_cast<BYTE>(productType);
    });
}

void ReadFaults(ProfileObject& profile, Machine& machine)
{
    profile.Objects("faults", [&](ProfileObject& faultObject) {
        Fault fault;
        faultObject.Text("call", fault.call);
        faultObject.ErrorCode("error", fault.error);
        faultObject.Unsigned("after", fault.after);
        if (faultObject.Reader().Failed()) {
            return;
        }
        const auto known = FaultableCalls().find(fault.call);
        if (known == FaultableCalls().end()) {
            faultObject.Reader().Fail(faultObject.FieldPath("call"),
                                      "no simulated call is named \"" + ToUtf8(fault.call) + "\"");
            return;
        }
        fault.call = *known;
        machine.faults.push_back(std::move(fault));
    });
}

// Finds the first key that an object repeats while the text is parsed: the parsed document keeps
// only the last of them, so the reader would never see the others. Tracks, per open object, its
// keys so far and, per open array, the place of the element being read, for the key's path.
class RepeatedKeyFinder {
public:
    bool operator()(int /*depth*/, nlohmann::json::parse_event_t event, nlohmann::json& parsed)
    {
        using Event = nlohmann::json::parse_event_t;
        switch (event) {
        case Event::object_start: levels_.push_back({true, {}, {}, 0}); break;
        case Event::array_start: levels_.push_back({false, {}, {}, 0}); break;
        case Event::key: Key(parsed.get_ref<const std::string&>()); break;
        case Event::object_end:
        case Event::array_end:
            levels_.pop_back();
            ElementRead();
            break;
        case Event::value: ElementRead(); break;
        }
        return true;
    }

    // The path of the first repeated key, as the reader names fields; empty when none.
    [[nodiscard]] const std::string& Repeated() const { return repeated_; }

private:
    struct Level {
        bool object;
        std::set<std::string> keys;
        std::string key;
        std::size_t index;
    };

    void Key(const std::string& key)
    {
        Level& level = levels_.back();
        level.key = key;
        if (!level.keys.insert(key).second && repeated_.empty()) {
            for (const Level& open : levels_) {
                if (!open.object) {
                    repeated_.append("[").append(std::to_string(open.index)).append("]");
                    continue;
                }
                if (!repeated_.empty()) {
                    repeated_.push_back('.');
                }
                repeated_.append(open.key);
            }
        }
    }

    void ElementRead()
    {
        if (!levels_.empty() && !levels_.back().object) {
            ++levels_.back().index;
        }
    }

    std::vector<Level> levels_;
    std::string repeated_;
};

}  // namespace

std::string LoadMachineProfile(std::string_view text, Machine& machine)
{
    nlohmann::json json;
    RepeatedKeyFinder repeated;
    try {
        json = nlohmann::json::parse(text, std::ref(repeated));
    } catch (const nlohmann::json::exception& error) {
        // Also a number too large for any type ("1e999"), which is no parse_error.
        return std::string("not valid JSON: ") + error.what();
    }
    ProfileReader reader;
    if (!repeated.Repeated().empty()) {
        reader.Fail(repeated.Repeated(), "repeated in its object; each field is named once");
        return reader.Error();
    }
    Machine loaded;
    ProfileObject profile(json, "", reader);
    profile.Text("description", loaded.description);
    profile.OptionalText("systemDirectory", loaded.systemDirectory);
    profile.OptionalText("computerName", loaded.computerName);
    ReadVersion(profile, loaded);
    profile.TextList("libraries", [&](std::wstring name) { loaded.libraries.insert(std::move(name)); });
    ReadRegistry(profile, loaded);
    profile.Boolean("administrator", loaded.administrator);
    profile.OptionalText("programFilesFolder", loaded.programFilesFolder);
    profile.Boolean("vmware", loaded.vmware);
    ReadStorage(profile, loaded);
    ReadWmiClasses(profile, loaded);
    ReadSystem(profile, loaded);
    ReadMachineFiles(profile, loaded);
    ReadFaults(profile, loaded);
    profile.Finish();
    if (reader.Failed()) {
        return reader.Error();
    }
    machine = std::move(loaded);
    return {};
}

}  // namespace winapi::sim
