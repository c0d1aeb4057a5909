#pragma once
// Records the machine's own files that the checks inspect: the .NET Framework folder with the
// version resource of mscorlib.dll in each of its subfolders.

#include "capture/CaptureLog.h"
#include "capture/JsonWriter.h"

// Writes the member "files" of the profile object being written.
void CaptureFiles(JsonWriter& writer, CaptureLog& log);
