// String list text and integer conversion.
#include "util/Strings.h"

#include <gtest/gtest.h>

namespace mirvex {
namespace {

TEST(StringsTest, SplitLinesAsAStringListText) {
    const struct {
        const char* text;
        TStringList lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\rc\r\n", {"a", "b", "c"}},
        {"\r\n", {""}},
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"a\n\r", {"a", ""}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << c.text;
}

TEST(StringsTest, JoinLinesEndsEveryLine) {
    EXPECT_EQ(JoinLines({}), "");
    EXPECT_EQ(JoinLines({""}), "\r\n");
    EXPECT_EQ(JoinLines({"a", "b"}), "a\r\nb\r\n");
    EXPECT_EQ(SplitLines(JoinLines({"x", "", "y"})), (TStringList{"x", "", "y"}));
}

TEST(StringsTest, TrimRemovesBlanksAndControls) {
    EXPECT_EQ(Trim(" \t\r\n abc \x01"), "abc");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a "), "  a");
}

TEST(StringsTest, IntegerConversionFollowsVal) {
    const struct {
        const char* text;
        std::optional<std::int32_t> value;
    } cases[] = {
        {"0", 0},
        {"42", 42},
        {"-42", -42},
        {"+7", 7},
        {"  12", 12},
        {"$FF", 255},
        {"0x10", 16},
        {"$FFFFFFFF", -1},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"12 ", std::nullopt},
        {"1a", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"$", std::nullopt},
        {"$1FFFFFFFF", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(TryStrToInt(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(StrToIntDef("x", -5), -5);
    EXPECT_EQ(TryStrToInt64("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(TryStrToInt64("9223372036854775808"), std::nullopt);
}

}  // namespace
}  // namespace mirvex
