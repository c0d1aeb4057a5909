// The system part of the simulated machine as the checks meet it: the BITS calls of a whole
// BitsAdminTest run (the job is cancelled and never resumed), the Windows rules of the token
// calls, both version records, the functions looked up by name, and the refusals of a bad
// system profile.

#include "support/ScopedMachine.h"
#include "checks/system/BitsAdminTest.h"
#include "checks/system/MemoryTest.h"
#include "winapi/Com.h"
#include "winapi/Security.h"
#include "winapi/SystemInfo.h"
#include "winapi/Win32.h"
#include "winapi/simulated/profile/MachineProfile.h"
#include "winapi/simulated/wmi/WmiJournal.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace {

using namespace winapi;

std::string ProblemWith(const std::string& profile)
{
    sim::Machine machine;
    return sim::LoadMachineProfile(profile, machine);
}

const std::vector<std::wstring> JobCalls{
    L"CoCreateInstance(BackgroundCopyManager) 4",
    L"CreateJob TarnwickDownloadTest 0",
    L"AddFile http://download.tarnwick.example/bin/tessel/blahghah.xml C:\\tempFile.xml",
    L"Cancel",
    L"Release IBackgroundCopyManager",
    L"Release IBackgroundCopyJob",
};

TEST(SimulatedSystemTest, BitsJobIsCancelledAfterItsOneFileAndNeverResumed)
{
    for (const char* addFileFault : {"", R"(, "faults": [{"call": "AddFile", "error": "0x800704DD"}])",
                                     R"(, "faults": [{"call": "AddFile", "error": "0x80070005"}])"}) {
        SCOPED_TRACE(addFileFault);
        ScopedMachine machine(std::string(R"({"bits": true)") + addFileFault + "}");
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(COINIT_APARTMENTTHREADED)));
        BitsAdminTest test(std::vector<std::wstring>{});
        test.SetDescriptiveSolution(L"log on");
        const bool passed = test.Run();
        CoUninitialize();
        EXPECT_EQ(sim::CurrentMachine().system.bitsCalls, JobCalls);
        EXPECT_EQ(passed, std::string(addFileFault).find("04DD") == std::string::npos);
        EXPECT_EQ(test.HasSolution(), !passed);
    }
}

TEST(SimulatedSystemTest, BitsAnswersWhatAMachineRecordsForTheJobAndTheFile)
{
    for (const auto& [bits, passes] :
         {std::pair{R"({"addFile": "0x800704DD"})", false}, std::pair{R"({"addFile": "0x80070005"})", true},
          std::pair{R"({"createJob": "0x80070005", "addFile": "0x800704DD"})", true}}) {
        SCOPED_TRACE(bits);
        ScopedMachine machine(std::string(R"({"bits": )") + bits + "}");
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(COINIT_APARTMENTTHREADED)));
        BitsAdminTest test(std::vector<std::wstring>{});
        EXPECT_EQ(test.Run(), passes);
        CoUninitialize();
    }
}

TEST(SimulatedSystemTest, BitsManagerThatCannotBeCreatedLeavesNothingToRelease)
{
    ScopedMachine machine(R"({"bits": false})");
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(COINIT_APARTMENTTHREADED)));
    BitsAdminTest test(std::vector<std::wstring>{});
    EXPECT_TRUE(test.Run());
    CoUninitialize();
    EXPECT_EQ(sim::CurrentMachine().system.bitsCalls, std::vector<std::wstring>{JobCalls.front()});
    EXPECT_FALSE(test.HasMoreInfo());
}

