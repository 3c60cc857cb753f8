// Date and time values as the system counts them: an IEEE double of days
// since 30 December 1899, the fraction being the time of day (local time).
#pragma once

#include <cstdint>
#include <ctime>

namespace mirvex {

using TDateTime = double;

constexpr std::int32_t kMSecsPerDay = 86'400'000;
// Days from 30 December 1899 to 1 January 1970.
constexpr std::int32_t kUnixDateDelta = 25'569;

struct TDateParts {
    int Year = 0, Month = 0, Day = 0;
};
struct TTimeParts {
    int Hour = 0, Minute = 0, Second = 0, MSec = 0;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// False when the date is outside 1..9999 or not a real day.
[[nodiscard]] bool TryEncodeDate(int year, int month, int day, TDateTime& out);
[[nodiscard]] bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& out);
TDateParts DecodeDate(TDateTime value);
TTimeParts DecodeTime(TDateTime value);
// Both parts at once, rounded to the millisecond consistently (a time that
// rounds up to midnight carries into the next day).
void DecodeDateTime(TDateTime value, TDateParts& date, TTimeParts& time);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime value);

TDateTime Now();
TDateTime Date();
TDateTime Time();
// Local time of a POSIX time and back.
TDateTime DateTimeFromUnix(std::time_t seconds);
std::time_t DateTimeToUnix(TDateTime value);

}  // namespace mirvex
