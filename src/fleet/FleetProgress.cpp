#include "fleet/FleetProgress.h"

#include <unistd.h>

#include <cstdio>

namespace fleet {

namespace {

// Often enough to look alive, seldom enough that 100,000 machines do not become 100,000 writes.
constexpr std::chrono::milliseconds RedrawEvery{250};
constexpr long long SecondsPerMinute = 60;
constexpr long long SecondsPerHour = 60 * SecondsPerMinute;

std::string Duration(long long seconds)
{
    if (seconds >= SecondsPerHour) {
        return std::to_string(seconds / SecondsPerHour) + " h " + std::to_string(seconds % SecondsPerHour / 60) +
               " min";
    }
    if (seconds >= SecondsPerMinute) {
        return std::to_string(seconds / SecondsPerMinute) + " min " + std::to_string(seconds % SecondsPerMinute) + " s";
    }
    return std::to_string(seconds) + " s";
}

}  // namespace

std::string FormatProgress(std::size_t done, std::size_t total, std::chrono::milliseconds elapsed)
{
    std::string text = std::to_string(done) + " of " + std::to_string(total) + " machines";
    if (done > 0 && done < total) {
        const auto left = static_cast<long long>(static_cast<double>(elapsed.count()) / 1000.0 *
                                                 static_cast<double>(total - done) / static_cast<double>(done));
        text += ", " + Duration(left) + " left";
    }
    return text;
}

FleetProgress::FleetProgress(std::size_t total)
    : shown_(::isatty(STDERR_FILENO) == 1), total_(total), start_(Clock::now()), drawn_(start_)
{
    if (shown_) {
        Draw();
    }
}

FleetProgress::~FleetProgress()
{
    if (shown_) {
        std::fprintf(stderr, "\r%*s\r", static_cast<int>(width_), "");
        std::fflush(stderr);
    }
}

void FleetProgress::Advance()
{
    ++done_;
    if (shown_ && (Clock::now() - drawn_ >= RedrawEvery || done_ == total_)) {
        Draw();
    }
}

void FleetProgress::Draw()
{
    drawn_ = Clock::now();
    const std::string text =
        FormatProgress(done_, total_, std::chrono::duration_cast<std::chrono::milliseconds>(drawn_ - start_));
    // Blanks over what a longer line before left.
    const std::size_t blanks = width_ > text.size() ? width_ - text.size() : 0;
    std::fprintf(stderr, "\r%s%*s", text.c_str(), static_cast<int>(blanks), "");
    std::fflush(stderr);
    width_ = text.size() + blanks;
}

}  // namespace fleet
