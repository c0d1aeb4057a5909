// The linter over any input document: the program's reading of it, the catalogue's rules for
// every name and parameter, the nearest-name search and the solution-template rule, in two
// languages so that both the found and the missing texts are walked.

#include "framework/TraceLog.h"
#include "lint/InputDocumentLint.h"
#include "support/FuzzProcess.h"
#include "winapi/Com.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    StartSimulatedProcess();
    MuteTrace();
    const std::wstring input = WriteScratchDocument("input.xml", {reinterpret_cast<const char*>(data), size});
    if (winapi::FAILED(winapi::CoInitializeEx(winapi::COINIT_APARTMENTTHREADED))) {
        return 0;
    }
    (void)LintInputDocument(input, {L"en", L"DE"});
    winapi::CoUninitialize();
    return 0;
}
