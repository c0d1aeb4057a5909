#include "checks/disk/DiskLimitTest.h"

#include "platform/Console.h"
#include "platform/WmiQuery.h"

namespace {

constexpr int DiskCountLimit = 6;
const std::wstring DiskDriveQuery = L"SELECT * from Win32_DiskDrive";

constexpr std::string_view NameLine = "Name: %wS\n";

// The disk drives WMI lists; 0 when WMI cannot be asked or fails during the walk. Relies on
// COM as the run mode initialised it.
int CountDiskDrives()
{
    WmiQueryObjects objects;
    if (winapi::FAILED(OpenWqlQuery(DiskDriveQuery, objects))) {
        return 0;
    }
    int count = 0;
    winapi::HRESULT hr = winapi::S_OK;
    while (objects.enumerator) {
        std::unique_ptr<winapi::WbemClassObject> object;
        winapi::ULONG returned = 0;
        hr = objects.enumerator->Next(winapi::WBEM_INFINITE, object, returned);
        if (returned == 0 || !object) {
            break;
        }
        if (winapi::FAILED(hr)) {
            return 0;
        }
        ++count;
        winapi::Variant name;
        std::wstring text;
        if (winapi::SUCCEEDED(object->Get(L"Name", 0, name)) && winapi::SUCCEEDED(name.GetString(text))) {
            ConsolePrintf(NameLine, text);
        }
    }
    return winapi::FAILED(hr) ? 0 : count;
}

}  // namespace

bool DiskLimitTest::Run()
{
    const int count = CountDiskDrives();
    AddMoreInfo(L"%d", count);
    const bool verdict = count <= DiskCountLimit;
    if (!verdict) {
        AddSolution(L"%d", count - DiskCountLimit);
    }
    return SetPassed(verdict);
}
