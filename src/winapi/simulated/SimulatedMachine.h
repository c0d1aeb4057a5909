#pragma once
// The machine the simulated build answers for: what a profile describes, held in memory. Every
// simulated platform call reads the one installed machine.

#include "winapi/Variant.h"
#include "winapi/WinTypes.h"
#include "winapi/simulated/CaseInsensitive.h"
#include "winapi/simulated/ObjectFaults.h"
#include "winapi/simulated/storage/StorageModel.h"
#include "winapi/simulated/system/SystemModel.h"
#include "winapi/simulated/files/MachineFiles.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace winapi::sim {

// A platform call that the profile makes fail: the first `after` calls succeed, every later
// one fails with `error` (a Win32 error code or an HRESULT, as the call reports failures).
struct Fault {
    std::wstring call;
    std::uint32_t error = 0;
    std::uint32_t after = 0;
    std::uint32_t calls = 0;
};

struct RegistryValue {
    DWORD type = REG_NONE;
    // The value's bytes as the program receives them; text is stored as UTF-16 with the
    // terminator(s) included, as Windows returns it.
    std::vector<BYTE> data;
    // RegQueryValueExW of this value fails.
    ObjectFaults faults;
};

struct RegistryKey {
    std::map<std::wstring, RegistryValue, CaseInsensitiveLess> values;
    // RegOpenKeyExW of this key fails (a key whose access list locks the caller out).
    ObjectFaults faults;
};

// One instance of a WMI class: its property values by name.
struct WmiInstance {
    std::map<std::wstring, Variant, CaseInsensitiveLess> properties;
    // The properties whose Get fails, with the error, by property name.
    ObjectFaults propertyFaults;
};

// A WMI class of ROOT\CIMV2. Its properties are those that any of its instances names; an
// instance that leaves one out holds NULL for it.
struct WmiClass {
    std::wstring name;
    std::set<std::wstring, CaseInsensitiveLess> properties;
    std::vector<WmiInstance> instances;
    // The calls that fail for every query of the class: ExecQuery, or Next once the instances are
    // handed out.
    ObjectFaults faults;
    // The calls that fail for the query of one device alone ("WHERE DeviceID = '...'", as the USB
    // lists ask for each Plug and Play record), by that DeviceID, letter case ignored.
    std::map<std::wstring, ObjectFaults, CaseInsensitiveLess> deviceQueryFaults;
};

struct Machine {
    std::wstring description;
    // Absent parts of a machine make the calls that ask for them fail.
    std::optional<std::wstring> systemDirectory;
    // What GetComputerNameW returns; without it the call fails with ERROR_FILE_NOT_FOUND.
    std::optional<std::wstring> computerName;
    std::optional<OSVERSIONINFOEXW> version;
    std::set<std::wstring, CaseInsensitiveLess> libraries;
    // Keys under HKEY_LOCAL_MACHINE by their full path; a key's ancestors exist as well.
    std::map<std::wstring, RegistryKey, CaseInsensitiveLess> registry;
    // The WMI classes by name, each with its instances in the order WMI returns them.
    std::map<std::wstring, WmiClass, CaseInsensitiveLess> wmiClasses;
    std::vector<Fault> faults;
    // Whether the program runs with administrator rights: raw access to drives needs them.
    bool administrator = false;
    std::optional<std::wstring> programFilesFolder;
    // Whether the machine is a VMware virtual machine, whose backdoor I/O port answers IN.
    bool vmware = false;
    std::vector<PhysicalDrive> physicalDrives;
    std::vector<Volume> volumes;
    std::vector<OtherDrive> otherDrives;
    std::vector<DiskInterface> diskInterfaces;
    SystemModel system;
    // The machine's own folders and files by full path, letter case ignored.
    std::map<std::wstring, MachineFile, CaseInsensitiveLess> files;
    // Process state: COM security is set once per process, so a fresh machine is a fresh process.
    bool comSecuritySet = false;

    // The error the named call fails with now, if the profile makes it fail; counts the call.
    [[nodiscard]] std::optional<std::uint32_t> TakeFault(std::wstring_view call);
};

// A handle value no other open simulated resource has: files, searches, keys, devices and
// lists all draw from one sequence, so a handle passed to the wrong kind of call is unknown there.
[[nodiscard]] void* NewHandleValue();

// The machine every simulated call answers for.
[[nodiscard]] Machine& CurrentMachine();
void InstallMachine(Machine machine);

// Names of the calls a profile may make fail.
[[nodiscard]] const std::set<std::wstring, CaseInsensitiveLess>& FaultableCalls();

}  // namespace winapi::sim
