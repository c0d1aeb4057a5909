// The formatter against the runtime's printf results for the conversions messages use.

#include "platform/MessageFormat.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

namespace {

TEST(MessageFormatTest, IntegerConversionsFollowTheRuntime)
{
    EXPECT_EQ(FormatWide(L"%d|%i|%u", -5, 7, 42u), L"-5|7|42");
    EXPECT_EQ(FormatWide(L"%x|%X|%04x|%#x", 0x80004005u, 255, 0x1F, 26), L"80004005|FF|001f|0x1a");
    // %d reads 32 bits: a negative HRESULT passed to %x prints its bit pattern.
    EXPECT_EQ(FormatNarrow("ERROR = %x\n", static_cast<std::int32_t>(0x80070005u)), L"ERROR = 80070005\n");
    EXPECT_EQ(FormatWide(L"%d", INT_MIN), L"-2147483648");
    EXPECT_EQ(FormatWide(L"%I64dMB", std::int64_t{1907729}), L"1907729MB");
    EXPECT_EQ(FormatWide(L"%I64d", std::int64_t{-9000000000}), L"-9000000000");
    EXPECT_EQ(FormatWide(L"%d", std::int64_t{0x100000005}), L"5");
    EXPECT_EQ(FormatWide(L"[%5d][%-5d][%05d][%+d]", 42, 42, -42, 3), L"[   42][42   ][-0042][+3]");
}

TEST(MessageFormatTest, StringConversionsTakeEitherKindOfArgument)
{
    const std::wstring wide = L"C:\\Windows";
    EXPECT_EQ(FormatNarrow("%wS|%S|%s", wide, wide, "narrow"), L"C:\\Windows|C:\\Windows|narrow");
    EXPECT_EQ(FormatWide(L"%wS %I64dMB", std::wstring(L"c:"), std::int64_t{12}), L"c: 12MB");
    EXPECT_EQ(FormatNarrow("[TARNWICK] Couldn't find file %wS\n", static_cast<const wchar_t*>(nullptr)),
              L"[TARNWICK] Couldn't find file (null)\n");
    EXPECT_EQ(FormatWide(L"[%-6s][%6s][%.2s]", L"ab", L"ab", L"abcdef"), L"[ab    ][    ab][ab]");
}

TEST(MessageFormatTest, PercentSignsAndOddFormats)
{
    EXPECT_EQ(FormatWide(L"100%% sure"), L"100% sure");
    EXPECT_EQ(FormatWide(L"unfinished %"), L"unfinished ");
    EXPECT_EQ(FormatWide(L"%d and %d", 1), L"1 and 0");
    EXPECT_EQ(FormatWide(L"%q"), L"%q");
    EXPECT_EQ(FormatWide(L"%c%c", L'o', L'k'), L"ok");
}

TEST(MessageFormatTest, LineBufferHoldsAtMost259Characters)
{
    const std::wstring longText(300, L'x');
    EXPECT_EQ(FormatLine(L"%wS", longText), std::wstring(259, L'x'));
    EXPECT_EQ(FormatLine(L"%wS", std::wstring(259, L'y')).size(), 259u);
}

}  // namespace
