// A fleet worker runs what it is sent, one after the other, and a worker that dies on one is told
// apart from a run that ended with an exit code.

#include "fleet/FleetWorker.h"

#include <gtest/gtest.h>

#include <csignal>

namespace {

TEST(FleetWorkerTest, ReportsEachExitCodeAndADeathBySignal)
{
    fleet::FleetWorker worker([](std::size_t index) {
        // SIGKILL, which no handler can take: under the sanitizers a SIGSEGV is caught and turned
        // into an exit code.
        if (index == 7) {
            std::raise(SIGKILL);
        }
        return static_cast<int>(index) + 10;
    });
    ASSERT_TRUE(worker.Running());
    for (std::size_t index : {0u, 3u, 1u}) {
        ASSERT_TRUE(worker.Send(index));
        const fleet::MachineEnd end = worker.Receive();
        EXPECT_FALSE(end.signalled);
        EXPECT_EQ(end.code, static_cast<int>(index) + 10);
    }
    ASSERT_TRUE(worker.Send(7));
    const fleet::MachineEnd crashed = worker.Receive();
    EXPECT_TRUE(crashed.signalled);
    EXPECT_EQ(crashed.code, SIGKILL);
    EXPECT_FALSE(worker.Running());
    EXPECT_FALSE(worker.Send(1));
}

}  // namespace
