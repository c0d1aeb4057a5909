#include "checks/system/BitsAdminTest.h"

#include <exception>
#include <string>

namespace {

const std::wstring JobName = L"TarnwickDownloadTest";
// The host lies under the reserved top-level domain .example, so the address can never reach
// anyone, even if a job were ever resumed.
const std::wstring RemoteFile = L"http://download.tarnwick.example/bin/tessel/blahghah.xml";
const std::wstring LocalFile = L"C:\\tempFile.xml";

// What AddFile answers when the user is not logged on: 0x800704DD.
constexpr winapi::HRESULT NotLoggedOn = winapi::HRESULT_FROM_WIN32(winapi::ERROR_NOT_LOGGED_ON);
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
        hr = manager->CreateJob(JobName, winapi::BG_JOB_TYPE_DOWNLOAD, jobId, job);
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
        hr = job->AddFile(RemoteFile, LocalFile);
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
    if (hr == NotLoggedOn) {
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
