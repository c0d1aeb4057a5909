#include "capture/ProfilePrivacy.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::wstring_view ComputerStandIn = L"COMPUTER";
constexpr std::wstring_view SerialStandIn = L"SERIAL";
constexpr std::wstring_view FolderStandIn = L"MountedFolder";
constexpr std::size_t MbrDiskSignatureOffset = 440;
constexpr wchar_t InstanceSeparator = L'&';
// An object path names its computer between "\\" and the next backslash.
constexpr std::wstring_view ComputerPrefix = L"\\\\";
constexpr std::wstring_view DoubledBackslash = L"\\\\";

// Serials, computer names and paths are compared in ASCII capitals, as Windows compares them.
wchar_t Capital(wchar_t c)
{
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

wchar_t Small(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

std::wstring Capitals(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(), Capital);
    return text;
}

std::wstring SmallLetters(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(), Small);
    return text;
}

std::wstring ReplaceAll(std::wstring text, std::wstring_view from, std::wstring_view to)
{
    for (std::size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

}  // namespace

std::wstring ProfilePrivacy::StandIn(std::map<std::wstring, std::wstring>& standIns, const std::wstring& value,
                                     std::wstring_view prefix)
{
    const auto known = standIns.find(value);
    if (known != standIns.end()) {
        return known->second;
    }
    return standIns.emplace(value, std::wstring(prefix) + std::to_wstring(standIns.size() + 1)).first->second;
}

std::wstring ProfilePrivacy::Instance(const std::wstring& instance)
{
    const std::size_t separator = instance.find(InstanceSeparator);
    const std::wstring head = instance.substr(0, separator);
    // Plug and Play makes up an instance of a device without a serial number from a one-digit
    // level and the place of the device ("5&27A8E1D4&0&2"): it names no device.
    if (head.empty() || (head.size() == 1 && separator != std::wstring::npos)) {
        return instance;
    }
    const std::wstring standIn = StandIn(serials_, Capitals(head), SerialStandIn);
    const bool small = std::none_of(head.begin(), head.end(), [](wchar_t c) { return Small(c) != c; });
    return (small ? SmallLetters(standIn) : standIn) +
           (separator == std::wstring::npos ? L"" : instance.substr(separator));
}

std::wstring ProfilePrivacy::ObjectPath(const std::wstring& path)
{
    if (keepRealValues_) {
        return path;
    }
    std::wstring result = path;
    const std::size_t first = result.find(L'"');
    const std::size_t last = result.rfind(L'"');
    if (first != std::wstring::npos && first < last) {
        // The identifier is a WQL literal, its backslashes doubled.
        const std::wstring identifier = ReplaceAll(result.substr(first + 1, last - first - 1), DoubledBackslash, L"\\");
        result.replace(first + 1, last - first - 1, ReplaceAll(DeviceId(identifier), L"\\", DoubledBackslash));
    }
    if (result.starts_with(ComputerPrefix)) {
        const std::size_t end = result.find(L'\\', ComputerPrefix.size());
        if (end != std::wstring::npos) {
            const std::wstring name = result.substr(ComputerPrefix.size(), end - ComputerPrefix.size());
            result.replace(ComputerPrefix.size(), name.size(), StandIn(computers_, Capitals(name), ComputerStandIn));
        }
    }
    return result;
}

std::wstring ProfilePrivacy::DeviceId(const std::wstring& identifier)
{
    const std::size_t last = identifier.rfind(L'\\');
    if (keepRealValues_ || last == std::wstring::npos) {
        return identifier;
    }
    return identifier.substr(0, last + 1) + Instance(identifier.substr(last + 1));
}

std::wstring ProfilePrivacy::DevicePath(const std::wstring& path)
{
    // "\\?\usbstor#device#instance#{interface class}": the instance is between the last two #.
    const std::size_t classStart = path.rfind(L'#');
    const std::size_t instanceStart =
        classStart == std::wstring::npos || classStart == 0 ? std::wstring::npos : path.rfind(L'#', classStart - 1);
    if (keepRealValues_ || instanceStart == std::wstring::npos) {
        return path;
    }
    return path.substr(0, instanceStart + 1) +
           Instance(path.substr(instanceStart + 1, classStart - instanceStart - 1)) + path.substr(classStart);
}

void ProfilePrivacy::Sector0(std::vector<winapi::BYTE>& sector)
{
    std::uint32_t signature = 0;
    if (keepRealValues_ || sector.size() < MbrDiskSignatureOffset + sizeof(signature)) {
        return;
    }
    for (std::size_t index = sizeof(signature); index > 0; --index) {
        signature = (signature << 8) | sector[MbrDiskSignatureOffset + index - 1];
    }
    // A disk without a signature has none to hide.
    if (signature == 0) {
        return;
    }
    const auto known = signatures_.find(signature);
    const std::uint32_t standIn =
        known != signatures_.end()
            ? known->second
            : signatures_.emplace(signature, static_cast<std::uint32_t>(signatures_.size() + 1)).first->second;
    for (std::size_t index = 0; index < sizeof(standIn); ++index) {
        sector[MbrDiskSignatureOffset + index] = static_cast<winapi::BYTE>(standIn >> (8 * index));
    }
}

winapi::GUID ProfilePrivacy::PartitionId(const winapi::GUID& id)
{
    if (keepRealValues_) {
        return id;
    }
    std::array<winapi::BYTE, sizeof(winapi::GUID)> key{};
    std::memcpy(key.data(), &id, sizeof(id));
    const auto known = partitionIds_.find(key);
    if (known != partitionIds_.end()) {
        return known->second;
    }
    // {00000000-0000-0000-0000-00000000000n}, the n-th identifier met.
    winapi::GUID standIn{};
    const std::uint64_t number = partitionIds_.size() + 1;
    for (std::size_t index = 0; index < sizeof(standIn.Data4); ++index) {
        standIn.Data4[sizeof(standIn.Data4) - 1 - index] = static_cast<winapi::BYTE>(number >> (8 * index));
    }
    return partitionIds_.emplace(key, standIn).first->second;
}

std::wstring ProfilePrivacy::MountFolder(const std::wstring& root, const std::wstring& folder)
{
    if (keepRealValues_) {
        return folder;
    }
    return StandIn(folders_, Capitals(root + folder), FolderStandIn) + L"\\";
}
