#pragma once
// The text of results documents and machine profiles as the end-to-end tests expect and build
// them.

#include "support/ScratchFolder.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// One test element of a results document, as the writer saves it; an empty descriptive name
// takes the element's short form.
[[nodiscard]] std::string ResultElement(const std::string& name, bool passed, const std::string& moreInfo,
                                        const std::string& descriptiveName, const std::string& solutions = {});

// One element named element per line, e.g. ResultLines("more_info", {"1", "1"}).
[[nodiscard]] std::string ResultLines(const std::string& element, const std::vector<std::string>& lines);

// The fixture machine below test/fixtures/machines, changed by edit and saved in folder.
[[nodiscard]] std::filesystem::path EditedMachine(const ScratchFolder& folder, const std::string& fixture,
                                                  const std::function<void(nlohmann::json&)>& edit);
