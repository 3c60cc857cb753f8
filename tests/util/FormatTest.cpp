// Format, float texts and date-time texts under the Russian settings.
#include "util/FormatSettings.h"

#include <gtest/gtest.h>

#include <cmath>

#include "util/Cp1251.h"

namespace mirvex {
namespace {

TEST(FormatTest, Patterns) {
    EXPECT_EQ(Format("%d", {42}), "42");
    EXPECT_EQ(Format("%5d|%-5d|%.3d|%.3d", {42, 42, 7, -7}), "   42|42   |007|-007");
    EXPECT_EQ(Format("%s and %s", {"a", std::string("b")}), "a and b");
    EXPECT_EQ(Format("%.2s|%4s|%-4s|", {"xyz", "ab", "ab"}), "xy|  ab|ab  |");
    EXPECT_EQ(Format("%8.3f", {3.14159}), "   3,142");
    EXPECT_EQ(Format("%f|%.0f|%.1f", {2.5, 2.4, -0.04}), "2,50|2|0,0");
    // Ties round away from zero.
    EXPECT_EQ(Format("%.0f|%.1f|%.0f|%.2f", {2.5, 0.25, -0.5, 0.005}), "3|0,3|-1|0,01");
    EXPECT_EQ(Format("%g|%g|%g", {0.1, 1e20, 12345.678}), "0,1|1E20|12345,678");
    EXPECT_EQ(Format("%e", {1.5}), "1,50000000000000E+000");
    EXPECT_EQ(Format("%x|%.4x|%x", {255, 255, -1}), "FF|00FF|FFFFFFFF");
    EXPECT_EQ(Format("%u", {-1}), "4294967295");
    EXPECT_EQ(Format("100%%", {}), "100%");
    EXPECT_EQ(Format("%*d|%-*d|", {4, 1, 3, 2}), "   1|2  |");
    EXPECT_EQ(Format("%1:s %0:s %s", {"a", "b"}), "b a b");
    EXPECT_EQ(Format("%n", {1234567.891}), "1\xA0" "234\xA0" "567,89");
    EXPECT_EQ(Format(Cp1251("%d мин %d сек"), {2, 5}), Cp1251("2 мин 5 сек"));
}

TEST(FormatTest, BadPatternsRaise) {
    EXPECT_THROW(Format("%d", {"text"}), EConvertError);
    EXPECT_THROW(Format("%s", {1}), EConvertError);
    EXPECT_THROW(Format("%f", {1}), EConvertError);
    EXPECT_THROW(Format("%d %d", {1}), EConvertError);
    EXPECT_THROW(Format("%q", {1}), EConvertError);
    EXPECT_THROW(Format("%", {1}), EConvertError);
    EXPECT_THROW(Format("%*d", {"x", 1}), EConvertError);
}

TEST(FormatTest, FloatToStrIsTheShortestGeneralForm) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {1, "1"},
        {-2.5, "-2,5"},
        {0.1 + 0.2, "0,3"},
        {1.0 / 3, "0,333333333333333"},
        {2.0 / 3, "0,666666666666667"},
        {0.0001, "0,0001"},
        {0.00001, "1E-5"},
        {-1.5e-7, "-1,5E-7"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E15"},
        {1e20, "1E20"},
        {4.35, "4,35"},
        {100, "100"},
        {HUGE_VAL, "INF"},
        {-HUGE_VAL, "-INF"},
        {NAN, "NAN"},
    };
    for (const auto& c : cases) EXPECT_EQ(FloatToStr(c.value), c.text) << c.value;
}

TEST(FormatTest, FloatToStrFForms) {
    EXPECT_EQ(FloatToStrF(1234.5, TFloatFormat::Exponent, 4, 2), "1,235E+03");
    EXPECT_EQ(FloatToStrF(345.6789, TFloatFormat::Fixed, 5, 3), "345,679");
    EXPECT_EQ(FloatToStrF(123456.0, TFloatFormat::Fixed, 3, 2), "1,23E+5");
    EXPECT_EQ(FloatToStrF(1234.5, TFloatFormat::Number, 15, 1), "1\xA0" "234,5");
}

TEST(FormatTest, DateAndTimeTexts) {
    TDateTime date = 0, time = 0;
    ASSERT_TRUE(TryEncodeDate(2026, 3, 7, date));
    ASSERT_TRUE(TryEncodeTime(9, 5, 3, 45, time));
    const TDateTime value = date + time;
    EXPECT_EQ(DateToStr(value), "07.03.2026");
    EXPECT_EQ(TimeToStr(value), "9:05:03");
    EXPECT_EQ(DateTimeToStr(value), "07.03.2026 9:05:03");
    EXPECT_EQ(DateTimeToStr(date), "07.03.2026");
    EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn:ss.zzz", value), "2026-03-07 09:05:03.045");
    EXPECT_EQ(FormatDateTime("d/m/yy h:mm", value), "7.3.26 9:05");
    EXPECT_EQ(FormatDateTime("dddd, d mmmm 'yyyy'", value), Cp1251("суббота, 7 Март yyyy"));
    EXPECT_EQ(FormatDateTime("ddd mmm", value), Cp1251("Сб мар"));
    EXPECT_EQ(FormatDateTime("hh:nn am/pm", value), "09:05 am");
}

TEST(FormatTest, DaysCountFromTheEndOf1899) {
    TDateTime v = -1;
    ASSERT_TRUE(TryEncodeDate(1899, 12, 30, v));
    EXPECT_EQ(v, 0);
    ASSERT_TRUE(TryEncodeDate(1900, 1, 1, v));
    EXPECT_EQ(v, 2);
    ASSERT_TRUE(TryEncodeDate(2000, 1, 1, v));
    EXPECT_EQ(v, 36526);
    EXPECT_FALSE(TryEncodeDate(2023, 2, 29, v));
    EXPECT_TRUE(TryEncodeDate(2024, 2, 29, v));

    // Negative values: the date counts back, the time runs forward.
    const TDateParts d = DecodeDate(-1.25);
    const TTimeParts t = DecodeTime(-1.25);
    EXPECT_EQ(d.Year, 1899);
    EXPECT_EQ(d.Month, 12);
    EXPECT_EQ(d.Day, 29);
    EXPECT_EQ(t.Hour, 6);
    // A time that rounds up to midnight carries into the next day.
    TDateParts next;
    TTimeParts midnight;
    DecodeDateTime(36526.9999999999, next, midnight);
    EXPECT_EQ(next.Day, 2);
    EXPECT_EQ(midnight.Hour, 0);
    EXPECT_EQ(DayOfWeek(36526), 7);  // 1 January 2000 was a Saturday
    EXPECT_EQ(DayOfWeek(0), 7);
    EXPECT_EQ(DayOfWeek(1), 1);
}

TEST(FormatTest, UnixTimeRoundTrip) {
    const std::time_t t = 1'700'000'000;
    EXPECT_EQ(DateTimeToUnix(DateTimeFromUnix(t)), t);
    const TDateTime now = Now();
    EXPECT_GT(now, 46000);
    EXPECT_EQ(Date(), std::floor(Date()));
}

}  // namespace
}  // namespace mirvex
