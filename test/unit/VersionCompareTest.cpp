// The version comparison of the file version check, from a table: padding with ".0", text after
// the number, a leading letter, trailing zero components.

#include "platform/VersionCompare.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

struct VersionCase {
    std::wstring a;
    std::wstring b;
    int expected;  // the exact result where it matters, else its sign
};

TEST(VersionCompareTest, StringsArePaddedCutAndComparedComponentByComponent)
{
    const std::vector<VersionCase> cases{
        // The required "2" becomes "2.0.0.0": the third components decide, 7 against 0.
        {L"2.0.7.31", L"2", 7},
        // The first components differ: 1 against 2.
        {L"1.1.9.5", L"2", -1},
        {L"2.0", L"2.0.0.0", 0},
        {L"2.0.0.0", L"2.0", 0},
        {L"2", L"2", 0},
        // Only the number counts; what follows the first other character is ignored.
        {L"2.0.7.42 (RTM.7-42)", L"2.0.7.42", 0},
        {L"2.0.50727.42 (RTM.050727-4200)", L"2", 50727},
        // A leading letter leaves nothing, whose value is 0.
        {L"v2.0", L"2", -2},
        {L"", L"", 0},
        {L"", L"1", -1},
        // Empty components are 0, so a trailing dot changes nothing.
        {L"2.", L"2", 0},
        {L"2..1", L"2.0.1", 0},
        {L"1.10", L"1.9", 1},
        {L"10.0", L"9.99", 1},
        {L"4.0.30319.1", L"2.0.50727.3053", 2},
        // White space is not a version character: " 2" is cut to nothing.
        {L" 2", L"2", -2},
    };
    for (const VersionCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << std::string(c.a.begin(), c.a.end()) << "\" against \""
                                        << std::string(c.b.begin(), c.b.end()) << "\"");
        EXPECT_EQ(CompareVersionStrings(c.a, c.b), c.expected);
        EXPECT_EQ(Sign(CompareVersionStrings(c.b, c.a)), -Sign(c.expected));
    }
}

TEST(VersionCompareTest, NumbersGiveTheFirstDifferenceOrZero)
{
    EXPECT_EQ(CompareVersionNumbers(L"2.0.7.31", L"2.0.0.0"), 7);
    EXPECT_EQ(CompareVersionNumbers(L"1.1.9.5", L"2.0.0.0"), -1);
    EXPECT_EQ(CompareVersionNumbers(L"3", L"1"), 2);
    EXPECT_EQ(CompareVersionNumbers(L"1.2.3", L"1.2.3"), 0);
    // The later components are not looked at once one pair differs.
    EXPECT_EQ(CompareVersionNumbers(L"1.9.0", L"2.0.9"), -1);
    // Values past the int range do not wrap around: the sign stays right.
    EXPECT_GT(CompareVersionNumbers(L"2147483647", L"-2147483648"), 0);
    EXPECT_LT(CompareVersionNumbers(L"-99999999999.0", L"99999999999.0"), 0);
    EXPECT_EQ(CompareVersionNumbers(L"99999999999", L"2147483647"), 0);
}

}  // namespace
