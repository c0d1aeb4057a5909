#pragma once
// Copies a hardware identity that a list check recorded in a results document into the lists of
// an input document: the reading and the writing half of one update action.

#include <optional>
#include <string>

// The identity being copied; absent while no result of the check has given one.
using UpdateValue = std::optional<std::wstring>;

class InputUpdater {
public:
    // Reads into value the first more_info line of the last result named testName. 0, or -1 when
    // the document cannot be read, holds no test element, or its last one has no readable name.
    int ReadValueFromOutput(const std::wstring& resultsPath, const std::wstring& testName, UpdateValue& value);

    // Appends value as a new parameter to every test element named testName that does not hold it
    // yet, and saves the document in place. Negative when nothing was saved.
    int AddValueToInput(const std::wstring& inputPath, const std::wstring& testName, const UpdateValue& value);
};
