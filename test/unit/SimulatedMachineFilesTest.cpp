// The machine's own files in the simulated build: folder searches in the order the profile
// lists the entries, version resources queried by sub-block, the 32-bit registry view of a
// 64-bit Windows, and the refusal of bad "files" fields.

#include "support/ScopedMachine.h"
#include "winapi/Registry.h"
#include "winapi/Version.h"
#include "winapi/Win32.h"
#include "winapi/simulated/profile/MachineProfile.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::string ProblemWith(const std::string& profile)
{
    winapi::sim::Machine machine;
    return winapi::sim::LoadMachineProfile(profile, machine);
}

// Names and whether each is a folder, in the order the search returns them; empty with the
// error when the search does not start.
std::vector<std::wstring> Search(const std::wstring& pattern, winapi::DWORD& error)
{
    std::vector<std::wstring> found;
    winapi::WIN32_FIND_DATAW entry{};
    const winapi::UniqueFindFile search = winapi::FindFirstFileW(pattern, entry);
    if (!search) {
        error = winapi::GetLastError();
        return found;
    }
    do {
        const bool folder = (entry.dwFileAttributes & winapi::FILE_ATTRIBUTE_DIRECTORY) != 0;
        found.push_back(std::wstring(entry.cFileName) + (folder ? L"\\" : L""));
    } while (winapi::FindNextFileW(search.get(), entry));
    error = winapi::GetLastError();
    return found;
}

const std::string FrameworkMachine = R"json({"files": {
    "C:\\Windows\\Microsoft.NET\\Framework\\": {"entries": [".", "..", "v2.0.50727", "v1.1.4322", "netfx.dll"]},
    "c:\\windows\\microsoft.net\\framework\\V1.1.4322": {"entries": []},
    "C:\\Windows\\Microsoft.NET\\Framework\\v2.0.50727": {"entries": ["mscorlib.dll"]},
    "C:\\Windows\\Microsoft.NET\\Framework\\v2.0.50727\\mscorlib.dll": {"version": {
        "translations": ["040904b0", "040704e4"],
        "strings": {"040904B0": {"FileVersion": "2.0.50727.42", "ProductName": "Microsoft .NET Framework"},
                    "040704e4": {"FileVersion": "2.0.50727.42 (de)"}}}}}})json";

