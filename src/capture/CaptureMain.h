#pragma once

#include <string>

// TarnwickCapture: records what the checks read of the machine it runs on as a machine profile,
// which the simulated build replays elsewhere. Returns the process exit code: 0 when the profile
// was written, 1 for a bad command line, COM that cannot start or a profile that cannot be saved.
int TarnwickCaptureMain();

// The whole profile of the machine the program runs on, as JSON text, with what it holds
// counted in log and what would name the person or a device replaced as privacy says. COM must
// be initialised on the thread.
class CaptureLog;
class ProfilePrivacy;
[[nodiscard]] std::string CaptureMachineProfile(CaptureLog& log, ProfilePrivacy& privacy);
