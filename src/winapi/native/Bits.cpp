#include "winapi/Bits.h"

#include <bit>
#include <utility>

#include "winapi/native/ComBackgroundCopyJob.h"
#include "winapi/native/ComBackgroundCopyManager.h"
#include "winapi/native/WindowsHeaders.h"

static_assert(winapi::CLSCTX_LOCAL_SERVER == ::CLSCTX_LOCAL_SERVER);
static_assert(winapi::BG_JOB_TYPE_DOWNLOAD == ::BG_JOB_TYPE_DOWNLOAD);

namespace winapi {

namespace {

// {4991D34B-80A1-4291-83B6-3328366B9097}, the BITS 1.0 manager, which every BITS version serves.
constexpr ::CLSID BackgroundCopyManagerClass{
    0x4991D34B, 0x80A1, 0x4291, {0x83, 0xB6, 0x33, 0x28, 0x36, 0x6B, 0x90, 0x97}};
// {5CE34C0D-0DC9-4C1F-897C-DAA1B78CEE7C}
constexpr ::IID BackgroundCopyManagerInterface{
    0x5CE34C0D, 0x0DC9, 0x4C1F, {0x89, 0x7C, 0xDA, 0xA1, 0xB7, 0x8C, 0xEE, 0x7C}};

}  // namespace

HRESULT CoCreateBackgroundCopyManager(DWORD classContext, std::unique_ptr<BackgroundCopyManager>& manager)
{
    native::ComPtr<IBackgroundCopyManager> created;
    const HRESULT hr =
        ::CoCreateInstance(BackgroundCopyManagerClass, nullptr, classContext, BackgroundCopyManagerInterface,
                           reinterpret_cast<void**>(created.GetAddressOf()));
    if (SUCCEEDED(hr) && created) {
        manager = std::make_unique<native::ComBackgroundCopyManager>(std::move(created));
    }
    return hr;
}

namespace native {

ComBackgroundCopyManager::ComBackgroundCopyManager(ComPtr<IBackgroundCopyManager> manager)
    : manager_(std::move(manager))
{
}

HRESULT ComBackgroundCopyManager::CreateJob(const std::wstring& displayName, DWORD type, GUID& jobId,
                                            std::unique_ptr<BackgroundCopyJob>& job)
{
    ::GUID id{};
    ComPtr<IBackgroundCopyJob> created;
    const HRESULT hr =
        manager_->CreateJob(displayName.c_str(), static_cast<::BG_JOB_TYPE>(type), &id, created.GetAddressOf());
    if (SUCCEEDED(hr) && created) {
        jobId = std::bit_cast<GUID>(id);
        job = std::make_unique<ComBackgroundCopyJob>(std::move(created));
    }
    return hr;
}

ComBackgroundCopyJob::ComBackgroundCopyJob(ComPtr<IBackgroundCopyJob> job) : job_(std::move(job)) {}

HRESULT ComBackgroundCopyJob::AddFile(const std::wstring& remoteUrl, const std::wstring& localName)
{
    return job_->AddFile(remoteUrl.c_str(), localName.c_str());
}

HRESULT ComBackgroundCopyJob::Cancel()
{
    return job_->Cancel();
}

}  // namespace native
}  // namespace winapi
