#pragma once
// One long-lived process of the fleet replay that runs machine after machine, each as a separate
// run of the program would, without the cost of a process per machine. The fleet sends it the
// index of the next machine and receives the run's exit code; a worker that dies on a machine
// (a crash) is seen as such, and the fleet starts another one for the machines that remain.

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <optional>

namespace fleet {

// How a machine's run in a worker ended: with the program's exit code, or with the worker ended
// by a signal (the signal's number) or leaving by itself (its exit code).
struct MachineEnd {
    bool signalled = false;
    int code = 0;
};

class FleetWorker {
public:
    // Forks the worker, which runs runMachine(index) for every index it is sent and reports the
    // returned exit code. Running() is false when the process cannot be made.
    explicit FleetWorker(const std::function<int(std::size_t)>& runMachine);
    FleetWorker(FleetWorker&& other) noexcept;
    FleetWorker& operator=(FleetWorker&& other) noexcept;
    FleetWorker(const FleetWorker&) = delete;
    FleetWorker& operator=(const FleetWorker&) = delete;
    // Tells the worker to leave and waits for it.
    ~FleetWorker();

    [[nodiscard]] bool Running() const { return channel_ >= 0; }
    // The descriptor that becomes readable when the machine sent last has ended.
    [[nodiscard]] int Channel() const { return channel_; }
    // Sends the worker a machine; false when the worker is gone.
    [[nodiscard]] bool Send(std::size_t index);
    // How the machine sent last ended; waits for it. A worker that died is reaped here, and is no
    // longer Running().
    [[nodiscard]] MachineEnd Receive();

private:
    void Stop();

    pid_t pid_ = -1;
    int channel_ = -1;
};

}  // namespace fleet
