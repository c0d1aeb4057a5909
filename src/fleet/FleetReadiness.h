#pragma once
// A fleet's readiness, gathered machine by machine as the machines finish: each machine's status,
// how many machines each check blocks, and the failures of each check grouped by what they say
// (FailureLines.h). Per machine it keeps only what the report shows of it: its status, problem,
// scan time, and its failing and unverified verdicts, whose lines are kept once for the fleet and
// shared between the machines that show the same line. With an earlier input document run on the
// same machines, it also counts how the statuses and groups were then.

#include "fleet/CheckColumns.h"
#include "fleet/MachineStatus.h"
#include "fleet/MachineVerdicts.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace fleet {

struct ReadinessCheck {
    // "MemoryTest", or "MemoryTest #2" for the second of that name in a run (CheckColumns.h).
    std::string label;
    // The name the input document gives the check, numbered as label is.
    std::string inputName;
    // The check's name in the language of the run; the first one a machine gave.
    std::string descriptiveName;
    // What its more-info lines are (FailureLines.h: LineLabels).
    std::vector<std::string> lineLabels;
    std::size_t blocked = 0;
    std::size_t unverified = 0;
};

struct ReasonGroup {
    std::size_t check = 0;
    VerdictState state = VerdictState::Fail;
    std::string reason;
    // The machines of the group, by their index in Machines().
    std::vector<std::uint32_t> machines;
    // How many machines the group held under the earlier input document.
    std::size_t before = 0;
    // The lines of its first machine's verdict (indexes into Texts()): a machine whose verdict
    // says exactly these shares them instead of keeping its own.
    std::vector<std::uint32_t> moreInfo;
    std::vector<std::uint32_t> solutions;
};

// A failing or unverified verdict as the report keeps it: its lines are indexes into Texts(), and
// only where they differ from its group's lines (ownLines); otherwise they are the group's.
struct KeptVerdict {
    std::uint32_t check = 0;
    VerdictState state = VerdictState::Fail;
    std::uint32_t group = 0;
    bool ownLines = false;
    std::vector<std::uint32_t> moreInfo;
    std::vector<std::uint32_t> solutions;
};

// Seconds since 1970-01-01 UTC; NoScanTime where it is not known.
using ScanTime = std::int64_t;
inline constexpr ScanTime NoScanTime = -1;

struct MachineRecord {
    std::string name;
    MachineStatus status = MachineStatus::Ready;
    // The status under the earlier input document, when two are compared.
    std::optional<MachineStatus> before;
    std::string problem;
    ScanTime scanTime = NoScanTime;
    std::uint32_t passed = 0;
    std::vector<KeptVerdict> verdicts;
};

using StatusCounts = std::array<std::size_t, MachineStatusCount>;

class FleetReadiness {
public:
    // Takes in one machine; before is the same machine under the earlier input document, when
    // two are compared. Returns the machine as kept.
    const MachineRecord& Add(const MachineVerdicts& machine, const MachineVerdicts* before, ScanTime scanTime);

    [[nodiscard]] const std::vector<ReadinessCheck>& Checks() const { return checks_; }
    [[nodiscard]] const std::vector<ReasonGroup>& Groups() const { return groups_; }
    [[nodiscard]] const std::vector<MachineRecord>& Machines() const { return machines_; }
    [[nodiscard]] const std::vector<std::string>& Texts() const { return texts_; }
    [[nodiscard]] const StatusCounts& Counts() const { return counts_; }
    [[nodiscard]] const StatusCounts& CountsBefore() const { return countsBefore_; }
    [[nodiscard]] bool Compares() const { return compares_; }
    // How many machines have another status than under the earlier input document.
    [[nodiscard]] std::size_t StatusChanges() const { return statusChanges_; }
    // The oldest and newest scan time; NoScanTime when no machine has one.
    [[nodiscard]] ScanTime OldestScan() const { return oldestScan_; }
    [[nodiscard]] ScanTime NewestScan() const { return newestScan_; }

    // The groups in the order the report lists them: the checks by the machines they block (then
    // leave unverified), most first, and within a check its groups by size, largest first;
    // groups that are empty now but held machines before come last within their check.
    [[nodiscard]] std::vector<std::size_t> GroupsInOrder() const;

    // "Enough free disk space (FreeHardDiskSpaceTest)", or the input name alone where no machine
    // gave a descriptive name.
    [[nodiscard]] std::string CheckTitle(std::size_t check) const;

    // The verdict's more-info and solution lines, its own or its group's.
    [[nodiscard]] const std::vector<std::uint32_t>& MoreInfoOf(const KeptVerdict& verdict) const;
    [[nodiscard]] const std::vector<std::uint32_t>& SolutionsOf(const KeptVerdict& verdict) const;

private:
    std::uint32_t CheckOf(const ColumnKey& key, const Verdict& verdict);
    std::uint32_t GroupOf(std::uint32_t check, VerdictState state, const std::string& reason);
    std::uint32_t TextOf(const std::wstring& line);
    void CountBefore(const MachineVerdicts& before);

    std::vector<ReadinessCheck> checks_;
    std::map<ColumnKey, std::uint32_t> checkIndex_;
    std::vector<ReasonGroup> groups_;
    std::map<std::tuple<std::uint32_t, VerdictState, std::string>, std::uint32_t> groupIndex_;
    std::vector<std::string> texts_;
    std::unordered_map<std::string, std::uint32_t> textIndex_;
    std::vector<MachineRecord> machines_;
    StatusCounts counts_{};
    StatusCounts countsBefore_{};
    bool compares_ = false;
    std::size_t statusChanges_ = 0;
    ScanTime oldestScan_ = NoScanTime;
    ScanTime newestScan_ = NoScanTime;
};

}  // namespace fleet
