#include "winapi/simulated/ProcessReset.h"

namespace winapi::sim {

void ResetSimulatedProcess()
{
    ResetWin32State();
    ResetRegistryKeys();
    ResetHostFiles();
    ResetOpenDevices();
    ResetVolumeSearches();
    ResetDeviceLists();
    ResetOpenTokens();
    ResetProcessCommandLine();
    ResetApartment();
    ResetWmiJournal();
    ResetMachine();
}

}  // namespace winapi::sim
