#pragma once
// The console output of a run, as the verdicts' classifier reads it (framework/VerdictClassifier.h):
// the fleet keeps each machine's run, and a results document collected from a PC may have its run's
// console beside it, as the collecting batch file of docs/fleet.md leaves it ("PC-0815.xml" and
// "PC-0815-console.txt").

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace fleet {

// The lines of a whole run's console, or nothing where it was not collected.
using RunConsole = std::optional<std::vector<std::wstring>>;

// The console file that belongs to a collected results document.
[[nodiscard]] std::filesystem::path ConsoleBeside(const std::filesystem::path& results);

// The lines of a console's text, without their line ends (LF or CR LF).
[[nodiscard]] std::vector<std::wstring> SplitConsoleLines(const std::string& text);

// The lines of a console file, without their line ends (LF or CR LF); nothing when there is no
// such file. A console redirected on Windows is in the ANSI code page: a byte that is not UTF-8
// reads as U+FFFD, which keeps the checks' own lines, all ASCII, as they were written.
[[nodiscard]] RunConsole ReadRunConsole(const std::filesystem::path& console);

}  // namespace fleet
