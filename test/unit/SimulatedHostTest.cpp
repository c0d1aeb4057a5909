// The simulated process's view of the host's files and of its COM apartment, which the run
// mode's checks for existing and unwritable results depend on.

#include "support/ScratchFolder.h"
#include "winapi/Com.h"
#include "winapi/simulated/files/HostFiles.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::wstring> Matches(const ScratchFolder& folder, const std::wstring& pattern)
{
    std::vector<winapi::sim::FoundEntry> entries;
    std::vector<std::wstring> names;
    if (winapi::sim::FindHostEntries(folder.Path().wstring() + L"/" + pattern, entries) == winapi::ERROR_SUCCESS) {
        for (const auto& entry : entries) {
            names.push_back(entry.name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(SimulatedHostTest, PatternsMatchAsWindowsDoes)
{
    ScratchFolder folder;
    folder.Write("out.xml", "");
    folder.Write("Out1.XML", "");
    folder.Write("results.txt", "");
    using Names = std::vector<std::wstring>;
    EXPECT_EQ(Matches(folder, L"out.xml"), Names{L"out.xml"});
    EXPECT_EQ(Matches(folder, L"*.xml"), (Names{L"Out1.XML", L"out.xml"}));
    EXPECT_EQ(Matches(folder, L"out?.xml"), Names{L"Out1.XML"});
    EXPECT_EQ(Matches(folder, L"*.*"), (Names{L"Out1.XML", L"out.xml", L"results.txt"}));
    EXPECT_EQ(Matches(folder, L"r*s*t"), Names{L"results.txt"});
    EXPECT_EQ(Matches(folder, L"none*"), Names{});

    std::vector<winapi::sim::FoundEntry> entries;
    EXPECT_EQ(winapi::sim::FindHostEntries(folder.Path().wstring() + L"/missing/out.xml", entries),
              winapi::ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(winapi::sim::FindHostEntries(folder.Path().wstring() + L"/other.xml", entries),
              winapi::ERROR_FILE_NOT_FOUND);
}

TEST(SimulatedHostTest, DeletionFailsWithTheWindowsErrors)
{
    ScratchFolder folder;
    const std::wstring base = folder.Path().wstring() + L"/";
    const auto readOnly = folder.Write("locked.xml", "x");
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read);
    std::filesystem::create_directory(folder.Path() / "folder.xml");
    folder.Write("plain.xml", "x");

    EXPECT_EQ(winapi::sim::DeleteHostFile(base + L"absent.xml"), winapi::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(winapi::sim::DeleteHostFile(base + L"no\\such\\absent.xml"), winapi::ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(winapi::sim::DeleteHostFile(base + L"folder.xml"), winapi::ERROR_ACCESS_DENIED);
    EXPECT_EQ(winapi::sim::DeleteHostFile(base + L"locked.xml"), winapi::ERROR_ACCESS_DENIED);
    EXPECT_TRUE(folder.Exists("locked.xml"));
    EXPECT_EQ(winapi::sim::DeleteHostFile(base + L"plain.xml"), winapi::ERROR_SUCCESS);
    EXPECT_FALSE(folder.Exists("plain.xml"));
}

TEST(SimulatedHostTest, ApartmentCountsNestedInitialisations)
{
    EXPECT_EQ(winapi::CoInitializeEx(winapi::COINIT_APARTMENTTHREADED), winapi::S_OK);
    EXPECT_EQ(winapi::CoInitialize(), winapi::S_FALSE);
    // COINIT_MULTITHREADED is 0: another model than the thread already has.
    EXPECT_EQ(winapi::CoInitializeEx(0), winapi::RPC_E_CHANGED_MODE);
    winapi::CoUninitialize();
    winapi::CoUninitialize();
    EXPECT_EQ(winapi::CoInitializeEx(0), winapi::S_OK);
    winapi::CoUninitialize();
}

}  // namespace
