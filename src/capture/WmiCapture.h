#pragma once
// Records the instances of the WMI classes the checks query, with the properties they read.

#include "capture/CaptureLog.h"
#include "capture/JsonWriter.h"
#include "capture/ProfilePrivacy.h"

// Writes the member "wmi" of the profile object being written. A class WMI does not know is left
// out, as it is unknown in the replay too. The queries ask with the real device identifiers; the
// profile holds them as privacy gives them. COM must be initialised on the thread.
void CaptureWmi(JsonWriter& writer, CaptureLog& log, ProfilePrivacy& privacy);
