// BITS of the simulated machine: a manager when the profile registers it, jobs that take files,
// and the record of every call ("CreateJob TarnwickDownloadTest 0", "Cancel", ...).

#include "winapi/Bits.h"

#include "winapi/simulated/DisturbedLastError.h"
#include "winapi/simulated/com/SimulatedBackgroundCopyJob.h"
#include "winapi/simulated/com/SimulatedBackgroundCopyManager.h"
#include "winapi/simulated/com/SimulatedComState.h"
#include "winapi/simulated/SimulatedMachine.h"

namespace winapi {

namespace {

void Record(std::wstring call)
{
    sim::CurrentMachine().system.bitsCalls.push_back(std::move(call));
}

std::optional<HRESULT> BitsFault(std::wstring_view call)
{
    if (const auto error = sim::CurrentMachine().TakeFault(call)) {
        return static_cast<HRESULT>(*error);
    }
    return std::nullopt;
}

}  // namespace

HRESULT CoCreateBackgroundCopyManager(DWORD classContext, std::unique_ptr<BackgroundCopyManager>& manager)
{
    Record(L"CoCreateInstance(BackgroundCopyManager) " + std::to_wstring(classContext));
    sim::DisturbLastError();
    if (const auto error = BitsFault(L"CoCreateInstance(BackgroundCopyManager)")) {
        return *error;
    }
    if (!sim::ApartmentEntered()) {
        return CO_E_NOTINITIALIZED;
    }
    // BITS is a service: its manager is a local server only.
    if (!sim::CurrentMachine().system.bits || (classContext & CLSCTX_LOCAL_SERVER) == 0) {
        return REGDB_E_CLASSNOTREG;
    }
    manager = std::make_unique<sim::SimulatedBackgroundCopyManager>();
    return S_OK;
}

namespace sim {

SimulatedBackgroundCopyManager::~SimulatedBackgroundCopyManager()
{
    Record(L"Release IBackgroundCopyManager");
}

HRESULT SimulatedBackgroundCopyManager::CreateJob(const std::wstring& displayName, DWORD type, GUID& jobId,
                                                  std::unique_ptr<BackgroundCopyJob>& job)
{
    Record(L"CreateJob " + displayName + L" " + std::to_wstring(type));
    if (const auto error = BitsFault(L"CreateJob")) {
        return *error;
    }
    if (type != BG_JOB_TYPE_DOWNLOAD) {
        return E_INVALIDARG;
    }
    if (const auto result = CurrentMachine().system.createJobResult; result && FAILED(*result)) {
        return *result;
    }
    jobId = GUID{0x7a3c1e55, 0x2b1d, 0x4e8f, {0x9a, 0x61, 0x0c, 0x2e, 0x55, 0x3d, 0x18, 0x4b}};
    job = std::make_unique<SimulatedBackgroundCopyJob>();
    return S_OK;
}

SimulatedBackgroundCopyJob::~SimulatedBackgroundCopyJob()
{
    Record(L"Release IBackgroundCopyJob");
}

HRESULT SimulatedBackgroundCopyJob::AddFile(const std::wstring& remoteUrl, const std::wstring& localName)
{
    Record(L"AddFile " + remoteUrl + L" " + localName);
    if (const auto error = BitsFault(L"AddFile")) {
        return *error;
    }
    return CurrentMachine().system.addFileResult.value_or(S_OK);
}

HRESULT SimulatedBackgroundCopyJob::Cancel()
{
    Record(L"Cancel");
    return S_OK;
}

}  // namespace sim
}  // namespace winapi