// The memory diagnostics set up WMI once and run their three queries on the one connection, each
// walked to its end and released before the next; the connection goes last.
TEST(SimulatedSystemTest, MemoryDiagnosticsQueryWmiInTheirOrderAndReleaseAll)
{
    ScopedMachine machine(R"({"version": {"major": 5, "minor": 1, "platformId": 2}, "totalPhysicalMemory": 536870912,
                "wmi": {"Win32_ComputerSystem": [{"TotalPhysicalMemory": {"uint64": 536870912}}],
                        "Win32_OperatingSystem": [{"TotalVisibleMemorySize": {"uint64": 523760}}],
                        "Win32_PhysicalMemory": [{"Capacity": {"uint64": 268435456}}, {"Capacity": {"uint64": 268435456}}]}})");
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(COINIT_APARTMENTTHREADED)));
    (void)sim::TakeWmiJournal();
    MemoryTest test(std::vector<std::wstring>{});
    EXPECT_TRUE(test.Run());
    CoUninitialize();
    const auto walk = [](const std::wstring& className, const std::wstring& property, int instances) {
        std::vector<std::wstring> events{L"ExecQuery WQL 48 SELECT * from " + className};
        for (int i = 0; i < instances; ++i) {
            events.insert(events.end(), {L"Next -1", L"Get " + property, L"Release IWbemClassObject"});
        }
        events.insert(events.end(), {L"Next -1", L"Release IEnumWbemClassObject"});
        return events;
    };
    std::vector<std::wstring> expected{L"CoInitializeSecurity -1 0 3 0", L"CoCreateInstance(WbemLocator)",
                                       L"ConnectServer ROOT\\CIMV2", L"CoSetProxyBlanket 10 0 3 3 0"};
    for (const auto& events : {walk(L"Win32_ComputerSystem", L"TotalPhysicalMemory", 1),
                               walk(L"Win32_OperatingSystem", L"TotalVisibleMemorySize", 1),
                               walk(L"Win32_PhysicalMemory", L"Capacity", 2)}) {
        expected.insert(expected.end(), events.begin(), events.end());
    }
    expected.insert(expected.end(), {L"Release IWbemServices", L"Release IWbemLocator"});
    EXPECT_EQ(sim::TakeWmiJournal(), expected);
}

TEST(SimulatedSystemTest, LinkedTokenNeedsABufferOfAHandlesSize)
{
    ScopedMachine machine(R"({"version": {"major": 6, "minor": 1, "platformId": 2}, "linkedToken": "administrator"})");
    UniqueToken process;
    ASSERT_TRUE(OpenProcessToken(TOKEN_QUERY, process));

    // Four bytes hold a handle of the 32-bit program only; here a handle takes eight.
    std::array<BYTE, 4> small{};
    DWORD returned = 0;
    EXPECT_EQ(GetTokenInformation(process.get(), TokenLinkedToken, small, returned) != FALSE, sizeof(HANDLE) == 4);
    std::array<BYTE, sizeof(HANDLE)> buffer{};
    ASSERT_TRUE(GetTokenInformation(process.get(), TokenLinkedToken, buffer, returned));
    EXPECT_EQ(returned, sizeof(HANDLE));
    HANDLE linkedHandle = nullptr;
    std::memcpy(&linkedHandle, buffer.data(), sizeof(linkedHandle));
    const UniqueToken linked(linkedHandle);

    std::array<BYTE, SECURITY_MAX_SID_SIZE> sid{};
    DWORD sidSize = 8;
    EXPECT_FALSE(CreateWellKnownSid(WinBuiltinAdministratorsSid, sid, sidSize));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    sidSize = static_cast<DWORD>(sid.size());
    ASSERT_TRUE(CreateWellKnownSid(WinBuiltinAdministratorsSid, sid, sidSize));
    EXPECT_EQ(sidSize, 16u);

    const std::span<const BYTE> administrators(sid.data(), sidSize);
    BOOL member = FALSE;
    ASSERT_TRUE(CheckTokenMembership(linked.get(), administrators, member));
    EXPECT_EQ(member, TRUE);
    ASSERT_TRUE(CheckTokenMembership(nullptr, administrators, member));
    EXPECT_EQ(member, FALSE);
    // A process token is a primary token, which CheckTokenMembership refuses.
    EXPECT_FALSE(CheckTokenMembership(process.get(), administrators, member));
    EXPECT_EQ(GetLastError(), 1309u);
}

TEST(SimulatedSystemTest, LinkedTokensCameWithVersion6)
{
    ScopedMachine machine(R"({"version": {"major": 5, "minor": 1, "platformId": 2}, "linkedToken": "administrator"})");
    UniqueToken process;
    ASSERT_TRUE(OpenProcessToken(TOKEN_QUERY, process));
    std::array<BYTE, sizeof(HANDLE)> buffer{};
    DWORD returned = 0;
    EXPECT_FALSE(GetTokenInformation(process.get(), TokenLinkedToken, buffer, returned));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    // The first machine's token goes with its process.
    static_cast<void>(process.release());
    machine.Install(R"({"version": {"major": 6, "minor": 1, "platformId": 2}})");
    ASSERT_TRUE(OpenProcessToken(TOKEN_QUERY, process));
    EXPECT_FALSE(GetTokenInformation(process.get(), TokenLinkedToken, buffer, returned));
    EXPECT_EQ(GetLastError(), ERROR_NO_SUCH_LOGON_SESSION);
}

