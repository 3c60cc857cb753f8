// Day counting in the proleptic Gregorian calendar.
#include "DateTime.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace mirvex {
namespace {

// Days since 1970-01-01 of a civil date (H. Hinnant's algorithm).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

TDateParts CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

// Splits into whole days since the epoch of the format and milliseconds of
// the day. Negative values count the date towards the past and the time
// forward from midnight of that date, as the format defines them.
void Split(TDateTime value, std::int64_t& days, std::int64_t& msec) {
    if (!std::isfinite(value) || std::fabs(value) > 3.0e6) {
        days = 0;
        msec = 0;
        return;
    }
    if (value >= 0) {
        const auto total = static_cast<std::int64_t>(std::llround(value * kMSecsPerDay));
        days = total / kMSecsPerDay;
        msec = total % kMSecsPerDay;
    } else {
        days = static_cast<std::int64_t>(std::trunc(value));
        msec = std::llround(std::fabs(value - std::trunc(value)) * kMSecsPerDay);
        if (msec >= kMSecsPerDay) msec = kMSecsPerDay - 1;
    }
}

}  // namespace

bool IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& out) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    out = static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                              kUnixDateDelta);
    return true;
}

bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& out) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 ||
        msec > 999)
        return false;
    out = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + msec) / kMSecsPerDay;
    return true;
}

void DecodeDateTime(TDateTime value, TDateParts& date, TTimeParts& time) {
    std::int64_t days = 0, msec = 0;
    Split(value, days, msec);
    date = CivilFromDays(days - kUnixDateDelta);
    time.Hour = static_cast<int>(msec / 3'600'000);
    time.Minute = static_cast<int>(msec / 60'000 % 60);
    time.Second = static_cast<int>(msec / 1000 % 60);
    time.MSec = static_cast<int>(msec % 1000);
}

TDateParts DecodeDate(TDateTime value) {
    TDateParts date;
    TTimeParts time;
    DecodeDateTime(value, date, time);
    return date;
}

TTimeParts DecodeTime(TDateTime value) {
    TDateParts date;
    TTimeParts time;
    DecodeDateTime(value, date, time);
    return time;
}

int DayOfWeek(TDateTime value) {
    std::int64_t days = 0, msec = 0;
    Split(value, days, msec);
    // 30 December 1899 was a Saturday (7).
    const std::int64_t w = ((days % 7) + 7 + 6) % 7;
    return static_cast<int>(w) + 1;
}

TDateTime DateTimeFromUnix(std::time_t seconds) {
    std::tm local{};
    localtime_r(&seconds, &local);
    TDateTime date = 0, time = 0;
    if (!TryEncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, date)) return 0;
    (void)TryEncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), 0, time);
    return date + time;
}

std::time_t DateTimeToUnix(TDateTime value) {
    TDateParts d;
    TTimeParts t;
    DecodeDateTime(value, d, t);
    std::tm local{};
    local.tm_year = d.Year - 1900;
    local.tm_mon = d.Month - 1;
    local.tm_mday = d.Day;
    local.tm_hour = t.Hour;
    local.tm_min = t.Minute;
    local.tm_sec = t.Second;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

TDateTime Now() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const auto secs = system_clock::to_time_t(now);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    return DateTimeFromUnix(secs) + static_cast<double>(ms) / kMSecsPerDay;
}

TDateTime Date() { return std::floor(Now()); }
TDateTime Time() {
    const TDateTime now = Now();
    return now - std::floor(now);
}

}  // namespace mirvex
