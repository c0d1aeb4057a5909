// The runtime's text rules: _wtoi for settings, _wcsicmp for names and languages, and how
// Windows splits a command line; the flags for redirected text in the ANSI code page.

#include "platform/WideText.h"
#include "winapi/Console.h"
#include "winapi/Win32.h"
#include "winapi/simulated/system/CommandLine.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(WindowsTextRulesTest, WideToIntReadsLikeWtoi)
{
    EXPECT_EQ(WideToInt(L"500"), 500);
    EXPECT_EQ(WideToInt(L"\n   42 MB\n"), 42);
    EXPECT_EQ(WideToInt(L"-17"), -17);
    EXPECT_EQ(WideToInt(L"+8"), 8);
    EXPECT_EQ(WideToInt(L"abc"), 0);
    EXPECT_EQ(WideToInt(L""), 0);
    EXPECT_EQ(WideToInt(L"2147483647"), INT_MAX);
    EXPECT_EQ(WideToInt(L"99999999999999999999"), INT_MAX);
    EXPECT_EQ(WideToInt(L"-99999999999999999999"), INT_MIN);
    EXPECT_EQ(WideToInt(L"-2147483648"), INT_MIN);
}

TEST(WindowsTextRulesTest, WideToUInt64ReadsLikeWcstoui64)
{
    // WMI's 64-bit numbers, beyond what 32 bits hold.
    EXPECT_EQ(WideToUInt64(L"17179332608"), 17179332608u);
    EXPECT_EQ(WideToUInt64(L"18446744073709551615"), UINT64_MAX);
    EXPECT_EQ(WideToUInt64(L"18446744073709551616"), UINT64_MAX);
    EXPECT_EQ(WideToUInt64(L" +42x"), 42u);
    EXPECT_EQ(WideToUInt64(L"-1"), UINT64_MAX);
    EXPECT_EQ(WideToUInt64(L"text"), 0u);
}

TEST(WindowsTextRulesTest, CaseIsFoldedForAsciiLettersOnly)
{
    EXPECT_TRUE(EqualIgnoringCase(L"MSXML3TEST", L"msxml3test"));
    EXPECT_FALSE(EqualIgnoringCase(L"ÄBC", L"äbc"));
    EXPECT_FALSE(EqualIgnoringCase(L"Test ", L"Test"));
    // Letters fold to lower case before ordering, so "_" sorts below "a" as in _wcsicmp.
    EXPECT_LT(CompareIgnoringCase(L"_", L"a"), 0);
    EXPECT_GT(CompareIgnoringCase(L"Z", L"_"), 0);
}

TEST(WindowsTextRulesTest, CommandLineSplitsByTheShellRules)
{
    using Arguments = std::vector<std::wstring>;
    EXPECT_EQ(winapi::CommandLineToArgvW(L"tarnwick.exe -i in.xml"), (Arguments{L"tarnwick.exe", L"-i", L"in.xml"}));
    EXPECT_EQ(winapi::CommandLineToArgvW(L"\"C:\\Program Files\\t.exe\"  -i \"my file.xml\"\t-f "),
              (Arguments{L"C:\\Program Files\\t.exe", L"-i", L"my file.xml", L"-f"}));
    EXPECT_EQ(winapi::CommandLineToArgvW(L"t a\\\\\\\"b c\\\\\"d e\" f\\g \"\""),
              (Arguments{L"t", L"a\\\"b", L"c\\d e", L"f\\g", L""}));
    EXPECT_EQ(winapi::CommandLineToArgvW(L"t \"say \"\"hi\"\"\""), (Arguments{L"t", L"say \"hi\""}));
}

TEST(WindowsTextRulesTest, JoinedArgumentsSplitBackUnchanged)
{
    const std::vector<std::wstring> arguments{L"/usr/bin/tarnwick", L"-i",         L"with space.xml",       L"",
                                              L"quote\"inside",     L"trailing\\", L"back\\\\slash\\\" mix"};
    EXPECT_EQ(winapi::CommandLineToArgvW(winapi::sim::JoinCommandLine(arguments)), arguments);
}

TEST(WindowsTextRulesTest, RedirectedTextAvoidsLookAlikesWhereTheCodePageTakesFlags)
{
    // Western and Japanese ANSI code pages: a character they lack becomes "?", never a look-alike.
    EXPECT_EQ(winapi::AnsiConversionFlags(1252), winapi::WC_NO_BEST_FIT_CHARS);
    EXPECT_EQ(winapi::AnsiConversionFlags(932), winapi::WC_NO_BEST_FIT_CHARS);
    // UTF-8 as the ANSI code page, and the others that refuse every flag: with the flag the
    // conversion fails and the redirected output would be lost.
    for (const winapi::UINT codePage : {65001u, 65000u, 42u, 50220u, 50229u, 57002u, 57011u}) {
        EXPECT_EQ(winapi::AnsiConversionFlags(codePage), 0u) << codePage;
    }
    EXPECT_EQ(winapi::AnsiConversionFlags(57012), winapi::WC_NO_BEST_FIT_CHARS);
    EXPECT_EQ(winapi::AnsiConversionFlags(50226), winapi::WC_NO_BEST_FIT_CHARS);
}

}  // namespace
