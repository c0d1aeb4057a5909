// The cost of one identity read through WmiQuery on the simulated default machine: a whole
// connection, query and property read per call, as the list checks do it.

#include "platform/WmiQuery.h"
#include "winapi/Com.h"
#include "winapi/simulated/profile/DefaultMachine.h"
#include "winapi/simulated/profile/MachineProfile.h"
#include "winapi/simulated/wmi/WmiJournal.h"

#include <benchmark/benchmark.h>

namespace {

void GetWmiPropertyOfTheFirstProcessor(benchmark::State& state)
{
    winapi::sim::Machine machine;
    if (!winapi::sim::LoadMachineProfile(winapi::sim::DefaultMachineProfile(), machine).empty()) {
        state.SkipWithError("the default machine profile does not load");
        return;
    }
    winapi::sim::InstallMachine(std::move(machine));
    (void)winapi::CoInitializeEx(winapi::COINIT_APARTMENTTHREADED);
    for (auto _ : state) {
        winapi::Variant name;
        benchmark::DoNotOptimize(GetWmiProperty(L"Win32_Processor", L"Name", name));
        benchmark::DoNotOptimize(name);
        // The simulated journal would otherwise grow with every call.
        benchmark::DoNotOptimize(winapi::sim::TakeWmiJournal());
    }
    winapi::CoUninitialize();
}
BENCHMARK(GetWmiPropertyOfTheFirstProcessor);

}  // namespace
