// What a run leaves in the simulated process is gone after the reset a fleet worker makes between
// machines: the next machine meets the process a separate run would start with.

#include "support/ScopedMachine.h"
#include "checks/disk/ContiguousFreeHardDiskSpaceTest.h"
#include "checks/disk/FreeHardDiskSpaceTest.h"
#include "checks/system/MemoryTest.h"
#include "framework/TestRegistry.h"
#include "winapi/Com.h"
#include "winapi/Registry.h"
#include "winapi/Win32.h"
#include "winapi/simulated/ProcessReset.h"
#include "winapi/simulated/system/CommandLine.h"
#include "winapi/simulated/wmi/WmiJournal.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using namespace winapi;

TEST(ProcessResetTest, TheNextMachineMeetsAFreshProcess)
{
    const ScopedMachine machine(R"({"registry": {"SOFTWARE\\Left": {"values": {}}}})");
    // What a run may leave behind: a key it never closed, an apartment it never left, its last
    // error and error mode, journal entries, its command line and the document's requirements.
    UniqueRegKey leftOpen;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Left", 0, KEY_READ, leftOpen), ERROR_SUCCESS);
    ASSERT_EQ(CoInitializeEx(COINIT_APARTMENTTHREADED), S_OK);
    SetLastError(ERROR_ACCESS_DENIED);
    SetErrorMode(SEM_FAILCRITICALERRORS);
    sim::RecordWmiEvent(L"ConnectServer");
    sim::SetProcessCommandLine(L"tarnwick -i left.xml");
    FreeHardDiskSpaceTest::freeSpaceNeededMB = 1;
    ContiguousFreeHardDiskSpaceTest::contiguousSpaceNeededMB = 1;
    MemoryTest::memoryNeededMB = 1;

    sim::ResetSimulatedProcess();
    ResetTestSettings();

    // First: the calls below may leave an error of their own, as on Windows.
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    EXPECT_TRUE(sim::CurrentMachine().registry.empty());
    std::array<BYTE, 4> data{};
    DWORD size = data.size();
    EXPECT_EQ(RegQueryValueExW(leftOpen.get(), L"", nullptr, data, size), ERROR_INVALID_HANDLE);
    static_cast<void>(leftOpen.release());
    // A fresh apartment: entered anew, not once more.
    EXPECT_EQ(CoInitializeEx(COINIT_APARTMENTTHREADED), S_OK);
    CoUninitialize();
    EXPECT_EQ(SetErrorMode(0), 0u);
    EXPECT_TRUE(sim::TakeWmiJournal().empty());
    EXPECT_EQ(GetCommandLineW(), L"");
    EXPECT_EQ(FreeHardDiskSpaceTest::freeSpaceNeededMB, FreeHardDiskSpaceTest::DefaultFreeSpaceNeededMB);
    EXPECT_EQ(ContiguousFreeHardDiskSpaceTest::contiguousSpaceNeededMB,
              ContiguousFreeHardDiskSpaceTest::DefaultContiguousSpaceNeededMB);
    EXPECT_EQ(MemoryTest::memoryNeededMB, MemoryTest::DefaultMemoryNeededMB);
}

}  // namespace
