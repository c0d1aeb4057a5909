#pragma once
// Checking documents against the schemas of the input and results documents with xmllint.

#include "support/ProgramRun.h"

#include <filesystem>
#include <string>

// A schema below schemas/, e.g. SchemaPath("results.xsd").
[[nodiscard]] std::filesystem::path SchemaPath(const std::string& name);

struct SchemaVerdict {
    bool checked = false;  // xmllint read the schema and the document and came to a verdict
    bool valid = false;
    std::string messages;  // what xmllint reported, its reasons for a refusal included
};

// Checks the document (relative to workFolder) against the schema with xmllint. When xmllint
// cannot be started, or cannot read the schema or the document, the test fails and the verdict
// says not checked: a check that was not made never counts as passed.
[[nodiscard]] SchemaVerdict CheckAgainstSchema(const std::filesystem::path& schema,
                                               const std::filesystem::path& document,
                                               const std::filesystem::path& workFolder);

// When the trace of a run in workFolder says that it wrote its results document, checks that
// document against the results schema: the test fails if a whole document is refused or a
// damaged one accepted, or if a damaged one was expected and none was written.
void CheckWrittenResults(const std::string& trace, const std::filesystem::path& workFolder, WrittenResults written);
