// Loading machine profiles: what a profile gives the simulated calls, and the one clear line a
// bad profile gets.

#include "support/ScopedMachine.h"
#include "winapi/Registry.h"
#include "winapi/Win32.h"
#include "winapi/simulated/profile/MachineProfile.h"
#include "support/ProgramRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <regex>

namespace {

std::string ProblemWith(const std::string& profile)
{
    winapi::sim::Machine machine;
    return winapi::sim::LoadMachineProfile(profile, machine);
}

// Each JSON example of the documentation is a profile, or a part of one (members of its top
// level), and loads as one: none keeps a repeated key or a field the reader would refuse.
TEST(MachineProfileTest, TheDocumentedExamplesLoad)
{
    static const std::regex example("```json\n([\\s\\S]*?)```");
    std::size_t examples = 0;
    for (const auto& document : std::filesystem::directory_iterator(ExamplePath("../docs"))) {
        if (document.path().extension() != ".md") {
            continue;
        }
        const std::string text = ReadFileText(document.path());
        for (auto match = std::sregex_iterator(text.begin(), text.end(), example); match != std::sregex_iterator();
             ++match, ++examples) {
            std::string profile = (*match)[1].str();
            if (!profile.starts_with('{')) {
                profile = '{' + profile + '}';
            }
            EXPECT_EQ(ProblemWith(profile), "") << document.path() << "\n" << profile;
        }
    }
    EXPECT_GE(examples, 10u);
}

// Every machine that ships with the program or its tests loads, so none of them keeps a repeated
// key or a field that the reader would refuse.
TEST(MachineProfileTest, EveryShippedProfileLoads)
{
    std::size_t profiles = 0;
    for (const std::filesystem::path& folder : {ExamplePath("machines"), FixturePath("machines")}) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.path().extension() == ".json") {
                EXPECT_EQ(ProblemWith(ReadFileText(entry.path())), "") << entry.path();
                ++profiles;
            }
        }
    }
    EXPECT_GE(profiles, 20u);
}

TEST(MachineProfileTest, BadProfilesNameTheField)
{
    EXPECT_TRUE(ProblemWith(R"({"systemDirectory": "C:\\W", )").starts_with("not valid JSON: "));
    // A number out of every range is bad JSON too, not the end of the program.
    EXPECT_EQ(ProblemWith(R"({"version": {"major": 1e999}})"),
              "not valid JSON: [json.exception.out_of_range.406] number overflow parsing '1e999'");
    EXPECT_EQ(ProblemWith(R"([1, 2])"), "field \"(top level)\": expected an object");
    EXPECT_EQ(ProblemWith(R"({"sytemDirectory": "C:\\W"})"), "field \"sytemDirectory\": unknown field");
    EXPECT_EQ(ProblemWith(R"({"version": {"major": "6"}})"),
              "field \"version.major\": expected a whole number of 0 or more");
    EXPECT_EQ(ProblemWith(R"({"version": {"major": 6, "colour": 1}})"), "field \"version.colour\": unknown field");
    EXPECT_EQ(ProblemWith(R"({"libraries": ["a.dll", 3]})"), "field \"libraries[1]\": expected a string");
    EXPECT_EQ(ProblemWith(R"({"vmware": "yes"})"), "field \"vmware\": expected true or false");
    EXPECT_EQ(ProblemWith(R"({"registry": {"SOFTWARE\\X": {"values": {"V": {"type": "REG_DWORD", "data": "1"}}}}})"),
              "field \"registry.SOFTWARE\\X.values.V.data\": expected a whole number below 4294967296");
    EXPECT_EQ(ProblemWith(R"({"registry": {"SOFTWARE\\X": {"values": {"V": {"type": "REG_TEXT", "data": ""}}}}})"),
              "field \"registry.SOFTWARE\\X.values.V.type\": expected one of REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, "
              "REG_DWORD, REG_QWORD, REG_BINARY");
    EXPECT_EQ(ProblemWith(R"({"faults": [{"call": "GetVersionEx", "error": 5}]})"),
              "field \"faults[0].call\": no simulated call is named \"GetVersionEx\"");
    EXPECT_EQ(ProblemWith(R"({"wmi": {"Win32_PnPEntity": {"deviceQueries": {"USB\\1": {"faults": {"Get": 5}}}}}})"),
              "field \"wmi.Win32_PnPEntity.deviceQueries.USB\\1.faults.Get\": no call of this object is named so; "
              "expected one of ExecQuery, Next");
    // A repeated key is refused wherever it is, before any field is read: parsing keeps only one.
    EXPECT_EQ(ProblemWith(R"({"vmware": true, "vmware": false})"),
              "field \"vmware\": repeated in its object; each field is named once");
    EXPECT_EQ(ProblemWith(R"({"wmi": {"Win32_BIOS": [], "Win32_Battery": [], "Win32_BIOS": [{}]}})"),
              "field \"wmi.Win32_BIOS\": repeated in its object; each field is named once");
    EXPECT_EQ(ProblemWith(R"({"colour": [[1, {"a": 1, "b": 1}], {"a": 1}, {"b": {"c": 1}, "a": 1, "b": 2}]})"),
              "field \"colour[2].b\": repeated in its object; each field is named once");
    EXPECT_EQ(ProblemWith(R"({"faults": [{"call": "GetVersionExW", "error": "0xZZ"}]})"),
              "field \"faults[0].error\": expected an error code: a number, or a string such as \"0x80004005\"");
}

