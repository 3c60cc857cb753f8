// The code page 1251 codec and casing.
#include "util/Cp1251.h"

#include <gtest/gtest.h>

namespace mirvex {
namespace {

TEST(Cp1251Test, EveryByteSurvivesUtf8) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
}

TEST(Cp1251Test, KnownCharacters) {
    const struct {
        const char* utf8;
        const char* cp1251;
    } cases[] = {
        {"Привет", "\xCF\xF0\xE8\xE2\xE5\xF2"},
        {"Ёё", "\xA8\xB8"},
        {"№ «»—€", "\xB9\x20\xAB\xBB\x97\x88"},
        {"abc", "abc"},
        {"ЎўЇїІіЄєҐґ", "\xA1\xA2\xAF\xBF\xB2\xB3\xAA\xBA\xA5\xB4"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToCp1251(c.utf8), c.cp1251) << c.utf8;
        EXPECT_EQ(Cp1251ToUtf8(c.cp1251), c.utf8) << c.utf8;
    }
}

TEST(Cp1251Test, UnmappableAndMalformedBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1251("a\xE4\xB8\xAD" "b"), "a?b");  // a CJK character
    EXPECT_EQ(Utf8ToCp1251("\xF0\x9F\x98\x80"), "?");     // an emoji
    EXPECT_EQ(Utf8ToCp1251("\xC3"), "?");                  // truncated
    EXPECT_EQ(Utf8ToCp1251("\xC0\xAF" "x"), "?x");         // overlong
    EXPECT_EQ(Utf8ToCp1251("\x80z"), "?z");                // stray continuation
    EXPECT_EQ(Utf8ToCp1251("\xD0x"), "?x");                // lead byte without its continuation
}

TEST(Cp1251Test, CasingCoversCyrillicAndLatin) {
    EXPECT_EQ(UpperCase1251(Cp1251("ёжик Ёлка abc ўїі µ")), Cp1251("ЁЖИК ЁЛКА ABC ЎЇІ µ"));
    EXPECT_EQ(LowerCase1251(Cp1251("ЁЖИК ABC ЂЃЉЊЌЋЏ")), Cp1251("ёжик abc ђѓљњќћџ"));
    EXPECT_TRUE(SameText1251(Cp1251("Оценка"), Cp1251("ОЦЕНКА")));
    EXPECT_FALSE(SameText1251(Cp1251("Оценка"), Cp1251("Оценки")));
}

TEST(Cp1251Test, AsciiCasingLeavesCyrillicAlone) {
    EXPECT_TRUE(SameTextAscii("SysUserString", "SYSUSERSTRING"));
    EXPECT_FALSE(SameTextAscii(Cp1251("Балл"), Cp1251("БАЛЛ")));
    EXPECT_TRUE(SameTextAscii(Cp1251("xБалл"), Cp1251("XБалл")));
    EXPECT_EQ(UpperCaseAscii(Cp1251("abc ё")), Cp1251("ABC ё"));
}

}  // namespace
}  // namespace mirvex