TEST(SimulatedSystemTest, BasicAndExtendedVersionRecordsEachNeedTheirOwnSize)
{
    ScopedMachine machine(
        R"({"version": {"major": 5, "minor": 1, "build": 2600, "platformId": 2, "servicePack": "Service Pack 3",
                            "suiteMask": 256, "productType": 1}})");
    OSVERSIONINFOW basic{};
    basic.dwOSVersionInfoSize = OSVERSIONINFOW_SIZE;
    ASSERT_TRUE(GetVersionExW(basic));
    EXPECT_EQ(basic.dwBuildNumber, 2600u);
    EXPECT_EQ(std::wstring(basic.szCSDVersion), L"Service Pack 3");
    basic.dwOSVersionInfoSize = OSVERSIONINFOEXW_SIZE;
    EXPECT_FALSE(GetVersionExW(basic));

    OSVERSIONINFOEXW extended{};
    extended.dwOSVersionInfoSize = OSVERSIONINFOW_SIZE;
    EXPECT_FALSE(GetVersionExW(extended));
    extended.dwOSVersionInfoSize = OSVERSIONINFOEXW_SIZE;
    ASSERT_TRUE(GetVersionExW(extended));
    EXPECT_EQ(extended.wSuiteMask, 256);
}

TEST(SimulatedSystemTest, FunctionsOfLaterReleasesAreFoundOnlyWhereTheMachineHasThem)
{
    ScopedMachine machine(R"({"processorArchitecture": "AMD64", "kernel32Functions": ["GetNativeSystemInfo"],
                "totalPhysicalMemory": 536870912})");
    const HMODULE kernel32 = GetModuleHandleW(L"KERNEL32.DLL");
    ASSERT_NE(kernel32, nullptr);
    EXPECT_EQ(GetModuleHandleW(L"ondrel.dll"), nullptr);
    EXPECT_EQ(GetProcAddress(kernel32, "GetProductInfo"), nullptr);
    EXPECT_EQ(GetLastError(), 127u);
    const auto getNativeSystemInfo = reinterpret_cast<GetNativeSystemInfoFunction>(
        reinterpret_cast<void*>(GetProcAddress(kernel32, "GetNativeSystemInfo")));
    ASSERT_NE(getNativeSystemInfo, nullptr);
    SYSTEM_INFO info{};
    getNativeSystemInfo(&info);
    EXPECT_EQ(info.wProcessorArchitecture, PROCESSOR_ARCHITECTURE_AMD64);
    // The 32-bit program, asking the ordinary way, is told of an Intel processor.
    GetSystemInfo(info);
    EXPECT_EQ(info.wProcessorArchitecture, PROCESSOR_ARCHITECTURE_INTEL);

    MEMORYSTATUSEX status{};
    status.dwLength = 60;
    EXPECT_FALSE(GlobalMemoryStatusEx(status));
    status.dwLength = MEMORYSTATUSEX_SIZE;
    ASSERT_TRUE(GlobalMemoryStatusEx(status));
    EXPECT_EQ(status.ullTotalPhys, 536870912u);
}

TEST(SimulatedSystemTest, BadSystemFieldsAreNamed)
{
    EXPECT_EQ(ProblemWith(R"({"processorArchitecture": "ARM"})"),
              "field \"processorArchitecture\": expected INTEL, IA64, AMD64 or a whole number below 65536");
    EXPECT_EQ(ProblemWith(R"({"kernel32Functions": ["GetTickCount64"]})"),
              "field \"kernel32Functions\": expected GetNativeSystemInfo or GetProductInfo, not \"GetTickCount64\"");
    EXPECT_EQ(ProblemWith(R"({"linkedToken": "root"})"),
              "field \"linkedToken\": expected administrator or standardUser");
    EXPECT_EQ(ProblemWith(R"({"totalPhysicalMemory": -1})"),
              "field \"totalPhysicalMemory\": expected a whole number of 0 or more");
    EXPECT_EQ(ProblemWith(R"({"bits": "yes"})"),
              "field \"bits\": expected true, false or an object of createJob and addFile");
    EXPECT_EQ(ProblemWith(R"({"bits": {"addFile": 5, "resume": 1}})"), "field \"bits.resume\": unknown field");
}

}  // namespace
