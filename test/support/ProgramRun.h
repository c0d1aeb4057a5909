#pragma once
// Runs the built simulated program the way a user would, and keeps what it printed.

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

struct ProgramResult {
    int exitCode = -1;
    std::string console;  // standard output
    std::string trace;    // standard error
};

// What a run that writes a results document must leave: a whole one, which the results schema
// accepts, or one that injected document faults have damaged, which it must refuse.
enum class WrittenResults { Whole, Damaged };

// Runs tarnwick with the arguments (the program path is added in front) in workFolder, against
// the machine profile at profilePath, or the embedded default machine when it is empty. When the
// run reports that it wrote its results document, the document is checked against the results
// schema as written says, and the test fails if the check does not hold.
[[nodiscard]] ProgramResult RunTarnwick(const std::vector<std::string>& arguments,
                                        const std::filesystem::path& workFolder,
                                        const std::filesystem::path& profilePath = {},
                                        WrittenResults written = WrittenResults::Whole);

// Runs another program built with tarnwick (tarnwick-fleet, tarnwick-capture) the same way.
[[nodiscard]] ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                                       const std::filesystem::path& workFolder,
                                       const std::filesystem::path& profilePath = {});

// Runs a tool found on the PATH (xmllint) in workFolder; the test fails if it cannot be started.
[[nodiscard]] ProgramResult RunTool(const std::string& tool, const std::vector<std::string>& arguments,
                                    const std::filesystem::path& workFolder);

// Starts tarnwick as RunTarnwick does, against the embedded default machine, with its output
// thrown away, and returns at once: the process id, for the caller to end and wait for.
[[nodiscard]] pid_t StartTarnwickQuietly(const std::vector<std::string>& arguments,
                                         const std::filesystem::path& workFolder);

// A fixture file below test/fixtures, e.g. FixturePath("machines/laptop.json").
[[nodiscard]] std::filesystem::path FixturePath(const std::string& relative);

// A file below examples/.
[[nodiscard]] std::filesystem::path ExamplePath(const std::string& relative);
