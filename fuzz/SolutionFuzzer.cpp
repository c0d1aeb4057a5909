// AddSolution with a template and a value from a hostile input document: the template is any
// text the document's descriptive_solution held, the value any text or number a check passes.

#include "framework/Test.h"
#include "support/FuzzProcess.h"

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

// A check with nothing to run: only its result record is exercised.
class RecordOnlyTest : public Test {
public:
    RecordOnlyTest() : Test({}) {}
    bool Run() override { return true; }
};

// The first byte picks the kind of the value; the template and the value follow, parted by the
// first zero byte pair.
constexpr std::string_view Separator{"\0\0", 2};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::uint8_t kind = data[0];
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t separator = rest.find(Separator);
    const std::string_view templateBytes = rest.substr(0, separator);
    const std::string_view valueBytes =
        separator == std::string_view::npos ? std::string_view() : rest.substr(separator + Separator.size());

    RecordOnlyTest test;
    test.SetDescriptiveSolution(WideUnits(templateBytes));
    switch (kind % 4) {
    case 0: (void)test.AddSolution(L""); break;
    case 1: (void)test.AddSolution(L"%wS", WideUnits(valueBytes)); break;
    case 2: {
        int number = 0;
        if (!valueBytes.empty()) {
            std::memcpy(&number, valueBytes.data(), std::min(valueBytes.size(), sizeof number));
        }
        (void)test.AddSolution(L"%d", number);
        break;
    }
    default:
        // A conversion the check itself got wrong.
        (void)test.AddSolution(WideUnits(valueBytes.substr(0, 8)), WideUnits(valueBytes));
        break;
    }
    while (test.HasSolution()) {
        (void)test.PopSolution();
    }
    return 0;
}
