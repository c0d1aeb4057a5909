#pragma once
// Records the machine's system facts the checks read: the version record, the system and
// Program Files folders, the libraries and the registry.

#include "capture/CaptureLog.h"
#include "capture/JsonWriter.h"

// Writes the members "systemDirectory", "programFilesFolder", "version", "libraries" and
// "registry" of the profile object being written; a part the machine cannot give is left out
// and its failure noted.
void CaptureSystem(JsonWriter& writer, CaptureLog& log);
