#pragma once
// The one word a rollout needs about each machine: ready, blocked, not verified, or no verdicts.

#include "fleet/MachineVerdicts.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace fleet {

enum class MachineStatus {
    // Every check passed, and every pass looked at what it decides on.
    Ready,
    // Some check failed.
    Blocked,
    // Nothing failed, but some pass did not look.
    NotVerified,
    // The machine gave no verdicts; its problem says why.
    NoVerdicts,
};

inline constexpr std::size_t MachineStatusCount = 4;
inline constexpr std::array<MachineStatus, MachineStatusCount> MachineStatuses{
    MachineStatus::Ready, MachineStatus::Blocked, MachineStatus::NotVerified, MachineStatus::NoVerdicts};

[[nodiscard]] MachineStatus StatusOf(const MachineVerdicts& machine);

// "ready", "blocked", "not verified", "no verdicts": the words of the page and the machine CSV.
[[nodiscard]] std::string_view StatusWord(MachineStatus status);

}  // namespace fleet