TEST(SimulatedMachineFilesTest, FolderSearchesFollowTheListedOrderAndMatchPatterns)
{
    ScopedMachine machine(FrameworkMachine);
    winapi::DWORD error = 0;
    EXPECT_EQ(Search(L"C:\\Windows\\Microsoft.NET\\Framework\\*", error),
              (std::vector<std::wstring>{L".\\", L"..\\", L"v2.0.50727\\", L"v1.1.4322\\", L"netfx.dll"}));
    EXPECT_EQ(error, winapi::ERROR_NO_MORE_FILES);
    EXPECT_EQ(Search(L"c:\\WINDOWS\\Microsoft.NET\\Framework\\V?.*", error),
              (std::vector<std::wstring>{L"v2.0.50727\\", L"v1.1.4322\\"}));
    EXPECT_EQ(Search(L"C:\\Windows\\Microsoft.NET\\Framework\\v3*", error), std::vector<std::wstring>());
    EXPECT_EQ(error, winapi::ERROR_FILE_NOT_FOUND);
    // A folder without entries, an unknown folder, a pattern that ends in a separator.
    EXPECT_EQ(Search(L"C:\\Windows\\Microsoft.NET\\Framework\\v1.1.4322\\*", error), std::vector<std::wstring>());
    EXPECT_EQ(error, winapi::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Search(L"C:\\Windows\\Microsoft.NET\\Framework64\\*", error), std::vector<std::wstring>());
    EXPECT_EQ(error, winapi::ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(Search(L"C:\\Windows\\Microsoft.NET\\Framework\\", error), std::vector<std::wstring>());
    EXPECT_EQ(error, winapi::ERROR_FILE_NOT_FOUND);
}

TEST(SimulatedMachineFilesTest, VersionResourcesAnswerByTranslationAndName)
{
    ScopedMachine machine(FrameworkMachine);
    // "." and ".." resolve as Windows resolves them.
    const std::wstring path = L"C:\\Windows\\Microsoft.NET\\Framework\\v1.1.4322\\..\\.\\v2.0.50727\\MSCORLIB.DLL";
    const winapi::DWORD size = winapi::GetFileVersionInfoSizeW(path);
    ASSERT_GT(size, 0u);
    std::vector<winapi::BYTE> block(size);
    ASSERT_TRUE(winapi::GetFileVersionInfoW(path, block));

    std::span<const winapi::BYTE> translations;
    ASSERT_TRUE(winapi::VerQueryValueW(block, L"\\VarFileInfo\\Translation", translations));
    EXPECT_EQ(std::vector<winapi::BYTE>(translations.begin(), translations.end()),
              (std::vector<winapi::BYTE>{0x09, 0x04, 0xb0, 0x04, 0x07, 0x04, 0xe4, 0x04}));
    std::wstring text;
    ASSERT_TRUE(winapi::VerQueryValueW(block, L"\\StringFileInfo\\040904b0\\FileVersion", text));
    EXPECT_EQ(text, L"2.0.50727.42");
    ASSERT_TRUE(winapi::VerQueryValueW(block, L"\\StringFileInfo\\040704E4\\fileversion", text));
    EXPECT_EQ(text, L"2.0.50727.42 (de)");
    EXPECT_FALSE(winapi::VerQueryValueW(block, L"\\StringFileInfo\\040904b0\\CompanyName", text));
    EXPECT_EQ(text, L"2.0.50727.42 (de)");
    // A block cut short answers nothing past the cut.
    EXPECT_FALSE(winapi::VerQueryValueW(std::span(block).first(block.size() - 1),
                                        L"\\StringFileInfo\\040904b0\\ProductName", text));

    // A file its folder lists has no version resource; a file of no folder does not exist.
    EXPECT_EQ(winapi::GetFileVersionInfoSizeW(L"C:\\Windows\\Microsoft.NET\\Framework\\netfx.dll"), 0u);
    EXPECT_EQ(winapi::GetLastError(), winapi::ERROR_RESOURCE_TYPE_NOT_FOUND);
    EXPECT_EQ(winapi::GetFileVersionInfoSizeW(L"C:\\Windows\\Microsoft.NET\\Framework\\absent.dll"), 0u);
    EXPECT_EQ(winapi::GetLastError(), winapi::ERROR_FILE_NOT_FOUND);
}

TEST(SimulatedMachineFilesTest, A64BitWindowsShowsTheThirtyTwoBitSoftwareKeys)
{
    const std::string keys = R"("SOFTWARE\\Microsoft\\.NETFramework": {}, "HARDWARE\\Description\\System": {})";
    const auto opens = [](const std::wstring& path, winapi::REGSAM access = winapi::KEY_READ) {
        winapi::UniqueRegKey key;
        return winapi::RegOpenKeyExW(winapi::HKEY_LOCAL_MACHINE, path, 0, access, key) ==
               static_cast<winapi::LONG>(winapi::ERROR_SUCCESS);
    };
    // 32-bit Windows: no Wow6432Node, every key as listed.
    ScopedMachine machine("{\"registry\": {" + keys + "}}");
    EXPECT_TRUE(opens(L"SOFTWARE\\Microsoft\\.NETFramework"));

    // A key below Wow6432Node makes a 64-bit Windows: its parents exist too.
    machine.Install("{\"registry\": {" + keys + R"(, "SOFTWARE\\Wow6432Node\\Norvale\\Tessel": {}}})");
    EXPECT_FALSE(opens(L"SOFTWARE\\Microsoft\\.NETFramework"));
    EXPECT_TRUE(opens(L"software\\norvale\\Tessel"));
    EXPECT_TRUE(opens(L"SOFTWARE\\Wow6432Node\\Norvale\\Tessel"));
    EXPECT_TRUE(opens(L"HARDWARE\\Description\\System"));
    // KEY_WOW64_64KEY asks for the 64-bit view.
    EXPECT_TRUE(opens(L"SOFTWARE\\Microsoft\\.NETFramework", winapi::KEY_READ | 0x0100));
    // A key opened below SOFTWARE stays in the view it was opened in.
    winapi::UniqueRegKey software;
    ASSERT_EQ(winapi::RegOpenKeyExW(winapi::HKEY_LOCAL_MACHINE, L"SOFTWARE", 0, winapi::KEY_READ, software),
              static_cast<winapi::LONG>(winapi::ERROR_SUCCESS));
    winapi::UniqueRegKey tessel;
    EXPECT_EQ(winapi::RegOpenKeyExW(software.get(), L"Norvale\\Tessel", 0, winapi::KEY_READ, tessel),
              static_cast<winapi::LONG>(winapi::ERROR_SUCCESS));
}

TEST(SimulatedMachineFilesTest, BadFilesFieldsAreNamed)
{
    EXPECT_EQ(
        ProblemWith(R"({"files": {"Windows\\x.dll": {}}})"),
        "field \"files.Windows\\x.dll\": a machine file's path starts with a drive letter, e.g. \"C:\\\\Windows\"");
    EXPECT_EQ(ProblemWith(R"({"files": {"C:\\A": {}, "c:\\a\\": {}}})"),
              "field \"files.c:\\a\\\": the same path is listed twice");
    EXPECT_EQ(ProblemWith(R"({"files": {"C:\\A": {"entries": "x"}}})"),
              "field \"files.C:\\A.entries\": expected an array of strings");
    EXPECT_EQ(ProblemWith(R"({"files": {"C:\\A": {"entries": [], "version": {}}}})"),
              "field \"files.C:\\A\": a folder (\"entries\") has no version resource");
    EXPECT_EQ(ProblemWith(R"({"files": {"C:\\a.dll": {"size": 1}}})"), "field \"files.C:\\a.dll.size\": unknown field");
    EXPECT_EQ(ProblemWith(R"({"files": {"C:\\a.dll": {"version": {"translations": ["0409"]}}}})"),
              "field \"files.C:\\a.dll.version.translations[0]\": expected a language and a code page as eight "
              "hexadecimal digits, e.g. \"040904b0\"");
    EXPECT_EQ(
        ProblemWith(R"({"files": {"C:\\a.dll": {"version": {"strings": {"0409x4b0": {}}}}}})"),
        "field \"files.C:\\a.dll.version.strings.0409x4b0\": a string table is named by eight hexadecimal digits, "
        "e.g. \"040904b0\"");
    EXPECT_EQ(ProblemWith(R"({"files": {"C:\\a.dll": {"version": {"strings": {"040904b0": {"FileVersion": 2}}}}}})"),
              "field \"files.C:\\a.dll.version.strings.040904b0.FileVersion\": expected a string");
    EXPECT_EQ(ProblemWith(R"({"files": {"C:\\a.dll": {"version": {"language": 1033}}}})"),
              "field \"files.C:\\a.dll.version.language\": unknown field");
}

}  // namespace
