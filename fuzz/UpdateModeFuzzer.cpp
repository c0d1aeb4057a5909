// Update mode over a hostile results document and a hostile input document: every action reads
// the results, then loads, extends and saves the input.

#include "main/UpdateMode.h"
#include "support/FuzzProcess.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Ends the results document and starts the input document. Without it the whole input is the
// results document and the input document is the smallest one that has a list to extend.
constexpr std::string_view InputMarker = "\n<!--tarnwick-fuzz-input-->\n";
constexpr std::string_view SmallestInput = "<input_tests><test><name>BlacklistBiosTest</name></test></input_tests>";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    StartSimulatedProcess();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t marker = bytes.find(InputMarker);
    const std::string_view results = bytes.substr(0, marker);
    const std::string_view input =
        marker == std::string_view::npos ? SmallestInput : bytes.substr(marker + InputMarker.size());
    const std::wstring resultsPath = WriteScratchDocument("results.xml", results);
    const std::wstring inputPath = WriteScratchDocument("input.xml", input);
    const std::vector<std::wstring> arguments{L"tarnwick", L"-update",     L"-i", inputPath,    L"-o", resultsPath,
                                              L"-b",       L"bios",        L"-w", L"bios",      L"-b", L"motherboard",
                                              L"-w",       L"motherboard", L"-b", L"processor", L"-w", L"processor"};
    (void)RunUpdateMode(arguments);
    return 0;
}
