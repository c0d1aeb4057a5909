#pragma once
// Records the system part the checks read: processor, the functions of later releases, edition,
// memory, the process token, BITS and whether the machine is a VMware virtual machine.

#include "capture/CaptureLog.h"
#include "capture/JsonWriter.h"

// Writes the members "processorArchitecture", "kernel32Functions", "productInfoType",
// "serverR2", "totalPhysicalMemory", "administrator", "linkedToken", "bits" and "vmware" of the
// profile object being written. COM must be initialised on the thread.
void CaptureSystemPart(JsonWriter& writer, CaptureLog& log);
