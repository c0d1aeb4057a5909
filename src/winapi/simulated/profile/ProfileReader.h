#pragma once
// Strict reading of a machine profile: every field must be known and of the right type. The
// first problem is kept, with the path of the field it concerns, and ends the reading.

#include "winapi/simulated/ObjectFaults.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace winapi::sim {

class ProfileReader {
public:
    [[nodiscard]] bool Failed() const { return !error_.empty(); }
    [[nodiscard]] const std::string& Error() const { return error_; }
    // Keeps the first problem only.
    void Fail(const std::string& path, const std::string& message);

private:
    std::string error_;
};

// One JSON object of the profile. Each field is read at most once through the typed readers;
// Finish reports a field that no reader asked for.
class ProfileObject {
public:
    ProfileObject(const nlohmann::json& json, std::string path, ProfileReader& reader);

    void Text(const std::string& key, std::wstring& value);
    // A text whose absence (or emptiness) leaves that part out of the machine.
    void OptionalText(const std::string& key, std::optional<std::wstring>& value);
    void Unsigned(const std::string& key, std::uint32_t& value);
    void Unsigned64(const std::string& key, std::uint64_t& value);
    void Boolean(const std::string& key, bool& value);
    // A Win32 error or HRESULT: a number, or a string holding a decimal or 0x-prefixed number.
    void ErrorCode(const std::string& key, std::uint32_t& value);
    void TextList(const std::string& key, std::function<void(std::wstring)> add);
    // Each element of an array of objects.
    void Objects(const std::string& key, const std::function<void(ProfileObject&)>& visit);
    // A nested object.
    void Object(const std::string& key, const std::function<void(ProfileObject&)>& visit);
    // Each member of an object whose names are data (registry paths, value names).
    void Members(const std::string& key,
                 const std::function<void(const std::wstring&, const nlohmann::json&, const std::string&)>& visit);
    // The object's own failing calls ("faults": {"call": error}); only the calls in allowed apply
    // to such an object.
    void Faults(const std::vector<std::wstring_view>& allowed, ObjectFaults& faults);
    // A field of any type, for a reader that looks at its type itself; null when absent.
    [[nodiscard]] const nlohmann::json* Raw(const std::string& key) { return Find(key); }
    void Finish();
    [[nodiscard]] std::string FieldPath(const std::string& key) const;

    [[nodiscard]] const std::string& Path() const { return path_; }
    [[nodiscard]] ProfileReader& Reader() { return reader_; }

private:
    const nlohmann::json* Find(const std::string& key);

    const nlohmann::json& json_;
    std::string path_;
    ProfileReader& reader_;
    std::set<std::string> claimed_;
};

// Reads an error code from a JSON value at path; false (and a problem recorded) otherwise.
bool ReadErrorCode(const nlohmann::json& json, const std::string& path, ProfileReader& reader, std::uint32_t& value);

// Appends the bytes of a string of hexadecimal digit pairs ("00ff10"); false if it is not one.
bool ReadHexBytes(const std::string& hex, std::vector<std::uint8_t>& data);

}  // namespace winapi::sim
