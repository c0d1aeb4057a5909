// The result record every check fills: verdict, line lists and the solution template rules.

#include "framework/Test.h"
#include "support/AllocationFailure.h"
#include "checks/disk/ReadyBoostTest.h"
#include "checks/system/MSSecurityEssentialsTest.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::wstring> NoParameters;

class RecordOnly : public ::Test {
public:
    using Test::Test;
    bool Run() override { return false; }
};

// The solution lines a template and one AddSolution call leave behind, and the call's answer.
struct SolutionCase {
    std::wstring solutionTemplate;
    std::wstring conversion;
    bool withText;
    bool added;
    std::wstring line;
};

TEST(TestRecordTest, NewRecordHasFailedAndNothingPending)
{
    RecordOnly test(std::vector<std::wstring>{L"ignored"});
    EXPECT_FALSE(test.GetPassed());
    EXPECT_FALSE(test.HasMoreInfo());
    EXPECT_FALSE(test.HasSolution());
    EXPECT_EQ(test.PopMoreInfo(), L"");
    EXPECT_EQ(test.PopSolution(), L"");
    EXPECT_EQ(test.GetDescriptiveName(), L"");
}

TEST(TestRecordTest, LinesComeOutFirstInFirstOut)
{
    RecordOnly test(NoParameters);
    test.AddMoreInfo(L"%wS %I64dMB", std::wstring(L"c:"), std::int64_t{7});
    test.AddMoreInfo(L"second");
    EXPECT_TRUE(test.SetPassed(true));
    EXPECT_EQ(test.PopMoreInfo(), L"c: 7MB");
    EXPECT_EQ(test.PopMoreInfo(), L"second");
    EXPECT_FALSE(test.HasMoreInfo());
    EXPECT_TRUE(test.GetPassed());
}

TEST(TestRecordTest, SolutionTemplateRules)
{
    const std::vector<SolutionCase> cases{
        {L"Free %d MB more", L"%d", false, true, L"Free 120 MB more"},
        {L"Free %d MB more", L"%wS", true, false, L""},
        {L"%wS and %wS", L"%wS", true, false, L""},
        {L"%wS and %wS", L"", false, true, L"%wS and %wS"},
        {L"No conversion here", L"%wS", true, true, L"No conversion here"},
        {L"No conversion here", L"%d", false, true, L"No conversion here"},
        {L"Keep 100% of it", L"", false, true, L"Keep 100% of it"},
        {L"Install on %wS", L"%wS", true, true, L"Install on D:"},
        {L"Install on %wS", L"%s", true, false, L""},
        {L"Install on %wS", L"%S", true, false, L""},
        {L"Lone % sign", L"%d", false, false, L""},
        {L"", L"", false, false, L""},
        {L"", L"%d", false, false, L""},
    };
    for (const SolutionCase& c : cases) {
        RecordOnly test(NoParameters);
        test.SetDescriptiveSolution(c.solutionTemplate);
        const bool added = c.conversion.empty() ? test.AddSolution(c.conversion)
                           : c.withText         ? test.AddSolution(c.conversion, std::wstring(L"D:"))
                                                : test.AddSolution(c.conversion, 120);
        EXPECT_EQ(added, c.added) << c.solutionTemplate << " with " << c.conversion;
        EXPECT_EQ(test.PopSolution(), c.line) << c.solutionTemplate << " with " << c.conversion;
        EXPECT_FALSE(test.HasSolution());
    }
}

TEST(TestRecordTest, SolutionThatCannotBeFormattedSaysSo)
{
    RecordOnly test(NoParameters);
    test.SetDescriptiveSolution(L"Install on %wS");
    const std::wstring hugeValue(100000, L'x');
    FailAllocationsFrom(100000);
    const bool added = test.AddSolution(L"%wS", hugeValue);
    FailAllocationsFrom(0);
    EXPECT_FALSE(added);
    EXPECT_EQ(test.PopSolution(), L"STRING FORMATTING ERROR");
    EXPECT_FALSE(test.HasSolution());

    EXPECT_TRUE(test.AddSolution(L"%wS", std::wstring(L"D:")));
    EXPECT_EQ(test.PopSolution(), L"Install on D:");
}

TEST(TestRecordTest, NameIsTheClassNameNotTheRequestedName)
{
    EXPECT_EQ(ReadyBoostTest(NoParameters).GetName(), L"ReadyBoostTest");
    EXPECT_EQ(MSSecurityEssentialsTest(NoParameters).GetName(), L"MSSecurityEssentialsTest");
    const std::unique_ptr<::Test> viaBase = std::make_unique<RecordOnly>(NoParameters);
    EXPECT_EQ(viaBase->GetName(), L"RecordOnly");
}

}  // namespace
