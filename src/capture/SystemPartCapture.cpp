#include "capture/SystemPartCapture.h"

#include "platform/BitsDownloadJob.h"
#include "platform/LaterWindowsFunctions.h"
#include "platform/MachineKind.h"
#include "platform/TokenMembership.h"
#include "winapi/Bits.h"
#include "winapi/Security.h"
#include "winapi/SystemInfo.h"
#include "winapi/Win32.h"

#include <array>
#include <memory>
#include <span>

namespace {

// S-1-5-32-544, BUILTIN\Administrators, as a SID structure: revision 1, two sub-authorities, the
// NT authority (5), then 32 (the built-in domain) and 544 (its administrators' alias), little-endian.
// Windows 2000's CheckTokenMembership takes it as it is, where its advapi32.dll lacks the
// CreateWellKnownSid that would write it.
constexpr std::array<winapi::BYTE, 16> AdministratorsSid{1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 2, 0, 0};

// The functions of later releases that the checks look up in kernel32.dll.
constexpr const char* LaterFunctions[] = {"GetNativeSystemInfo", "GetProductInfo"};

void CaptureFunctions(JsonWriter& writer)
{
    const winapi::HMODULE kernel32 = winapi::GetModuleHandleW(L"kernel32.dll");
    writer.Key("kernel32Functions");
    writer.BeginArray();
    for (const char* function : LaterFunctions) {
        if (kernel32 != nullptr && winapi::GetProcAddress(kernel32, function) != nullptr) {
            writer.String(std::wstring(function, function + std::char_traits<char>::length(function)));
        }
    }
    writer.EndArray();
}

// Whether the token is an administrator's, decided as every Windows release can. The checks ask
// through CreateWellKnownSid: where it fails (Windows 2000), the failure goes to the profile as
// it happened, so that the replay's administrator check fails as the machine's does while its
// drives and volumes open for an administrator as they do on the machine.
bool IsAdministrator(CaptureLog& log, winapi::HANDLE token)
{
    std::array<winapi::BYTE, winapi::SECURITY_MAX_SID_SIZE> sid{};
    winapi::DWORD sidSize = static_cast<winapi::DWORD>(sid.size());
    if (!winapi::CreateWellKnownSid(winapi::WinBuiltinAdministratorsSid, sid, sidSize)) {
        log.Fault(L"CreateWellKnownSid", winapi::GetLastError());
    }
    winapi::BOOL isMember = winapi::FALSE;
    if (!winapi::CheckTokenMembership(token, AdministratorsSid, isMember)) {
        log.Fault(L"CheckTokenMembership", winapi::GetLastError());
        return false;
    }
    return isMember == 1;
}

void CaptureToken(JsonWriter& writer, CaptureLog& log)
{
    writer.Key("administrator");
    writer.Boolean(IsAdministrator(log, nullptr));
    winapi::UniqueToken processToken;
    if (!winapi::OpenProcessToken(winapi::TOKEN_QUERY, processToken)) {
        log.Fault(L"OpenProcessToken", winapi::GetLastError());
        return;
    }
    const winapi::UniqueToken linked = LinkedTokenOf(processToken.get());
    if (linked) {
        writer.Key("linkedToken");
        writer.String(IsAdministrator(log, linked.get()) ? L"administrator" : L"standardUser");
    }
}

// BITS as BitsAdminTest asks it: the manager, a download job, one file added and the job
// cancelled at once, never resumed. Which of them refuses, and with what, decides the check:
// only AddFile's answer for a user who is not logged on interactively fails it.
void CaptureBits(JsonWriter& writer, CaptureLog& log)
{
    std::unique_ptr<winapi::BackgroundCopyManager> manager;
    const winapi::HRESULT created = winapi::CoCreateBackgroundCopyManager(winapi::CLSCTX_LOCAL_SERVER, manager);
    writer.Key("bits");
    if (winapi::FAILED(created) || !manager) {
        if (created != winapi::REGDB_E_CLASSNOTREG) {
            log.Fault(L"CoCreateInstance(BackgroundCopyManager)", static_cast<std::uint32_t>(created));
        }
        writer.Boolean(false);
        return;
    }
    winapi::GUID jobId{};
    std::unique_ptr<winapi::BackgroundCopyJob> job;
    const winapi::HRESULT jobCreated =
        manager->CreateJob(std::wstring(BitsJobName), winapi::BG_JOB_TYPE_DOWNLOAD, jobId, job);
    winapi::HRESULT added = winapi::S_OK;
    if (winapi::SUCCEEDED(jobCreated) && job) {
        added = job->AddFile(std::wstring(BitsRemoteFile), std::wstring(BitsLocalFile));
        (void)job->Cancel();
    }
    if (jobCreated == winapi::S_OK && added == winapi::S_OK) {
        writer.Boolean(true);
        return;
    }
    writer.BeginInlineObject();
    if (jobCreated != winapi::S_OK) {
        writer.Key("createJob");
        writer.ErrorCode(static_cast<std::uint32_t>(jobCreated));
    }
    if (added != winapi::S_OK) {
        writer.Key("addFile");
        writer.ErrorCode(static_cast<std::uint32_t>(added));
    }
    writer.EndObject();
}

}  // namespace

void CaptureSystemPart(JsonWriter& writer, CaptureLog& log)
{
    writer.Key("processorArchitecture");
    writer.Unsigned(ReadProcessorArchitecture());
    CaptureFunctions(writer);
    winapi::DWORD productType = 0;
    if (ReadProductType(productType)) {
        writer.Key("productInfoType");
        writer.Unsigned(productType);
    }
    writer.Key("serverR2");
    writer.Boolean(winapi::GetSystemMetrics(winapi::SM_SERVERR2) != 0);
    winapi::MEMORYSTATUSEX memory{};
    memory.dwLength = winapi::MEMORYSTATUSEX_SIZE;
    if (winapi::GlobalMemoryStatusEx(memory)) {
        writer.Key("totalPhysicalMemory");
        writer.Unsigned(memory.ullTotalPhys);
    } else {
        log.Fault(L"GlobalMemoryStatusEx", winapi::GetLastError());
    }
    CaptureToken(writer, log);
    CaptureBits(writer, log);
    writer.Key("vmware");
    writer.Boolean(IsVmwareVirtualMachine());
}
