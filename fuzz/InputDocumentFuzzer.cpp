// The reading phase of a run over any input document: loading, the test elements, the
// registry's CreateTest for every name, parameters and the localized texts.

#include "framework/TestRunner.h"
#include "support/FuzzProcess.h"
#include "winapi/Com.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    StartSimulatedProcess();
    const std::wstring input = WriteScratchDocument("input.xml", {reinterpret_cast<const char*>(data), size});
    if (winapi::FAILED(winapi::CoInitializeEx(winapi::COINIT_APARTMENTTHREADED))) {
        return 0;
    }
    {
        TestRunner runner(input, L"out.xml", L"en");
        (void)runner.ReadInputDocument();
    }
    winapi::CoUninitialize();
    return 0;
}
