// tarnwick-lint: the linter on a simulated machine, whose files are the host's, so that it reads
// documents exactly as the simulated program does.

#include "lint/LintMain.h"
#include "winapi/simulated/SimulatedStart.h"

int main(int argc, char** argv)
{
    return RunOnSimulatedMachine("tarnwick-lint", argc, argv, &TarnwickLintMain);
}
