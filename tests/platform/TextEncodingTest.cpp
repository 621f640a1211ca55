#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

TEST(TextEncoding, RecognisesUtf8)
{
    struct Case {
        std::string text;
        bool valid;
        const char* why;
    } cases[] = {
        {"", true, "empty"},
        {"plain ASCII 50.00", true, "ASCII"},
        {"\xE5\x8F\x82\xE6\x95\xB0", true, "two Chinese characters"},
        {"\xF0\x9F\x98\x80", true, "four-byte form"},
        {"\xB2\xCE\xCA\xFD", false, "code page 936 bytes"},
        {"\xE5\x8F", false, "cut-off sequence"},
        {"\xC0\xAF", false, "overlong form"},
        {"\xED\xA0\x80", false, "surrogate"},
        {"\xF4\x90\x80\x80", false, "above U+10FFFF"},
        {"\xFF", false, "never a lead byte"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsValidUtf8(c.text), c.valid) << c.why;
}

TEST(TextEncoding, ReadsCodePage936)
{
    EXPECT_EQ(Cp936ToUtf8("\xB2\xCE\xCA\xFD OK"), "\xE5\x8F\x82\xE6\x95\xB0 OK");
    EXPECT_EQ(Cp936ToUtf8("A\xB2"), "A\xEF\xBF\xBD") << "a cut-off character is marked, not dropped";
    EXPECT_EQ(ToUtf8FromFile("\xE5\x8F\x82"), "\xE5\x8F\x82");
    EXPECT_EQ(ToUtf8FromFile("\xB2\xCE"), "\xE5\x8F\x82");
    EXPECT_TRUE(IsValidUtf8(Cp936ToUtf8(std::string(2000, '\xB2') + std::string(2000, '\xCE')))) << "beyond one buffer";
}
