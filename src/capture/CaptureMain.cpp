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
#include "winapi/Com.h"
#include "winapi/Utf8.h"
#include "winapi/Win32.h"

#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

constexpr std::wstring_view DefaultProfileName = L"machine-profile.json";
constexpr std::wstring_view Description = L"Captured by TarnwickCapture";
constexpr std::string_view UsageMessage =
    "Usage: TarnwickCapture.exe [-o profileFile] [-k]\n"
    "Records what the Tarnwick checks read of this machine as a machine profile (default %wS).\n"
    "The computer's name, device serial numbers, disk signatures and identifiers and mount folders\n"
    "go into it as stand-ins; -k keeps their real values.\n";
constexpr std::string_view ComFailedMessage = "CoInitializeEx failed...aborting the capture\n";
constexpr std::string_view SaveFailedMessage = "The machine profile could not be written to %wS\n";
constexpr std::string_view WrittenMessage = "Machine profile written to %wS\n";
constexpr std::string_view HoldsMessage = "It holds:\n";
constexpr std::string_view HoldsLine = "  %wS\n";
constexpr int Failure = 1;

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
    std::wstring profilePath(DefaultProfileName);
    bool keepRealValues = false;
    if (!ParseCommandLine(profilePath, keepRealValues)) {
        ConsolePrintf(UsageMessage, std::wstring(DefaultProfileName));
        return Failure;
    }
    winapi::SetErrorMode(winapi::SEM_FAILCRITICALERRORS);
    if (winapi::FAILED(winapi::CoInitializeEx(winapi::COINIT_APARTMENTTHREADED))) {
        ConsolePrintf(ComFailedMessage);
        return Failure;
    }
    CaptureLog log;
    ProfilePrivacy privacy(keepRealValues);
    const std::string profile = CaptureMachineProfile(log, privacy);
    winapi::CoUninitialize();

    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(std::filesystem::path(profilePath), error);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << profile;
    file.close();
    if (!file) {
        ConsolePrintf(SaveFailedMessage, path.wstring());
        return Failure;
    }
    ConsolePrintf(WrittenMessage, path.wstring());
    ConsolePrintf(HoldsMessage);
    for (const std::string& line : log.SummaryLines()) {
        ConsolePrintf(HoldsLine, winapi::FromUtf8(line));
    }
    return 0;
}
