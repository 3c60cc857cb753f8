// The process-wide format settings (Russian by default) and the Delphi-like
// formatting of numbers, dates and times that the system's texts use. All
// texts are code page 1251.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

#include "DateTime.h"

namespace mirvex {

struct TFormatSettings {
    char DecimalSeparator = ',';
    char ThousandSeparator = '\xA0';
    char DateSeparator = '.';
    char TimeSeparator = ':';
    // Date and time patterns use FormatDateTime's letters, in either case.
    std::string ShortDateFormat = "dd.MM.yyyy";
    std::string LongDateFormat;
    std::string ShortTimeFormat = "H:mm";
    std::string LongTimeFormat = "H:mm:ss";
    std::string TimeAMString;
    std::string TimePMString;
    std::array<std::string, 12> ShortMonthNames;
    std::array<std::string, 12> LongMonthNames;
    std::array<std::string, 7> ShortDayNames;  // Sunday first
    std::array<std::string, 7> LongDayNames;

    static TFormatSettings Russian();
};

// The one set the whole process uses; scripts and tests may change it.
TFormatSettings& FormatSettings();

// Raised by Format when the pattern is invalid or does not fit its arguments.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TFormatArg {
public:
    enum class Kind { Integer, Float, String };
    TFormatArg(int v) : m_kind(Kind::Integer), m_int(v) {}
    TFormatArg(long v) : m_kind(Kind::Integer), m_int(v) {}
    TFormatArg(long long v) : m_kind(Kind::Integer), m_int(v) {}
    TFormatArg(unsigned v) : m_kind(Kind::Integer), m_int(v) {}
    TFormatArg(unsigned long v) : m_kind(Kind::Integer), m_int(static_cast<std::int64_t>(v)) {}
    TFormatArg(double v) : m_kind(Kind::Float), m_float(v) {}
    TFormatArg(const char* v) : m_kind(Kind::String), m_string(v) {}
    TFormatArg(const std::string& v) : m_kind(Kind::String), m_string(v) {}
    TFormatArg(std::string_view v) : m_kind(Kind::String), m_string(v) {}

    Kind GetKind() const { return m_kind; }
    std::int64_t Integer() const { return m_int; }
    double Float() const { return m_float; }
    std::string_view String() const { return m_string; }

private:
    Kind m_kind;
    std::int64_t m_int = 0;
    double m_float = 0;
    std::string_view m_string;
};

// Delphi's Format: "%" [index ":"] ["-"] [width] ["." precision] type, with
// the types d u e f g n m s x and "%%"; "*" takes a width or precision from
// the arguments. Throws EConvertError on a bad pattern or argument.
std::string Format(std::string_view pattern, std::initializer_list<TFormatArg> args);
std::string Format(std::string_view pattern, const TFormatArg* args, std::size_t count);

enum class TFloatFormat { General, Exponent, Fixed, Number, Currency };

// Delphi's FloatToStrF: precision counts significant digits (at most 15 for
// a double), digits are the decimals (fixed, number) or the least exponent
// digits (general, exponent).
std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits);
// The general form with up to 15 significant digits: 0,1  1E20  -1,5E-7.
std::string FloatToStr(double value);

// Delphi's FormatDateTime letters: c d dd ddd dddd ddddd dddddd m mm mmm mmmm
// yy yyyy h hh n nn s ss z zzz t tt am/pm a/p ampm / : 'text' "text";
// m right after an hour means minutes.
std::string FormatDateTime(std::string_view pattern, TDateTime value);
std::string DateToStr(TDateTime value);
std::string TimeToStr(TDateTime value);
// Date and long time; the time is left out when it is midnight.
std::string DateTimeToStr(TDateTime value);

}  // namespace mirvex