TEST(MachineProfileTest, RegistryValuesAnswerWithTheWindowsBufferRules)
{
    const ScopedMachine machine(R"({"registry": {"HARDWARE\\Description\\System": {"values": {
        "SystemBiosVersion": {"type": "REG_MULTI_SZ", "data": ["A", "BC"]},
        "Count": {"type": "REG_DWORD", "data": 7}}}}})");

    winapi::UniqueRegKey parent;
    EXPECT_EQ(winapi::RegOpenKeyExW(winapi::HKEY_LOCAL_MACHINE, L"hardware\\DESCRIPTION", 0, winapi::KEY_READ, parent),
              static_cast<winapi::LONG>(winapi::ERROR_SUCCESS));
    winapi::UniqueRegKey missing;
    EXPECT_EQ(winapi::RegOpenKeyExW(winapi::HKEY_LOCAL_MACHINE, L"HARDWARE\\Nothing", 0, winapi::KEY_READ, missing),
              static_cast<winapi::LONG>(winapi::ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(missing.is_valid());

    winapi::UniqueRegKey key;
    ASSERT_EQ(winapi::RegOpenKeyExW(parent.get(), L"System", 0, winapi::KEY_QUERY_VALUE, key),
              static_cast<winapi::LONG>(winapi::ERROR_SUCCESS));
    winapi::DWORD size = 0;
    winapi::DWORD type = 0;
    EXPECT_EQ(winapi::RegQueryValueExW(key.get(), L"SystemBiosVersion", &type, {}, size),
              static_cast<winapi::LONG>(winapi::ERROR_SUCCESS));
    EXPECT_EQ(type, winapi::REG_MULTI_SZ);
    // Text comes as Windows stores it: 16-bit characters.
    EXPECT_EQ(size, 12u);
    std::array<winapi::BYTE, 4> small{};
    winapi::DWORD smallSize = 0;
    EXPECT_EQ(winapi::RegQueryValueExW(key.get(), L"SystemBiosVersion", nullptr, small, smallSize),
              static_cast<winapi::LONG>(winapi::ERROR_MORE_DATA));
    EXPECT_EQ(smallSize, size);
    std::vector<winapi::BYTE> buffer(size);
    EXPECT_EQ(winapi::RegQueryValueExW(key.get(), L"SystemBiosVersion", nullptr, buffer, size),
              static_cast<winapi::LONG>(winapi::ERROR_SUCCESS));
    EXPECT_EQ(buffer, (std::vector<winapi::BYTE>{'A', 0, 0, 0, 'B', 0, 'C', 0, 0, 0, 0, 0}));
}

TEST(MachineProfileTest, FaultsStartAfterTheGivenNumberOfCalls)
{
    const ScopedMachine machine(
        R"({"systemDirectory": "C:\\W", "faults": [{"call": "getsystemdirectoryw", "error": 5, "after": 1}]})");
    std::array<wchar_t, 260> buffer{};
    EXPECT_EQ(winapi::GetSystemDirectoryW(buffer), 4u);
    EXPECT_EQ(std::wstring(buffer.data()), L"C:\\W");
    EXPECT_EQ(winapi::GetSystemDirectoryW(buffer), 0u);
    EXPECT_EQ(winapi::GetLastError(), winapi::ERROR_ACCESS_DENIED);
    EXPECT_EQ(winapi::GetSystemDirectoryW(buffer), 0u);
}

}  // namespace
