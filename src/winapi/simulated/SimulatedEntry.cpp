// The simulated build's process start: the program on the machine of the profile.

#include "main/TarnwickMain.h"
#include "winapi/simulated/SimulatedStart.h"

int main(int argc, char** argv)
{
    return RunOnSimulatedMachine("tarnwick", argc, argv, &TarnwickMain);
}
