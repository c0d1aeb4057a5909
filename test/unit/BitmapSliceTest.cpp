// The capture's reading of one FSCTL_GET_VOLUME_BITMAP answer: a count of bytes returned shorter
// than the header is no answer (it made the count of bitmap bytes wrap), and the clusters read
// are bounded by both the header and the bytes returned.

#include "capture/BitmapSlice.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::vector<winapi::BYTE> Answer(std::int64_t startingLcn, std::int64_t bitmapSize, std::size_t bitmapBytes)
{
    std::vector<winapi::BYTE> buffer(16 + bitmapBytes, 0xA5);
    std::memcpy(buffer.data(), &startingLcn, sizeof(startingLcn));
    std::memcpy(buffer.data() + 8, &bitmapSize, sizeof(bitmapSize));
    return buffer;
}

TEST(BitmapSliceTest, AnAnswerShorterThanItsHeaderIsNoSlice)
{
    const std::vector<winapi::BYTE> buffer = Answer(0, 80, 10);
    EXPECT_FALSE(BitmapSlice::Read(buffer, 0));
    EXPECT_FALSE(BitmapSlice::Read(buffer, 15));
    // Exactly the header: a slice of no clusters.
    const auto header = BitmapSlice::Read(buffer, 16);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->Clusters(), 0u);
    EXPECT_TRUE(header->Bits().empty());
    const auto oneByte = BitmapSlice::Read(buffer, 17);
    ASSERT_TRUE(oneByte);
    EXPECT_EQ(oneByte->Clusters(), 8u);
    EXPECT_EQ(oneByte->Bits().size(), 1u);
}

TEST(BitmapSliceTest, TheClustersReadAreBoundedByTheHeaderAndByTheBytesReturned)
{
    // The header counts 20 clusters from cluster 64; 10 bytes hold 80.
    const std::vector<winapi::BYTE> buffer = Answer(64, 20, 10);
    const auto slice = BitmapSlice::Read(buffer, static_cast<winapi::DWORD>(buffer.size()));
    ASSERT_TRUE(slice);
    EXPECT_EQ(slice->StartingLcn(), 64);
    EXPECT_EQ(slice->Clusters(), 20u);
    EXPECT_EQ(slice->Bits().size(), 10u);
    EXPECT_EQ(slice->Bits()[0], 0xA5);
    // A count of bytes beyond the buffer reads no further than the buffer.
    const auto beyond = BitmapSlice::Read(Answer(0, 1000, 10), 4096);
    ASSERT_TRUE(beyond);
    EXPECT_EQ(beyond->Clusters(), 80u);
    // A negative size in the header gives no clusters.
    EXPECT_EQ(BitmapSlice::Read(Answer(0, -8, 10), 26)->Clusters(), 0u);
}

}  // namespace
