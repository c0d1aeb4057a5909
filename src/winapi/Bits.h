#pragma once
// The Background Intelligent Transfer Service: a manager that creates download jobs, and a job
// that takes files. Calls keep the IBackgroundCopy* names and HRESULT conventions; owners release
// the objects; an out-parameter is set only on success. Native: BITS through COM
// (native/Bits.cpp). Simulated: the machine's BITS part, which records every call
// (simulated/com/SimulatedBits.cpp).

#include "winapi/WinTypes.h"

#include <memory>
#include <string>

namespace winapi {

constexpr DWORD CLSCTX_LOCAL_SERVER = 4;

// BG_JOB_TYPE values.
constexpr DWORD BG_JOB_TYPE_DOWNLOAD = 0;

// What BITS answers (as an HRESULT) to a user who is not logged on.
constexpr DWORD ERROR_NOT_LOGGED_ON = 1245;

class BackgroundCopyJob {
public:
    BackgroundCopyJob() = default;
    BackgroundCopyJob(const BackgroundCopyJob&) = delete;
    BackgroundCopyJob& operator=(const BackgroundCopyJob&) = delete;
    virtual ~BackgroundCopyJob() = default;

    // IBackgroundCopyJob::AddFile.
    [[nodiscard]] virtual HRESULT AddFile(const std::wstring& remoteUrl, const std::wstring& localName) = 0;
    // IBackgroundCopyJob::Cancel: the job and its files are removed; nothing is transferred.
    virtual HRESULT Cancel() = 0;
};

class BackgroundCopyManager {
public:
    BackgroundCopyManager() = default;
    BackgroundCopyManager(const BackgroundCopyManager&) = delete;
    BackgroundCopyManager& operator=(const BackgroundCopyManager&) = delete;
    virtual ~BackgroundCopyManager() = default;

    // IBackgroundCopyManager::CreateJob; jobId receives the new job's identifier.
    [[nodiscard]] virtual HRESULT CreateJob(const std::wstring& displayName, DWORD type, GUID& jobId,
                                            std::unique_ptr<BackgroundCopyJob>& job) = 0;
};

// CoCreateInstance of CLSID_BackgroundCopyManager for IID_IBackgroundCopyManager, no outer object.
[[nodiscard]] HRESULT CoCreateBackgroundCopyManager(DWORD classContext,
                                                    std::unique_ptr<BackgroundCopyManager>& manager);

}  // namespace winapi
