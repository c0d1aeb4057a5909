#pragma once
// Reads the verdicts out of a results document.

#include "fleet/MachineVerdicts.h"
#include "fleet/RunConsole.h"

#include <filesystem>
#include <string>
#include <vector>

namespace fleet {

// Fills verdicts with each test_results/test element's name, passed, more_info, descriptive_name
// and descriptive_solution texts, in document order, each with its state and reason
// (fleet/VerdictAssessment.h) as the document and the run's console, where it was kept, tell.
// Returns an empty string on success, otherwise what is wrong with the document (verdicts is then
// untouched).
[[nodiscard]] std::string ReadResultsVerdicts(const std::filesystem::path& results, std::vector<Verdict>& verdicts,
                                              const RunConsole& console);

}  // namespace fleet
