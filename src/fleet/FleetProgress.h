#pragma once
// How far a fleet tool has come, on standard error when that is a terminal: machines done out of
// all, and the time left at the pace so far. Silent when standard error is not a terminal, so
// that a log or a script sees nothing of it.

#include <chrono>
#include <cstddef>
#include <string>

namespace fleet {

// "1234 of 100000 machines, 5 min 12 s left"; without a time left while nothing is done.
[[nodiscard]] std::string FormatProgress(std::size_t done, std::size_t total, std::chrono::milliseconds elapsed);

class FleetProgress {
public:
    explicit FleetProgress(std::size_t total);
    FleetProgress(const FleetProgress&) = delete;
    FleetProgress& operator=(const FleetProgress&) = delete;
    // Clears the line it drew.
    ~FleetProgress();

    // One more machine done; redraws the line at most a few times a second.
    void Advance();

private:
    using Clock = std::chrono::steady_clock;

    void Draw();

    bool shown_ = false;
    std::size_t total_ = 0;
    std::size_t done_ = 0;
    Clock::time_point start_;
    Clock::time_point drawn_;
    std::size_t width_ = 0;
};

}  // namespace fleet
