#pragma once
// What every fuzz target needs before its first input: the simulated process set up as the
// program's own start sets it up, and a private folder for the documents a target loads.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Installs the embedded default machine; the first call only.
void StartSimulatedProcess();

// Writes bytes to a file of that name in the process's own scratch folder (in the temporary
// folder, removed by a later process once this one has ended) and returns its path.
[[nodiscard]] std::wstring WriteScratchDocument(const std::string& name, std::string_view bytes);

// Bytes read two at a time as UTF-16 code units, as Windows holds text: every unpaired surrogate
// and every other unit a hostile file could decode to can be reached.
[[nodiscard]] std::wstring WideUnits(std::string_view bytes);
