#pragma once
// Readers of the field kinds that several sections of a machine profile share, beyond the plain
// ones of ProfileObject: GUIDs, bytes, signed numbers and numbers that may be given by name. Each
// records a problem with the field's path when the value is not of its kind.

#include "winapi/WinTypes.h"
#include "winapi/Utf8.h"
#include "winapi/simulated/profile/ProfileReader.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace winapi::sim {

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"; with names, also one of their names, which
// namesInOrder lists for the problem.
void ReadGuid(ProfileObject& object, const std::string& key, GUID& guid,
              const std::map<std::wstring, std::wstring>* names = nullptr, std::string_view namesInOrder = {});

// A byte: a number below 256, or a string such as "0x07".
void ReadByte(ProfileObject& object, const std::string& key, BYTE& value);

void ReadSigned64(ProfileObject& object, const std::string& key, LONGLONG& value);

// A name from names, or a whole number.
template <typename Value>
void ReadNamedNumber(ProfileObject& object, const std::string& key, const std::map<std::wstring, Value>& names,
                     Value& value)
{
    const nlohmann::json* field = object.Raw(key);
    if (field == nullptr) {
        return;
    }
    if (field->is_number_unsigned() && field->get<std::uint64_t>() <= UINT32_MAX) {
        value = static_cast<Value>(field->get<std::uint64_t>());
        return;
    }
    if (field->is_string()) {
        if (const auto named = names.find(FromUtf8(field->get_ref<const std::string&>())); named != names.end()) {
            value = named->second;
            return;
        }
    }
    std::string choices;
    for (const auto& [name, number] : names) {
        choices += (choices.empty() ? "" : ", ") + ToUtf8(name);
    }
    object.Reader().Fail(object.FieldPath(key), "expected a whole number or one of " + choices);
}

// The same for a field whose absence says something of its own, so it stays empty unless given.
template <typename Value>
void ReadNamedNumber(ProfileObject& object, const std::string& key, const std::map<std::wstring, Value>& names,
                     std::optional<Value>& value)
{
    if (object.Raw(key) != nullptr) {
        ReadNamedNumber(object, key, names, value.emplace());
    }
}

}  // namespace winapi::sim
