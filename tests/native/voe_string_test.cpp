#include "library/portable_system_object.h"
#include "library/voe_string.h"

#include "tests/native/script_test_support.h"

#include <gtest/gtest.h>

#include <string>

TEST(VoeString, KnownScramblings)
{
    EXPECT_EQ("1060515001", EncodeVoeString("A", "key"));
    EXPECT_EQ("7b527b6304", EncodeVoeString("abcd", "password"));
    EXPECT_EQ("058cdc60af60a651b2a8f5dd12", EncodeVoeString("Hello, World", "VoScript"));
    EXPECT_EQ("980393bc6f3b52006d6166006c665344019c905020", EncodeVoeString("C:\\Program Files\\App", "12345678"));
    EXPECT_EQ("9bb3cb4a04", EncodeVoeString("\xB2\xE2\xCA\xD4", "\xD6\xD0\xCE\xC4"));
    EXPECT_EQ("Hello, World", DecodeVoeString("058CDC60AF60A651B2A8F5DD12", "VoScript")) << "digits of either case";
}

TEST(VoeString, EveryLengthBelowOneHundredComesBack)
{
    for (const char* key : {"k", "VoScript", "a much longer key", "\xFF\x80\x10"}) {
        std::string text;
        for (std::size_t length = 0; length < 100; ++length) {
            SCOPED_TRACE(std::string("key ") + key + ", length " + std::to_string(length));
            std::string scrambled = EncodeVoeString(text, key);
            EXPECT_EQ(length == 0, scrambled.empty());
            EXPECT_EQ(text, DecodeVoeString(scrambled, key));
            text += static_cast<char>((length * 37 + 11) & 0xFF);
        }
    }
}

TEST(VoeString, KeysThatCannotMakeSubkeysGiveNothing)
{
    EXPECT_EQ("", EncodeVoeString("text", ""));
    EXPECT_EQ("", EncodeVoeString("text", "ab\x0F"));
    EXPECT_EQ("", DecodeVoeString("7b527b6304", ""));
    EXPECT_EQ("", DecodeVoeString("7b527b6304", "\x01"));
}

TEST(VoeString, MalformedScramblingsGiveNothing)
{
    EXPECT_EQ("abcd", DecodeVoeString("7b527b6304", "password"));
    EXPECT_EQ("", DecodeVoeString("7b527b6305", "password")) << "more bytes than digits";
    EXPECT_EQ("", DecodeVoeString("7b527b6", "password")) << "a cut block";
    EXPECT_EQ("", DecodeVoeString("7b527b6z04", "password")) << "not a digit";
    EXPECT_EQ("", DecodeVoeString("4", "password"));
    std::string long100(100, 'x');
    EXPECT_EQ("", DecodeVoeString(EncodeVoeString(long100, "key"), "key")) << "the count has two digits";
}

TEST(PortableSystemObject, ScramblesFromAScriptWithExactNamesOnly)
{
    ScriptFixture fixture;
    fixture.engine.RegisterObject("System", MakePortableSystemObject());
    ASSERT_TRUE(fixture.Load("Function string Round(string text)\n{\nvar string s\ns = System.EnVOEStr(text, \"key\")\n"
                             "return System.DeVOEStr(s, \"key\")\n}\n"
                             "Function string Lower\n{\nreturn System.envoestr(\"A\", \"key\")\n}\n"));
    ASSERT_TRUE(fixture.Call("Round", {"C:\\Temp"}));
    EXPECT_EQ("C:\\Temp", fixture.result.ToString());
    EXPECT_FALSE(fixture.Call("Lower"));
    EXPECT_EQ(ErrorMemberCall, fixture.engine.Error().code);
}
