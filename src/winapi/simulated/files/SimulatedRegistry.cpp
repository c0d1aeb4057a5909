// Registry reads answered from the simulated machine's keys under HKEY_LOCAL_MACHINE, as the
// shipped 32-bit program sees them: on a 64-bit Windows (one that has SOFTWARE\Wow6432Node)
// the keys under SOFTWARE are those of the 32-bit view.

#include "winapi/Registry.h"

#include "winapi/simulated/DisturbedLastError.h"
#include "winapi/simulated/ProcessReset.h"
#include "winapi/simulated/SimulatedMachine.h"

#include <algorithm>
#include <map>

namespace winapi {

namespace {

// Open keys and the full paths they stand for.
std::map<HKEY, std::wstring>& OpenKeys()
{
    static std::map<HKEY, std::wstring> keys;
    return keys;
}

// Asks for the 64-bit view from a 32-bit program: no redirection.
constexpr REGSAM KEY_WOW64_64KEY = 0x0100;
const std::wstring SoftwareKey = L"SOFTWARE";
const std::wstring Wow64Key = L"SOFTWARE\\Wow6432Node";

bool IsUnder(const std::wstring& path, const std::wstring& key)
{
    return sim::EqualIgnoringCase(std::wstring_view(path).substr(0, key.size()), key) &&
           (path.size() == key.size() || path[key.size()] == L'\\');
}

// The key that a 32-bit program opens for the path: SOFTWARE\X is SOFTWARE\Wow6432Node\X on a
// 64-bit Windows.
std::wstring Wow64View(const std::wstring& path, REGSAM access)
{
    const bool is64Bit = sim::CurrentMachine().registry.count(Wow64Key) != 0;
    if (!is64Bit || (access & KEY_WOW64_64KEY) != 0 || !IsUnder(path, SoftwareKey) || IsUnder(path, Wow64Key)) {
        return path;
    }
    return Wow64Key + path.substr(SoftwareKey.size());
}

}  // namespace

LONG RegOpenKeyExW(HKEY root, const std::wstring& subKey, DWORD /*options*/, REGSAM access, UniqueRegKey& key)
{
    if (const auto error = sim::CurrentMachine().TakeFault(L"RegOpenKeyExW")) {
        return static_cast<LONG>(*error);
    }
    std::wstring path;
    if (root != HKEY_LOCAL_MACHINE) {
        const auto parent = OpenKeys().find(root);
        if (parent == OpenKeys().end()) {
            return static_cast<LONG>(ERROR_INVALID_HANDLE);
        }
        path = parent->second + (subKey.empty() ? L"" : L"\\");
    }
    path = Wow64View(path + subKey, access);
    if (!path.empty()) {
        const auto found = sim::CurrentMachine().registry.find(path);
        if (found == sim::CurrentMachine().registry.end()) {
            return static_cast<LONG>(ERROR_FILE_NOT_FOUND);
        }
        if (const auto error = sim::ObjectFault(found->second.faults, L"RegOpenKeyExW")) {
            return static_cast<LONG>(*error);
        }
    }
    const HKEY handle = sim::NewHandleValue();
    OpenKeys()[handle] = path;
    key.reset(handle);
    return static_cast<LONG>(ERROR_SUCCESS);
}

LONG RegQueryValueExW(HKEY key, const std::wstring& valueName, DWORD* type, std::span<BYTE> data, DWORD& size)
{
    if (const auto error = sim::CurrentMachine().TakeFault(L"RegQueryValueExW")) {
        return static_cast<LONG>(*error);
    }
    const auto open = OpenKeys().find(key);
    if (open == OpenKeys().end()) {
        return static_cast<LONG>(ERROR_INVALID_HANDLE);
    }
    const auto& keys = sim::CurrentMachine().registry;
    const auto found = keys.find(open->second);
    if (found == keys.end()) {
        return static_cast<LONG>(ERROR_FILE_NOT_FOUND);
    }
    const auto value = found->second.values.find(valueName);
    if (value == found->second.values.end()) {
        return static_cast<LONG>(ERROR_FILE_NOT_FOUND);
    }
    if (const auto error = sim::ObjectFault(value->second.faults, L"RegQueryValueExW")) {
        return static_cast<LONG>(*error);
    }
    const std::vector<BYTE>& bytes = value->second.data;
    if (type != nullptr) {
        *type = value->second.type;
    }
    const DWORD needed = static_cast<DWORD>(bytes.size());
    if (data.empty()) {
        size = needed;
        return static_cast<LONG>(ERROR_SUCCESS);
    }
    if (data.size() < bytes.size()) {
        size = needed;
        return static_cast<LONG>(ERROR_MORE_DATA);
    }
    std::ranges::copy(bytes, data.begin());
    size = needed;
    return static_cast<LONG>(ERROR_SUCCESS);
}

LONG RegCloseKey(HKEY key)
{
    sim::DisturbLastError();
    return OpenKeys().erase(key) == 1 ? static_cast<LONG>(ERROR_SUCCESS) : static_cast<LONG>(ERROR_INVALID_HANDLE);
}

namespace sim {

void ResetRegistryKeys()
{
    OpenKeys().clear();
}

}  // namespace sim

}  // namespace winapi
