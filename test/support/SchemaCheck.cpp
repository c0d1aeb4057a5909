#include "support/SchemaCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string_view>

namespace {

constexpr std::string_view WroteMarker = "[TARNWICK]Successfully wrote to ";

// xmllint's exit codes: the document is valid, or well-formed but refused by the schema.
constexpr int XmllintValid = 0;
constexpr int XmllintRefused = 3;

}  // namespace

std::filesystem::path SchemaPath(const std::string& name)
{
    return std::filesystem::path(TARNWICK_SCHEMAS) / name;
}

SchemaVerdict CheckAgainstSchema(const std::filesystem::path& schema, const std::filesystem::path& document,
                                 const std::filesystem::path& workFolder)
{
    SchemaVerdict verdict;
    ProgramResult run;
    try {
        // --huge: a text of 10 MB and more, which the program reads and writes, is no error.
        run = RunTool("xmllint", {"--noout", "--huge", "--schema", schema.string(), (workFolder / document).string()},
                      workFolder);
    } catch (const std::runtime_error& error) {
        ADD_FAILURE() << error.what() << ": xmllint comes with the Debian package libxml2-utils (tools/setup.sh)";
        return verdict;
    }
    verdict.messages = run.console + run.trace;
    if (run.exitCode != XmllintValid && run.exitCode != XmllintRefused) {
        ADD_FAILURE() << "xmllint could not check " << document << " against " << schema << " (exit code "
                      << run.exitCode << "):\n"
                      << verdict.messages;
        return verdict;
    }
    verdict.checked = true;
    verdict.valid = run.exitCode == XmllintValid;
    return verdict;
}

void CheckWrittenResults(const std::string& trace, const std::filesystem::path& workFolder, WrittenResults written)
{
    const std::size_t marker = trace.rfind(WroteMarker);
    if (marker == std::string::npos) {
        EXPECT_TRUE(written == WrittenResults::Whole)
            << "the run was to write a damaged results document and wrote none";
        return;
    }
    const std::size_t start = marker + WroteMarker.size();
    std::string path = trace.substr(start, trace.find('\n', start) - start);
    std::replace(path.begin(), path.end(), '\\', '/');
    const SchemaVerdict verdict = CheckAgainstSchema(SchemaPath("results.xsd"), path, workFolder);
    if (!verdict.checked) {
        return;
    }
    if (written == WrittenResults::Whole) {
        EXPECT_TRUE(verdict.valid) << "the results document " << path << " does not match schemas/results.xsd:\n"
                                   << verdict.messages;
    } else {
        EXPECT_FALSE(verdict.valid) << "the damaged results document " << path << " matches schemas/results.xsd";
    }
}
