#pragma once
// Walks that several partition and volume checks share, each reporting in the check's own words
// when there is nothing to walk.

#include "framework/Test.h"
#include "winapi/Storage.h"

#include <functional>
#include <string>
#include <string_view>

// Offers every entry of the drive's partition table, in table order. When the table cannot be
// read, prints noLayoutMessage and offers nothing.
void WalkPartitionEntries(Test& test, winapi::HANDLE drive, std::wstring_view noLayoutMessage,
                          const std::function<void(const winapi::PARTITION_INFORMATION_EX& entry)>& visit);

// Offers every fixed volume (FixedVolumeEnumeration). When the volumes cannot be listed, prints
// noVolumesMessage and offers nothing.
void WalkFixedVolumes(Test& test, std::wstring_view noVolumesMessage,
                      const std::function<void(const std::wstring& volumeName)>& visit);
