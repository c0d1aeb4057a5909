#pragma once
// The start of a simulated program: installs the machine the run answers for (the profile named
// by TARNWICK_MACHINE, or the embedded default machine), sets the process command line from the
// arguments, and hands over to the program as Windows would.

#include "winapi/simulated/SimulatedMachine.h"

#include <string>

// Reads the profile file at path into machine. Returns an empty string on success, otherwise the
// problem, naming the field it concerns; machine is then left as it was.
[[nodiscard]] std::string LoadMachineFromFile(const std::string& path, winapi::sim::Machine& machine);

// Returns the program's exit code, or 2 after one line on standard error naming the profile and
// the problem when the machine profile cannot be used. programName starts that line.
[[nodiscard]] int RunOnSimulatedMachine(const char* programName, int argc, char** argv, int (*program)());
