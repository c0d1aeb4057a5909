#include "capture/AllocationSummary.h"

#include <algorithm>

namespace {

// The check reads the bitmap a byte at a time.
constexpr std::uint64_t ClustersPerByte = 8;

void AppendRun(std::vector<AllocationSummary::Run>& runs, AllocationSummary::Run::Kind kind, std::uint64_t clusters)
{
    if (clusters == 0) {
        return;
    }
    if (!runs.empty() && runs.back().kind == kind && kind != AllocationSummary::Run::Kind::Repeated) {
        runs.back().clusters += clusters;
        return;
    }
    runs.push_back({kind, clusters, 0, 0});
}

void AppendRepeated(std::vector<AllocationSummary::Run>& runs, std::uint64_t times, std::uint64_t freeRun)
{
    using Kind = AllocationSummary::Run::Kind;
    if (times == 1) {
        AppendRun(runs, Kind::Free, freeRun);
        AppendRun(runs, Kind::Used, 1);
    } else if (times > 1) {
        runs.push_back({Kind::Repeated, times, freeRun, 1});
    }
}

}  // namespace

AllocationSummary::AllocationSummary(std::uint64_t clusters)
    : readEnd_(clusters - clusters % ClustersPerByte), unreadCount_(clusters % ClustersPerByte)
{
}

void AllocationSummary::Add(bool used, std::uint64_t length)
{
    while (length > 0) {
        if (position_ >= readEnd_) {
            const auto added = static_cast<std::size_t>(std::min<std::uint64_t>(length, unreadCount_ - unread_.size()));
            unread_.insert(unread_.end(), added, used);
            position_ += length;
            return;
        }
        // A run that reaches into the clusters the check never reads ends, for the check, where
        // its reading ends.
        const std::uint64_t part = std::min(length, readEnd_ - position_);
        if (runLength_ > 0 && runUsed_ != used) {
            EndRun();
        }
        runUsed_ = used;
        runLength_ += part;
        position_ += part;
        length -= part;
        if (position_ == readEnd_) {
            EndRun();
        }
    }
}

void AllocationSummary::EndRun()
{
    if (runLength_ == 0) {
        return;
    }
    if (runUsed_) {
        AddToStretch(runLength_, 0, 0);
    } else {
        AddFreeRun(runLength_);
    }
    runLength_ = 0;
}

void AllocationSummary::AddToStretch(std::uint64_t clusters, std::uint64_t freeClusters, std::uint64_t freeRuns)
{
    if (segments_.empty() || segments_.back().kept) {
        segments_.push_back({});
    }
    Segment& stretch = segments_.back();
    stretch.clusters += clusters;
    stretch.freeClusters += freeClusters;
    stretch.freeRuns += freeRuns;
}

void AllocationSummary::AddFreeRun(std::uint64_t length)
{
    if (keptCount_ == KeptFreeRuns) {
        const auto shortest = std::ranges::min_element(
            segments_, {}, [](const Segment& segment) { return segment.kept ? segment.clusters : UINT64_MAX; });
        // Among runs of one length the earlier ones are kept, so a later run must be longer.
        if (length <= shortest->clusters) {
            AddToStretch(length, length, 1);
            return;
        }
    }
    segments_.push_back({true, length, length, 1});
    if (++keptCount_ > KeptFreeRuns) {
        DropShortestKept();
    }
}

void AllocationSummary::DropShortestKept()
{
    std::size_t shortest = segments_.size();
    for (std::size_t index = 0; index < segments_.size(); ++index) {
        if (segments_[index].kept &&
            (shortest == segments_.size() || segments_[index].clusters <= segments_[shortest].clusters)) {
            shortest = index;
        }
    }
    Segment merged{false, segments_[shortest].clusters, segments_[shortest].clusters, 1};
    std::size_t first = shortest;
    std::size_t last = shortest + 1;
    if (first > 0 && !segments_[first - 1].kept) {
        --first;
    }
    if (last < segments_.size() && !segments_[last].kept) {
        ++last;
    }
    for (std::size_t index = first; index < last; ++index) {
        if (index != shortest) {
            merged.clusters += segments_[index].clusters;
            merged.freeClusters += segments_[index].freeClusters;
            merged.freeRuns += segments_[index].freeRuns;
        }
    }
    segments_.erase(segments_.begin() + static_cast<std::ptrdiff_t>(first + 1),
                    segments_.begin() + static_cast<std::ptrdiff_t>(last));
    segments_[first] = merged;
    --keptCount_;
}

// A stretch as: one used cluster after a kept run (which a free cluster would lengthen), its free
// runs of even length with one used cluster between them, then the rest of its used clusters.
// The real stretch had at least as many used clusters, since its free runs were apart and apart
// from the kept runs around it.
void AllocationSummary::AppendStretch(const Segment& stretch, bool afterKept, std::vector<Run>& runs) const
{
    using Kind = Run::Kind;
    const std::uint64_t used = stretch.clusters - stretch.freeClusters;
    if (stretch.freeRuns == 0) {
        AppendRun(runs, Kind::Used, used);
        return;
    }
    const std::uint64_t lead = afterKept ? 1 : 0;
    const std::uint64_t shorter = stretch.freeClusters / stretch.freeRuns;
    const std::uint64_t longer = stretch.freeClusters % stretch.freeRuns;
    AppendRun(runs, Kind::Used, lead);
    AppendRepeated(runs, longer, shorter + 1);
    AppendRepeated(runs, stretch.freeRuns - longer - 1, shorter);
    AppendRun(runs, Kind::Free, shorter);
    AppendRun(runs, Kind::Used, used - lead - (stretch.freeRuns - 1));
}

std::vector<AllocationSummary::Run> AllocationSummary::Runs() const
{
    AllocationSummary finished = *this;
    finished.EndRun();
    std::vector<Run> runs;
    for (std::size_t index = 0; index < finished.segments_.size(); ++index) {
        const Segment& segment = finished.segments_[index];
        if (segment.kept) {
            AppendRun(runs, Run::Kind::Free, segment.clusters);
        } else {
            finished.AppendStretch(segment, index > 0, runs);
        }
    }
    for (const bool used : unread_) {
        AppendRun(runs, used ? Run::Kind::Used : Run::Kind::Free, 1);
    }
    while (!runs.empty() && runs.back().kind == Run::Kind::Used) {
        runs.pop_back();
    }
    return runs;
}
