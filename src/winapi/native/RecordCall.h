#pragma once
// Calls that fill a record the surface declares in the Windows layout. Include after the
// winapi/*.h headers.

#include <bit>

#include "winapi/native/WindowsHeaders.h"

namespace winapi::native {

// Runs call on a Windows copy of record (which carries the caller's size field) and copies the
// answer back only on success, so that a failed call leaves the caller's record as it was.
template <typename NativeRecord, typename Record, typename Call>
[[nodiscard]] BOOL CallWithRecordCopy(Record& record, Call call)
{
    auto native = std::bit_cast<NativeRecord>(record);
    const BOOL ok = call(native);
    if (ok) {
        record = std::bit_cast<Record>(native);
    }
    return ok;
}

}  // namespace winapi::native
