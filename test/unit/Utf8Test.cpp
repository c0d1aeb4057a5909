// The UTF-8 of the console, the trace and the simulated machine's files, both ways.

#include "winapi/Utf8.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf8Test, RoundTripAndInvalidSequences)
{
    const std::wstring text = L"Gr\u00FC\u00DFe \u20AC \U0001F600";
    EXPECT_EQ(winapi::ToUtf8(text),
              "Gr\xC3\xBC\xC3\x9F"
              "e \xE2\x82\xAC \xF0\x9F\x98\x80");
    EXPECT_EQ(winapi::FromUtf8(winapi::ToUtf8(text)), text);

    // Each bad sequence becomes one U+FFFD and the text after it is kept; an overlong form never
    // yields the character it spells, least of all a null.
    EXPECT_EQ(winapi::FromUtf8("a\xC0\x80z"), L"a\uFFFDz");
    EXPECT_EQ(winapi::FromUtf8("a\xE0\x80\xAFz"), L"a\uFFFDz");
    EXPECT_EQ(winapi::FromUtf8("a\xF0\x80\x80\x80z"), L"a\uFFFDz");
    EXPECT_EQ(winapi::FromUtf8("a\xED\xA0\x80z"), L"a\uFFFDz");
    EXPECT_EQ(winapi::FromUtf8("a\xF4\x90\x80\x80z"), L"a\uFFFDz");
    EXPECT_EQ(winapi::FromUtf8("a\xC3z"), L"a\uFFFDz");
    EXPECT_EQ(winapi::FromUtf8("a\xFFz"), L"a\uFFFDz");
    EXPECT_EQ(winapi::FromUtf8("end\xE2\x82"), L"end\uFFFD\uFFFD");

    EXPECT_TRUE(winapi::IsValidUtf8(winapi::ToUtf8(text)));
    for (const char* bad : {"\xC0\x80", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC3", "caf\xE9"}) {
        EXPECT_FALSE(winapi::IsValidUtf8(bad)) << bad;
    }
}

}  // namespace
