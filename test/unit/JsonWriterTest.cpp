#include "capture/JsonWriter.h"

#include "winapi/Utf8.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace {

TEST(JsonWriterTest, NestedObjectsArraysAndInlineObjectsAreIndentedAndSeparated)
{
    JsonWriter writer;
    writer.BeginObject();
    writer.Key("name");
    writer.String(L"C:\\Windows \"system32\"\n\x01");
    writer.Key("empty");
    writer.BeginArray();
    writer.EndArray();
    writer.Key("runs");
    writer.BeginArray();
    writer.BeginInlineObject();
    writer.Key("used");
    writer.Unsigned(18446744073709551615ull);
    writer.Key("free");
    writer.Signed(-5);
    writer.EndObject();
    writer.Boolean(true);
    writer.Null();
    writer.EndArray();
    writer.WideKey(L"Gr\u00f6\u00dfe");
    writer.BeginObject();
    writer.EndObject();
    writer.EndObject();
    EXPECT_EQ(writer.Text(),
              "{\n"
              " \"name\": \"C:\\\\Windows \\\"system32\\\"\\n\\u0001\",\n"
              " \"empty\": [],\n"
              " \"runs\": [\n"
              "  {\"used\": 18446744073709551615, \"free\": -5},\n"
              "  true,\n"
              "  null\n"
              " ],\n"
              " \"Gr\xc3\xb6\xc3\x9f"
              "e\": {}\n"
              "}");
}

TEST(JsonWriterTest, TextWithAnyCharacterReadsBackUnchanged)
{
    std::wstring every;
    for (wchar_t character = 1; character < 0x800; ++character) {
        every += character;
    }
    every += L"\u20ac\xfffd";
    JsonWriter writer;
    writer.BeginObject();
    writer.WideKey(every);
    writer.String(every);
    writer.EndObject();
    const nlohmann::json read = nlohmann::json::parse(writer.Text());
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read.begin().key(), winapi::ToUtf8(every));
    EXPECT_EQ(read.begin().value().get<std::string>(), winapi::ToUtf8(every));
}

}  // namespace
