#pragma once
// Records the machine's storage as the checks see it: physical drives (descriptor, length,
// partition table, sector 0), volumes (names, letters, type, extents, mount points, root
// attributes, free space, geometry, the allocation bitmap as runs) and the disk interfaces.

#include "capture/CaptureLog.h"
#include "capture/JsonWriter.h"

// Writes the members "physicalDrives", "volumes" and "diskInterfaces" of the profile object
// being written.
void CaptureStorage(JsonWriter& writer, CaptureLog& log);
