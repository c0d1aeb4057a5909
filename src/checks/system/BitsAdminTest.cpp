#include "checks/system/BitsAdminTest.h"

#include "platform/BitsDownloadJob.h"

#include <exception>
#include <string>

namespace {

// The result while no call has answered.
constexpr winapi::HRESULT NoResult = -1;

}  // namespace

bool BitsAdminTest::Run()
{
    return SetPassed(CheckBitsDownload());
}

winapi::HRESULT BitsAdminTest::CreateDownloadJob()
{
    winapi::HRESULT hr = NoResult;
    try {
        hr = winapi::CoCreateBackgroundCopyManager(winapi::CLSCTX_LOCAL_SERVER, manager);
        if (winapi::FAILED(hr)) {
            return hr;
        }
        if (!manager) {
            return NoResult;
        }
        winapi::GUID jobId{};
        hr = manager->CreateJob(std::wstring(BitsJobName), winapi::BG_JOB_TYPE_DOWNLOAD, jobId, job);
        if (winapi::FAILED(hr)) {
            return hr;
        }
        if (!job) {
            return NoResult;
        }
        return winapi::S_OK;
    } catch (const std::exception&) {
        return hr;
    }
}

winapi::HRESULT BitsAdminTest::AddDownloadFile()
{
    winapi::HRESULT hr = NoResult;
    try {
        hr = job->AddFile(std::wstring(BitsRemoteFile), std::wstring(BitsLocalFile));
    } catch (const std::exception&) {
        hr = NoResult;
    }
    // The job is never resumed: cancelling it right away means nothing is ever transferred.
    (void)job->Cancel();
    return hr;
}

bool BitsAdminTest::CheckBitsDownload()
{
    if (CreateDownloadJob() != winapi::S_OK) {
        ReleaseBits();
        return true;
    }
    const winapi::HRESULT hr = AddDownloadFile();
    ReleaseBits();
    if (hr == BitsNotLoggedOn) {
        AddSolution(L"");
        return false;
    }
    return true;
}

void BitsAdminTest::ReleaseBits()
{
    manager.reset();
    job.reset();
}
