// kestrix-drives' JSON: strings that every JSON reader takes whatever bytes
// a name holds, the hex twin of a name that is not UTF-8, objects and arrays.
#include <gtest/gtest.h>

#include "tools/DrivesJson.h"

using namespace drivesjson;

TEST(DrivesJson, ValidUtf8FollowsTheStrictRules)
{
    const std::pair<std::string, bool> cases[] = {
        {"", true},
        {"/media/ann/USB", true},
        {"/m\xC3\xA9" "dia", true},              // é
        {"\xE2\x82\xAC", true},                   // €
        {"\xF0\x9F\x92\xBE", true},               // U+1F4BE, four bytes
        {"\xF4\x8F\xBF\xBF", true},               // U+10FFFF, the last one
        {"\xFF", false},
        {"\xC3", false},                          // cut short
        {"\xE2\x82", false},
        {"\xC0\xAF", false},                      // overlong "/"
        {"\xE0\x80\xAF", false},                  // overlong, three bytes
        {"\xF0\x80\x80\xAF", false},              // overlong, four bytes
        {"\xED\xA0\x80", false},                  // a surrogate, U+D800
        {"\xF4\x90\x80\x80", false},              // above U+10FFFF
        {"\x80", false},                          // a lone continuation byte
        {"a\xC3\xA9\xFF", false},
    };
    for (const auto& [bytes, valid] : cases)
        EXPECT_EQ(ValidUtf8(bytes), valid) << Hex(bytes);
}

TEST(DrivesJson, StringsEscapeQuotesBackslashesControlsAndInvalidBytes)
{
    EXPECT_EQ(String(""), "\"\"");
    EXPECT_EQ(String("C:\\"), "\"C:\\\\\"");
    EXPECT_EQ(String("say \"hi\""), "\"say \\\"hi\\\"\"");
    EXPECT_EQ(String("a\nb\tc\rd\be\ff"), "\"a\\nb\\tc\\rd\\be\\ff\"");
    EXPECT_EQ(String(std::string("\x01\x1F\x7F", 3)), "\"\\u0001\\u001f\\u007f\"");
    EXPECT_EQ(String(std::string("a\0b", 3)), "\"a\\u0000b\"");
    // Valid UTF-8 passes as it is, "/" unescaped.
    EXPECT_EQ(String("/m\xC3\xA9" "dia/\xE2\x82\xAC"), "\"/m\xC3\xA9" "dia/\xE2\x82\xAC\"");
    // One U+FFFD per byte outside a valid sequence; the valid ones around stay.
    EXPECT_EQ(String("x\xFFy"), "\"x\xEF\xBF\xBDy\"");
    EXPECT_EQ(String("\xC0\xAF"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\"");
    EXPECT_EQ(String("\xE2\x82" "\xC3\xA9"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\xC3\xA9\"");
    EXPECT_EQ(String("\xED\xA0\x80"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"");
    // Whatever goes in, what comes out is valid UTF-8.
    std::string all;
    for (int c = 0; c < 256; ++c)
        all += char(c);
    EXPECT_TRUE(ValidUtf8(String(all)));
}

TEST(DrivesJson, ObjectsGiveANameThatIsNotUtf8ItsHexTwin)
{
    Object o;
    o.Text("letter", "D:").Number("total", 1073741824).Number("free", -1).Text("mount_point", "/mnt/\xFF\\\"\n");
    EXPECT_EQ(o.Json(), "{\"letter\": \"D:\", \"total\": 1073741824, \"free\": -1, "
                        "\"mount_point\": \"/mnt/\xEF\xBF\xBD\\\\\\\"\\n\", \"mount_point_hex\": \"2f6d6e742fff5c220a\"}");
    EXPECT_EQ(Object().Json(), "{}");
    EXPECT_EQ(Object().Number("big", INT64_MAX).Json(), "{\"big\": 9223372036854775807}");
}

TEST(DrivesJson, ArraysHoldOneValuePerLine)
{
    EXPECT_EQ(Array({}), "[]");
    EXPECT_EQ(Array({"{}"}), "[\n  {}\n]");
    EXPECT_EQ(Array({"1", "2"}, "  "), "[\n    1,\n    2\n  ]");
}
