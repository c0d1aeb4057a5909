#include "winapi/simulated/profile/ProfileFields.h"

#include <array>
#include <charconv>
#include <cstdint>

namespace winapi::sim {

namespace {

constexpr const char* GuidExpected = "expected a GUID such as \"{EBD0A0A2-B9E5-4433-87C0-68B6B72699C7}\"";

int HexValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return -1;
}

// Reads hex digits text[begin, begin + count) into value.
bool ReadHex(const std::wstring& text, std::size_t begin, std::size_t count, std::uint64_t& value)
{
    value = 0;
    for (std::size_t i = begin; i < begin + count; ++i) {
        const int digit = HexValue(text[i]);
        if (digit < 0) {
            return false;
        }
        value = value * 16 + static_cast<std::uint64_t>(digit);
    }
    return true;
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
bool ParseGuid(const std::wstring& text, GUID& guid)
{
    if (text.size() != 38 || text[0] != L'{' || text[37] != L'}' || text[9] != L'-' || text[14] != L'-' ||
        text[19] != L'-' || text[24] != L'-') {
        return false;
    }
    std::uint64_t value = 0;
    GUID parsed{};
    if (!ReadHex(text, 1, 8, value)) {
        return false;
    }
    parsed.Data1 = static_cast<DWORD>(value);
    if (!ReadHex(text, 10, 4, value)) {
        return false;
    }
    parsed.Data2 = static_cast<WORD>(value);
    if (!ReadHex(text, 15, 4, value)) {
        return false;
    }
    parsed.Data3 = static_cast<WORD>(value);
    constexpr std::array<std::size_t, 8> offsets{20, 22, 25, 27, 29, 31, 33, 35};
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        if (!ReadHex(text, offsets[i], 2, value)) {
            return false;
        }
        parsed.Data4[i] = static_cast<BYTE>(value);
    }
    guid = parsed;
    return true;
}

}  // namespace

void ReadGuid(ProfileObject& object, const std::string& key, GUID& guid,
              const std::map<std::wstring, std::wstring>* names, std::string_view namesInOrder)
{
    std::wstring text;
    object.Text(key, text);
    if (text.empty() || object.Reader().Failed()) {
        return;
    }
    if (names != nullptr) {
        if (const auto named = names->find(text); named != names->end()) {
            text = named->second;
        }
    }
    if (!ParseGuid(text, guid)) {
        std::string expected = GuidExpected;
        if (names != nullptr) {
            expected += " or one of " + std::string(namesInOrder);
        }
        object.Reader().Fail(object.FieldPath(key), expected);
    }
}

void ReadByte(ProfileObject& object, const std::string& key, BYTE& value)
{
    const nlohmann::json* field = object.Raw(key);
    if (field == nullptr) {
        return;
    }
    if (field->is_number_unsigned() && field->get<std::uint64_t>() <= 0xFF) {
        value = static_cast<BYTE>(field->get<std::uint64_t>());
        return;
    }
    if (field->is_string()) {
        const std::string& text = field->get_ref<const std::string&>();
        unsigned parsed = 0;
        if (text.size() > 2 && (text.starts_with("0x") || text.starts_with("0X"))) {
            const auto [stop, error] = std::from_chars(text.data() + 2, text.data() + text.size(), parsed, 16);
            if (error == std::errc() && stop == text.data() + text.size() && parsed <= 0xFF) {
                value = static_cast<BYTE>(parsed);
                return;
            }
        }
    }
    object.Reader().Fail(object.FieldPath(key), "expected a byte: a number below 256 or a string such as \"0x07\"");
}

void ReadSigned64(ProfileObject& object, const std::string& key, LONGLONG& value)
{
    std::uint64_t wide = static_cast<std::uint64_t>(value);
    object.Unsigned64(key, wide);
    if (wide > static_cast<std::uint64_t>(INT64_MAX)) {
        object.Reader().Fail(object.FieldPath(key), "expected a whole number below 2^63");
        return;
    }
    value = static_cast<LONGLONG>(wide);
}

}  // namespace winapi::sim
