#pragma once
// Records the machine's storage as the checks see it: physical drives (descriptor, length,
// partition table, sector 0), volumes (names, letters, type, extents, mount points, root
// attributes, free space, geometry, the allocation bitmap as runs) and the disk interfaces.

#include "capture/CaptureLog.h"
#include "capture/JsonWriter.h"
#include "capture/ProfilePrivacy.h"

// Writes the members "physicalDrives", "volumes" and "diskInterfaces" of the profile object
// being written, with the disk signatures, partition identifiers, mount folders and interface
// serials as privacy gives them.
void CaptureStorage(JsonWriter& writer, CaptureLog& log, ProfilePrivacy& privacy);
