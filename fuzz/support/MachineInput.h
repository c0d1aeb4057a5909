#pragma once
// One input of the hostile-machine target: a machine profile as a capture on a customer's machine
// could hold it, and one run of every check of the example document against it.

#include <string>
#include <string_view>

// Puts the simulated process back as the fleet does before every machine (open handles, the
// apartment, the WMI journal, the checks' settings), then loads the profile and, when the reader
// takes it, runs the example document against its machine. Returns false for a refused profile.
// An input's run so meets the process any other input meets, and what it reproduces alone.
bool RunChecksOnMachine(std::string_view profile);

// Where each run writes its results document.
[[nodiscard]] const std::wstring& MachineInputResults();
