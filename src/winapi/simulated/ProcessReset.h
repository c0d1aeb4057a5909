#pragma once
// The simulated process as a program finds it when it starts. A separate run of a program starts
// a fresh process; what runs machine after machine in one process (a worker of tarnwick-fleet, the
// hostile-machine fuzz target, a test's ScopedMachine) puts back every process-wide part of the
// simulated platform between them instead. Each part is put
// back by the module that owns it; ResetSimulatedProcess does them all.

namespace winapi::sim {

// files/SimulatedWin32.cpp: the last error, the error mode and the open find handles.
void ResetWin32State();
// files/SimulatedRegistry.cpp: the open registry keys.
void ResetRegistryKeys();
// files/HostFiles.cpp: the open host files, whose descriptors are closed.
void ResetHostFiles();
// storage/SimulatedDevices.cpp: the open volume and drive devices.
void ResetOpenDevices();
// storage/SimulatedVolumes.cpp: the open volume and mount point searches.
void ResetVolumeSearches();
// system/SimulatedSetupApi.cpp: the open device information lists.
void ResetDeviceLists();
// system/SimulatedSecurity.cpp: the open tokens.
void ResetOpenTokens();
// system/CommandLine.cpp: the process command line.
void ResetProcessCommandLine();
// com/SimulatedComState.cpp: the thread's COM apartment.
void ResetApartment();
// wmi/WmiJournal.cpp: the recorded WMI calls.
void ResetWmiJournal();
// SimulatedMachine.cpp: the installed machine (an empty one) and the sequence of handle values.
void ResetMachine();

// All of the above.
void ResetSimulatedProcess();

}  // namespace winapi::sim
