// Every check of the example document against a machine built from the input: a machine profile
// as a capture on a customer's machine could hold it. The answers the checks take apart (drive
// layouts, storage descriptors, cluster bitmaps, sector 0, version resources, WMI values and
// arrays, registry data) all come from it, in any shape the profile reader lets through.

#include "support/MachineInput.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    (void)RunChecksOnMachine({reinterpret_cast<const char*>(data), size});
    return 0;
}
