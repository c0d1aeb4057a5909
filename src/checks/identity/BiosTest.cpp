#include "checks/identity/BiosTest.h"

#include "platform/RegistryText.h"
#include "platform/RegistryValue.h"
#include "winapi/Registry.h"

#include <string_view>
#include <vector>

namespace {

const std::wstring SystemKey = L"HARDWARE\\Description\\System";
const std::wstring BiosVersionValue = L"SystemBiosVersion";
const std::wstring BiosDateValue = L"SystemBiosDate";
constexpr std::wstring_view PieceSeparator = L", ";

// The NUL-separated pieces of the value's text joined with ", ", up to the first empty piece.
std::wstring JoinPieces(const std::vector<winapi::BYTE>& data)
{
    const std::wstring text = RegistryCharacters(data);
    std::wstring joined;
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t end = std::min(text.find(L'\0', position), text.size());
        if (end == position) {
            break;
        }
        if (position != 0) {
            joined += PieceSeparator;
        }
        joined.append(text, position, end - position);
        position = end + 1;
    }
    return joined;
}

}  // namespace

// A key or value that cannot be read gives an empty string: the check then records an empty
// line and compares the empty string with its list, so only an empty entry can match it.
std::wstring BiosTest::ReadSystemBiosValue(const std::wstring& valueName)
{
    winapi::UniqueRegKey key;
    if (winapi::RegOpenKeyExW(winapi::HKEY_LOCAL_MACHINE, SystemKey, 0, winapi::KEY_QUERY_VALUE, key) !=
        static_cast<winapi::LONG>(winapi::ERROR_SUCCESS)) {
        return {};
    }
    // The type is not looked at: a multi-string and a plain string both read as text.
    std::vector<winapi::BYTE> data;
    if (ReadRegistryValue(key.get(), valueName, data) != static_cast<winapi::LONG>(winapi::ERROR_SUCCESS)) {
        return {};
    }
    return JoinPieces(data);
}

std::wstring BiosTest::GetBiosVersion()
{
    std::wstring version = ReadSystemBiosValue(BiosVersionValue);
    // Through "%wS", so that a "%" in the value is copied like any other character.
    AddMoreInfo(L"%wS", version);
    return version;
}

std::wstring BiosTest::GetBiosDate()
{
    std::wstring date = ReadSystemBiosValue(BiosDateValue);
    AddMoreInfo(L"%wS", date);
    return date;
}
