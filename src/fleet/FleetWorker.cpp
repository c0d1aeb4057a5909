#include "fleet/FleetWorker.h"

#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <limits>
#include <utility>

namespace fleet {

namespace {

// The index that tells a worker there are no more machines. Workers forked later inherit the
// fleet's ends of the earlier workers' channels, so the end of a channel alone cannot say it.
constexpr std::size_t NoMoreMachines = std::numeric_limits<std::size_t>::max();

// Whole messages or nothing: the channel is a stream, and a worker may die half way.
bool SendAll(int channel, const void* data, std::size_t size)
{
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        // MSG_NOSIGNAL: a worker that died must not take the fleet with it (SIGPIPE).
        const ssize_t sent = ::send(channel, bytes, size, MSG_NOSIGNAL);
        if (sent <= 0) {
            return false;
        }
        bytes += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

bool ReceiveAll(int channel, void* data, std::size_t size)
{
    char* bytes = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t received = ::recv(channel, bytes, size, 0);
        if (received <= 0) {
            return false;
        }
        bytes += received;
        size -= static_cast<std::size_t>(received);
    }
    return true;
}

[[noreturn]] void ServeMachines(int channel, const std::function<int(std::size_t)>& runMachine)
{
    std::size_t index = 0;
    while (ReceiveAll(channel, &index, sizeof index) && index != NoMoreMachines) {
        const int exitCode = runMachine(index);
        if (!SendAll(channel, &exitCode, sizeof exitCode)) {
            break;
        }
    }
    ::_exit(0);
}

}  // namespace

FleetWorker::FleetWorker(const std::function<int(std::size_t)>& runMachine)
{
    int channels[2] = {-1, -1};
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, channels) != 0) {
        return;
    }
    // Whatever this process has buffered must not be printed again by the worker.
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(channels[0]);
        ServeMachines(channels[1], runMachine);
    }
    ::close(channels[1]);
    if (pid < 0) {
        ::close(channels[0]);
        return;
    }
    pid_ = pid;
    channel_ = channels[0];
}

FleetWorker::FleetWorker(FleetWorker&& other) noexcept
    : pid_(std::exchange(other.pid_, -1)), channel_(std::exchange(other.channel_, -1))
{
}

FleetWorker& FleetWorker::operator=(FleetWorker&& other) noexcept
{
    if (this != &other) {
        Stop();
        pid_ = std::exchange(other.pid_, -1);
        channel_ = std::exchange(other.channel_, -1);
    }
    return *this;
}

FleetWorker::~FleetWorker()
{
    Stop();
}

bool FleetWorker::Send(std::size_t index)
{
    return Running() && SendAll(channel_, &index, sizeof index);
}

MachineEnd FleetWorker::Receive()
{
    if (!Running()) {
        return MachineEnd{false, -1};
    }
    int exitCode = 0;
    if (ReceiveAll(channel_, &exitCode, sizeof exitCode)) {
        return MachineEnd{false, exitCode};
    }
    ::close(std::exchange(channel_, -1));
    int status = 0;
    const pid_t reaped = ::waitpid(std::exchange(pid_, -1), &status, 0);
    if (reaped > 0 && WIFSIGNALED(status)) {
        return MachineEnd{true, WTERMSIG(status)};
    }
    return MachineEnd{false, reaped > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

void FleetWorker::Stop()
{
    if (channel_ >= 0) {
        static_cast<void>(SendAll(channel_, &NoMoreMachines, sizeof NoMoreMachines));
        ::close(std::exchange(channel_, -1));
    }
    if (pid_ > 0) {
        int status = 0;
        ::waitpid(std::exchange(pid_, -1), &status, 0);
    }
}

}  // namespace fleet
