// The one size-probe loop: answered exactly as a call asks, bounded when it never stops asking.

#include "support/ScopedMachine.h"
#include "platform/GrowingBuffer.h"
#include "platform/RegistryValue.h"
#include "winapi/simulated/SimulatedMachine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

// A call whose answer is size bytes of 0xAB; it names the size it wants when it says so.
struct SizedCall {
    explicit SizedCall(std::size_t answerSize, bool saysSize = true) : size(answerSize), namesSize(saysSize) {}

    std::size_t size;
    bool namesSize;
    std::vector<std::size_t> tries;

    BufferAnswer operator()(std::vector<winapi::BYTE>& buffer, std::size_t& wanted)
    {
        tries.push_back(buffer.size());
        if (buffer.size() < size) {
            wanted = namesSize ? size : 0;
            return BufferAnswer::TooSmall;
        }
        std::fill(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(size), winapi::BYTE{0xAB});
        buffer.resize(size);
        return BufferAnswer::Filled;
    }
};

}  // namespace

TEST(GrowingBufferTest, AnswerIsTheBufferOfTheTryThatFitted)
{
    SizedCall named{1000};
    const auto asked = ReadIntoGrowingBuffer({0, 256, 4096}, std::ref(named));
    ASSERT_TRUE(asked);
    EXPECT_EQ(*asked, std::vector<winapi::BYTE>(1000, 0xAB));
    EXPECT_EQ(named.tries, (std::vector<std::size_t>{0, 1000}));

    // A call that names no size is asked again with step more each time.
    SizedCall unnamed{1000, false};
    ASSERT_TRUE(ReadIntoGrowingBuffer({744, 140, 4096}, std::ref(unnamed)));
    EXPECT_EQ(unnamed.tries, (std::vector<std::size_t>{744, 884, 1024}));

    // One that names a size it then does not fit in still grows by step.
    SizedCall small{300};
    const auto grown =
        ReadIntoGrowingBuffer({0, 256, 4096}, [&](std::vector<winapi::BYTE>& buffer, std::size_t& wanted) {
            const BufferAnswer answer = small(buffer, wanted);
            wanted = answer == BufferAnswer::TooSmall ? 100 : wanted;
            return answer;
        });
    ASSERT_TRUE(grown);
    EXPECT_EQ(small.tries, (std::vector<std::size_t>{0, 256, 512}));
}

TEST(GrowingBufferTest, CallThatNeverFitsFailsAtTheBound)
{
    SizedCall endless{static_cast<std::size_t>(-1), false};
    EXPECT_FALSE(ReadIntoGrowingBuffer({744, 140, 64 * 1024}, std::ref(endless)));
    EXPECT_EQ(endless.tries.size(), (64u * 1024u - 744u) / 140u + 1u);
    EXPECT_LE(endless.tries.back(), 64u * 1024u);

    // A size beyond the bound is not even tried.
    SizedCall huge{std::size_t{1} << 32};
    EXPECT_FALSE(ReadIntoGrowingBuffer({0, 256, 1024 * 1024}, std::ref(huge)));
    EXPECT_EQ(huge.tries, (std::vector<std::size_t>{0}));

    // A failure ends the asking at once.
    int calls = 0;
    EXPECT_FALSE(ReadIntoGrowingBuffer({16, 16, 1024}, [&](std::vector<winapi::BYTE>&, std::size_t&) {
        ++calls;
        return BufferAnswer::Failed;
    }));
    EXPECT_EQ(calls, 1);
}

TEST(GrowingBufferTest, RegistryValueThatKeepsGrowingIsMoreData)
{
    const ScopedMachine machine(R"({"registry": {"HARDWARE\\Description\\System": {"values": {
        "SystemBiosVersion": {"type": "REG_MULTI_SZ", "data": ["A", "BC"]}}}},
        "faults": [{"call": "RegQueryValueExW", "error": 234, "after": 1}]})");
    winapi::UniqueRegKey key;
    ASSERT_EQ(winapi::RegOpenKeyExW(winapi::HKEY_LOCAL_MACHINE, L"HARDWARE\\Description\\System", 0,
                                    winapi::KEY_QUERY_VALUE, key),
              static_cast<winapi::LONG>(winapi::ERROR_SUCCESS));
    // The size is asked for and answered; every later try says the value grew again.
    std::vector<winapi::BYTE> data{1, 2, 3};
    EXPECT_EQ(ReadRegistryValue(key.get(), L"SystemBiosVersion", data),
              static_cast<winapi::LONG>(winapi::ERROR_MORE_DATA));
    EXPECT_EQ(data, (std::vector<winapi::BYTE>{1, 2, 3}));
}
