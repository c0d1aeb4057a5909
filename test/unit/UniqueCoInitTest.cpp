// The apartment owner leaves exactly the apartments it entered: a nested entry (S_FALSE) is left
// too, a refused one never, so that an owner that failed does not take the apartment from under
// an outer one.

#include "support/ScopedMachine.h"
#include "winapi/Com.h"
#include "winapi/UniqueCoInit.h"
#include "winapi/simulated/com/SimulatedComState.h"

#include <gtest/gtest.h>

namespace {

using namespace winapi;

constexpr DWORD MultiThreaded = 0;

TEST(UniqueCoInitTest, LeavesWhatItEnteredAndNothingElse)
{
    const ScopedMachine machine("{}");
    {
        const UniqueCoInit outer(COINIT_APARTMENTTHREADED);
        EXPECT_EQ(outer.Result(), S_OK);
        {
            const UniqueCoInit nested;
            EXPECT_EQ(nested.Result(), S_FALSE);
            EXPECT_TRUE(nested.Entered());
            const UniqueCoInit otherModel(MultiThreaded);
            EXPECT_EQ(otherModel.Result(), RPC_E_CHANGED_MODE);
            EXPECT_FALSE(otherModel.Entered());
        }
        // The refused owner left nothing: the outer one still holds the apartment.
        EXPECT_TRUE(sim::ApartmentEntered());
    }
    EXPECT_FALSE(sim::ApartmentEntered());
}

TEST(UniqueCoInitTest, AFailedEntryIsNeverLeft)
{
    const ScopedMachine machine(R"({"faults": [{"call": "CoInitialize", "error": "0x8007000E"}]})");
    ASSERT_EQ(CoInitializeEx(COINIT_APARTMENTTHREADED), S_OK);
    {
        const UniqueCoInit failed;
        EXPECT_EQ(failed.Result(), static_cast<HRESULT>(0x8007000Eu));
    }
    EXPECT_TRUE(sim::ApartmentEntered());
    CoUninitialize();
}

}  // namespace
