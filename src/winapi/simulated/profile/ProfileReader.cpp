#include "winapi/simulated/profile/ProfileReader.h"

#include "winapi/Utf8.h"

#include <algorithm>
#include <charconv>

namespace winapi::sim {

void ProfileReader::Fail(const std::string& path, const std::string& message)
{
    if (error_.empty()) {
        error_ = "field \"" + path + "\": " + message;
    }
}

ProfileObject::ProfileObject(const nlohmann::json& json, std::string path, ProfileReader& reader)
    : json_(json), path_(std::move(path)), reader_(reader)
{
    if (!json_.is_object()) {
        reader_.Fail(path_.empty() ? "(top level)" : path_, "expected an object");
    }
}

std::string ProfileObject::FieldPath(const std::string& key) const
{
    return path_.empty() ? key : path_ + "." + key;
}

const nlohmann::json* ProfileObject::Find(const std::string& key)
{
    claimed_.insert(key);
    if (reader_.Failed() || !json_.is_object()) {
        return nullptr;
    }
    const auto found = json_.find(key);
    return found == json_.end() ? nullptr : &*found;
}

void ProfileObject::Text(const std::string& key, std::wstring& value)
{
    if (const nlohmann::json* field = Find(key)) {
        if (!field->is_string()) {
            reader_.Fail(FieldPath(key), "expected a string");
            return;
        }
        value = FromUtf8(field->get_ref<const std::string&>());
    }
}

void ProfileObject::OptionalText(const std::string& key, std::optional<std::wstring>& value)
{
    std::wstring text;
    Text(key, text);
    if (!text.empty()) {
        value = std::move(text);
    }
}

void ProfileObject::Unsigned64(const std::string& key, std::uint64_t& value)
{
    if (const nlohmann::json* field = Find(key)) {
        if (!field->is_number_unsigned()) {
            reader_.Fail(FieldPath(key), "expected a whole number of 0 or more");
            return;
        }
        value = field->get<std::uint64_t>();
    }
}

void ProfileObject::Unsigned(const std::string& key, std::uint32_t& value)
{
    std::uint64_t wide = value;
    Unsigned64(key, wide);
    if (wide > UINT32_MAX) {
        reader_.Fail(FieldPath(key), "expected a whole number below 4294967296");
        return;
    }
    value = static_cast<std::uint32_t>(wide);
}

void ProfileObject::Boolean(const std::string& key, bool& value)
{
    if (const nlohmann::json* field = Find(key)) {
        if (!field->is_boolean()) {
            reader_.Fail(FieldPath(key), "expected true or false");
            return;
        }
        value = field->get<bool>();
    }
}

void ProfileObject::ErrorCode(const std::string& key, std::uint32_t& value)
{
    if (const nlohmann::json* field = Find(key)) {
        ReadErrorCode(*field, FieldPath(key), reader_, value);
    }
}

void ProfileObject::Faults(const std::vector<std::wstring_view>& allowed, ObjectFaults& faults)
{
    const nlohmann::json* field = Find("faults");
    if (field == nullptr) {
        return;
    }
    const std::string path = FieldPath("faults");
    if (!field->is_object()) {
        reader_.Fail(path, "expected an object of errors by call name, such as {\"ReadFile\": 21}");
        return;
    }
    for (const auto& [name, error] : field->items()) {
        const std::wstring call = FromUtf8(name);
        const auto known = std::find_if(allowed.begin(), allowed.end(), [&](std::wstring_view candidate) {
            return EqualIgnoringCase(candidate, call);
        });
        if (known == allowed.end()) {
            std::string choices;
            for (const std::wstring_view candidate : allowed) {
                choices += (choices.empty() ? "" : ", ") + ToUtf8(std::wstring(candidate));
            }
            reader_.Fail(path + "." + name, "no call of this object is named so; expected one of " + choices);
            return;
        }
        std::uint32_t code = 0;
        if (!ReadErrorCode(error, path + "." + name, reader_, code)) {
            return;
        }
        faults[std::wstring(*known)] = code;
    }
}

void ProfileObject::TextList(const std::string& key, std::function<void(std::wstring)> add)
{
    if (const nlohmann::json* field = Find(key)) {
        if (!field->is_array()) {
            reader_.Fail(FieldPath(key), "expected an array of strings");
            return;
        }
        for (std::size_t i = 0; i < field->size(); ++i) {
            if (!(*field)[i].is_string()) {
                reader_.Fail(FieldPath(key) + "[" + std::to_string(i) + "]", "expected a string");
                return;
            }
            add(FromUtf8((*field)[i].get_ref<const std::string&>()));
        }
    }
}

void ProfileObject::Objects(const std::string& key, const std::function<void(ProfileObject&)>& visit)
{
    if (const nlohmann::json* field = Find(key)) {
        if (!field->is_array()) {
            reader_.Fail(FieldPath(key), "expected an array of objects");
            return;
        }
        for (std::size_t i = 0; i < field->size() && !reader_.Failed(); ++i) {
            ProfileObject element((*field)[i], FieldPath(key) + "[" + std::to_string(i) + "]", reader_);
            visit(element);
            element.Finish();
        }
    }
}

void ProfileObject::Object(const std::string& key, const std::function<void(ProfileObject&)>& visit)
{
    if (const nlohmann::json* field = Find(key)) {
        ProfileObject nested(*field, FieldPath(key), reader_);
        visit(nested);
        nested.Finish();
    }
}

void ProfileObject::Members(
    const std::string& key,
    const std::function<void(const std::wstring&, const nlohmann::json&, const std::string&)>& visit)
{
    if (const nlohmann::json* field = Find(key)) {
        if (!field->is_object()) {
            reader_.Fail(FieldPath(key), "expected an object");
            return;
        }
        for (const auto& [name, member] : field->items()) {
            if (reader_.Failed()) {
                return;
            }
            visit(FromUtf8(name), member, FieldPath(key) + "." + name);
        }
    }
}

void ProfileObject::Finish()
{
    if (reader_.Failed() || !json_.is_object()) {
        return;
    }
    for (const auto& [name, member] : json_.items()) {
        if (claimed_.count(name) == 0) {
            reader_.Fail(FieldPath(name), "unknown field");
            return;
        }
    }
}

bool ReadErrorCode(const nlohmann::json& json, const std::string& path, ProfileReader& reader, std::uint32_t& value)
{
    if (json.is_number_unsigned() && json.get<std::uint64_t>() <= UINT32_MAX) {
        value = static_cast<std::uint32_t>(json.get<std::uint64_t>());
        return true;
    }
    if (json.is_string()) {
        const std::string& text = json.get_ref<const std::string&>();
        const bool hex = text.starts_with("0x") || text.starts_with("0X");
        const char* begin = text.data() + (hex ? 2 : 0);
        const char* end = text.data() + text.size();
        std::uint32_t parsed = 0;
        const auto [stop, error] = std::from_chars(begin, end, parsed, hex ? 16 : 10);
        if (error == std::errc() && stop == end && begin != end) {
            value = parsed;
            return true;
        }
    }
    reader.Fail(path, "expected an error code: a number, or a string such as \"0x80004005\"");
    return false;
}

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

bool ReadHexBytes(const std::string& hex, std::vector<std::uint8_t>& data)
{
    if (hex.size() % 2 != 0) {
        return false;
    }
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = HexDigit(hex[i]);
        const int low = HexDigit(hex[i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        data.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return true;
}

}  // namespace winapi::sim
