#include "capture/CaptureMain.h"

#include "capture/CaptureLog.h"
#include "capture/FilesCapture.h"
#include "capture/JsonWriter.h"
#include "capture/ProfilePrivacy.h"
#include "capture/StorageCapture.h"
#include "capture/SystemCapture.h"
#include "capture/SystemPartCapture.h"
#include "capture/WmiCapture.h"
#include "platform/Console.h"
#include "winapi/UniqueCoInit.h"
#include "winapi/Utf8.h"
#include "winapi/Win32.h"

#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

// Without -o the profile is named after the computer (COMPUTERNAME.json), so that a share of
// captures maps back to its PCs; where the name cannot be read, machine-profile.json.
constexpr std::wstring_view ProfileExtension = L".json";
constexpr std::wstring_view NamelessProfileName = L"machine-profile.json";
constexpr std::wstring_view Description = L"Captured by TarnwickCapture";
constexpr std::string_view UsageMessage =
    "Usage: TarnwickCapture.exe [-o profileFile] [-k]\n"
    "Records what the Tarnwick checks read of this machine as a machine profile (default %wS,\n"
    "named after the computer). The computer's name, device serial numbers, disk signatures and\n"
    "identifiers and mount folders go into it as stand-ins; -k keeps their real values.\n";
constexpr std::string_view ComFailedMessage = "CoInitializeEx failed...aborting the capture\n";
constexpr std::string_view SaveFailedMessage = "The machine profile could not be written to %wS\n";
constexpr std::string_view WrittenMessage = "Machine profile written to %wS\n";
constexpr std::string_view HoldsMessage = "It holds:\n";
constexpr std::string_view HoldsLine = "  %wS\n";
constexpr int Failure = 1;

std::wstring DefaultProfileName()
{
    std::wstring computerName;
    if (winapi::GetComputerNameW(computerName) && !computerName.empty()) {
        return computerName + std::wstring(ProfileExtension);
    }
    return std::wstring(NamelessProfileName);
}

// The profile's path from its text and back, by way of UTF-8, which the file system takes as it
// is on every system: elsewhere than on Windows a wide path would be converted by the process's
// locale, which may lack a letter of the computer's name.
std::filesystem::path ProfileFilePath(const std::wstring& text)
{
    const std::string utf8 = winapi::ToUtf8(text);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::wstring PathText(const std::filesystem::path& path)
{
    const std::u8string utf8 = path.u8string();
    return winapi::FromUtf8(std::string(utf8.begin(), utf8.end()));
}

bool ParseCommandLine(std::wstring& profilePath, bool& keepRealValues)
{
    const std::vector<std::wstring> arguments = winapi::CommandLineToArgvW(winapi::GetCommandLineW());
    for (std::size_t index = 1; index < arguments.size(); ++index) {
        if (arguments[index] == L"-o" && index + 1 < arguments.size()) {
            profilePath = arguments[++index];
        } else if (arguments[index] == L"-k") {
            keepRealValues = true;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string CaptureMachineProfile(CaptureLog& log, ProfilePrivacy& privacy)
{
    JsonWriter writer;
    writer.BeginObject();
    writer.Key("description");
    writer.String(Description);
    CaptureSystem(writer, log);
    CaptureSystemPart(writer, log);
    CaptureFiles(writer, log);
    CaptureWmi(writer, log, privacy);
    CaptureStorage(writer, log, privacy);
    writer.Key("faults");
    log.WriteFaults(writer);
    writer.EndObject();
    return writer.Text() + "\n";
}

int TarnwickCaptureMain()
{
    std::wstring profilePath = DefaultProfileName();
    bool keepRealValues = false;
    if (!ParseCommandLine(profilePath, keepRealValues)) {
        ConsolePrintf(UsageMessage, DefaultProfileName());
        return Failure;
    }
    winapi::SetErrorMode(winapi::SEM_FAILCRITICALERRORS);
    CaptureLog log;
    ProfilePrivacy privacy(keepRealValues);
    std::string profile;
    {
        const winapi::UniqueCoInit com(winapi::COINIT_APARTMENTTHREADED);
        if (!com.Entered()) {
            ConsolePrintf(ComFailedMessage);
            return Failure;
        }
        profile = CaptureMachineProfile(log, privacy);
    }

    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(ProfileFilePath(profilePath), error);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << profile;
    file.close();
    if (!file) {
        ConsolePrintf(SaveFailedMessage, PathText(path));
        return Failure;
    }
    ConsolePrintf(WrittenMessage, PathText(path));
    ConsolePrintf(HoldsMessage);
    for (const std::string& line : log.SummaryLines()) {
        ConsolePrintf(HoldsLine, winapi::FromUtf8(line));
    }
    return 0;
}
