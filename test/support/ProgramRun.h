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

// Runs tarnwick with the arguments (the program path is added in front) in workFolder, against
// the machine profile at profilePath, or the embedded default machine when it is empty.
[[nodiscard]] ProgramResult RunTarnwick(const std::vector<std::string>& arguments,
                                        const std::filesystem::path& workFolder,
                                        const std::filesystem::path& profilePath = {});

// Runs another program built with tarnwick (tarnwick-fleet, tarnwick-capture) the same way.
[[nodiscard]] ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                                       const std::filesystem::path& workFolder,
                                       const std::filesystem::path& profilePath = {});

// Starts tarnwick as RunTarnwick does, against the embedded default machine, with its output
// thrown away, and returns at once: the process id, for the caller to end and wait for.
[[nodiscard]] pid_t StartTarnwickQuietly(const std::vector<std::string>& arguments,
                                         const std::filesystem::path& workFolder);

// A fixture file below test/fixtures, e.g. FixturePath("machines/laptop.json").
[[nodiscard]] std::filesystem::path FixturePath(const std::string& relative);

// A file below examples/.
[[nodiscard]] std::filesystem::path ExamplePath(const std::string& relative);
