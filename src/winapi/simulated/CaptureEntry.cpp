// tarnwick-capture: the capture run against a simulated machine, which is how the capture's
// reading of a machine is tested against the machines the checks are tested on.

#include "capture/CaptureMain.h"
#include "winapi/simulated/SimulatedStart.h"

int main(int argc, char** argv)
{
    return RunOnSimulatedMachine("tarnwick-capture", argc, argv, &TarnwickCaptureMain);
}
