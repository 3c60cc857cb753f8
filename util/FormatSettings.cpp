// Delphi-like number and date formatting.
#include "FormatSettings.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "Cp1251.h"

namespace mirvex {
namespace {

constexpr int kMaxDoublePrecision = 15;

// Decimal digits of |value|: value = 0.d1d2d3... * 10^exponent. Zero has
// no digits. Formatting rounds these digits half away from zero, as the
// system's number texts always have (2,5 with no decimals gives 3).
struct Decimal {
    std::string digits;
    int exponent = 0;
    bool negative = false;
};

// The first 40 significant digits; beyond them glibc's own rounding can only
// matter for a run of two dozen nines, which no realistic value has.
Decimal ExactDecimal(double value) {
    Decimal d;
    d.negative = std::signbit(value);
    if (value == 0) return d;
    char buffer[80];
    std::snprintf(buffer, sizeof buffer, "%.39e", std::fabs(value));
    const std::string text = buffer;
    const std::size_t e = text.find('e');
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.') d.digits += text[i];
    d.exponent = std::atoi(text.c_str() + e + 1) + 1;
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    return d;
}

// Keeps `count` significant digits (none when count <= 0), rounding half up.
void RoundDigits(Decimal& d, int count) {
    if (count >= static_cast<int>(d.digits.size())) return;
    if (count < 0) {
        d.digits.clear();
        return;
    }
    const bool up = d.digits[static_cast<std::size_t>(count)] >= '5';
    d.digits.resize(static_cast<std::size_t>(count));
    if (up) {
        int i = count - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') d.digits[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0) {
            ++d.digits[static_cast<std::size_t>(i)];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exponent;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
}

Decimal ToDecimal(double value, int precision) {
    Decimal d = ExactDecimal(value);
    RoundDigits(d, precision);
    if (d.digits.empty()) d.exponent = 0;
    return d;
}

std::string ExponentText(int exponent, int minDigits, bool plusSign) {
    std::string out = "E";
    if (exponent < 0) out += '-';
    else if (plusSign) out += '+';
    std::string digits = std::to_string(std::abs(exponent));
    if (minDigits > 4) minDigits = 4;
    while (static_cast<int>(digits.size()) < minDigits) digits.insert(digits.begin(), '0');
    return out + digits;
}

std::string Special(double value) {
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

std::string GroupThousands(const std::string& integerPart) {
    const char sep = FormatSettings().ThousandSeparator;
    if (sep == 0) return integerPart;
    std::string out;
    const std::size_t n = integerPart.size();
    for (std::size_t i = 0; i < n; ++i) {
        out += integerPart[i];
        const std::size_t left = n - 1 - i;
        if (left > 0 && left % 3 == 0) out += sep;
    }
    return out;
}

std::string ExponentForm(double value, int precision, int digits) {
    Decimal d = ToDecimal(value, precision);
    const bool zero = d.digits.empty();
    d.digits.resize(static_cast<std::size_t>(precision), '0');
    std::string out = d.negative && !zero ? "-" : "";
    out += d.digits[0];
    if (d.digits.size() > 1) {
        out += FormatSettings().DecimalSeparator;
        out += d.digits.substr(1);
    }
    return out + ExponentText(zero ? 0 : d.exponent - 1, digits, true);
}

std::string FixedForm(double value, int precision, int decimals, bool grouped) {
    if (decimals < 0) decimals = 0;
    if (decimals > 18) decimals = 18;
    Decimal d = ExactDecimal(value);
    if (!d.digits.empty() && d.exponent > precision) return ExponentForm(value, precision, 0);
    RoundDigits(d, d.exponent + decimals);
    std::string integerPart, fraction;
    const int n = static_cast<int>(d.digits.size());
    const auto digit = [&](int i) { return i >= 0 && i < n ? d.digits[static_cast<std::size_t>(i)] : '0'; };
    // Digit i (0-based) stands for 10^(exponent - 1 - i).
    if (d.digits.empty() || d.exponent <= 0) integerPart = "0";
    else
        for (int i = 0; i < d.exponent; ++i) integerPart += digit(i);
    for (int k = 0; k < decimals; ++k) fraction += d.digits.empty() ? '0' : digit(d.exponent + k);
    std::string out = d.negative && !d.digits.empty() ? "-" : "";
    out += grouped ? GroupThousands(integerPart) : integerPart;
    if (!fraction.empty()) {
        out += FormatSettings().DecimalSeparator;
        out += fraction;
    }
    return out;
}

std::string GeneralForm(double value, int precision, int digits) {
    Decimal d = ToDecimal(value, precision);
    if (d.digits.empty()) return "0";
    const char sep = FormatSettings().DecimalSeparator;
    std::string out = d.negative ? "-" : "";
    const int n = static_cast<int>(d.digits.size());
    if (d.exponent > precision || d.exponent < -3) {
        out += d.digits[0];
        if (n > 1) {
            out += sep;
            out += d.digits.substr(1);
        }
        return out + ExponentText(d.exponent - 1, digits, false);
    }
    if (d.exponent <= 0) {
        out += '0';
        out += sep;
        out.append(static_cast<std::size_t>(-d.exponent), '0');
        out += d.digits;
    } else if (d.exponent >= n) {
        out += d.digits;
        out.append(static_cast<std::size_t>(d.exponent - n), '0');
    } else {
        out += d.digits.substr(0, static_cast<std::size_t>(d.exponent));
        out += sep;
        out += d.digits.substr(static_cast<std::size_t>(d.exponent));
    }
    return out;
}

[[noreturn]] void FormatError(std::string_view pattern) {
    throw EConvertError("Format '" + std::string(pattern) + "' invalid or incompatible with argument");
}

std::string HexText(std::int64_t value) {
    char buffer[32];
    if (value >= INT32_MIN && value <= INT32_MAX)
        std::snprintf(buffer, sizeof buffer, "%X", static_cast<std::uint32_t>(static_cast<std::int32_t>(value)));
    else
        std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(value));
    return buffer;
}

std::string PadDigits(std::string digits, int minDigits) {
    const bool negative = !digits.empty() && digits[0] == '-';
    std::string body = negative ? digits.substr(1) : digits;
    while (static_cast<int>(body.size()) < minDigits) body.insert(body.begin(), '0');
    return negative ? "-" + body : body;
}

}  // namespace

TFormatSettings TFormatSettings::Russian() {
    TFormatSettings s;
    s.LongDateFormat = Cp1251("d MMMM yyyy 'г.'");
    static const char* kShortMonths[] = {"янв", "фев", "мар", "апр", "май", "июн",
                                         "июл", "авг", "сен", "окт", "ноя", "дек"};
    static const char* kLongMonths[] = {"Январь", "Февраль", "Март",     "Апрель",  "Май",    "Июнь",
                                        "Июль",   "Август",  "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"};
    static const char* kShortDays[] = {"Вс", "Пн", "Вт", "Ср", "Чт", "Пт", "Сб"};
    static const char* kLongDays[] = {"воскресенье", "понедельник", "вторник", "среда",
                                      "четверг",     "пятница",     "суббота"};
    for (int i = 0; i < 12; ++i) {
        s.ShortMonthNames[i] = Cp1251(kShortMonths[i]);
        s.LongMonthNames[i] = Cp1251(kLongMonths[i]);
    }
    for (int i = 0; i < 7; ++i) {
        s.ShortDayNames[i] = Cp1251(kShortDays[i]);
        s.LongDayNames[i] = Cp1251(kLongDays[i]);
    }
    return s;
}

TFormatSettings& FormatSettings() {
    static TFormatSettings settings = TFormatSettings::Russian();
    return settings;
}

std::string FloatToStrF(double value, TFloatFormat format, int precision, int digits) {
    if (!std::isfinite(value)) return Special(value);
    if (precision < 1) precision = 1;
    if (precision > kMaxDoublePrecision) precision = kMaxDoublePrecision;
    switch (format) {
        case TFloatFormat::General: return GeneralForm(value, precision, digits);
        case TFloatFormat::Exponent: return ExponentForm(value, precision, digits);
        case TFloatFormat::Fixed: return FixedForm(value, precision, digits, false);
        case TFloatFormat::Number:
        case TFloatFormat::Currency: return FixedForm(value, precision, digits, true);
    }
    return {};
}

std::string FloatToStr(double value) { return FloatToStrF(value, TFloatFormat::General, 15, 0); }

std::string Format(std::string_view pattern, std::initializer_list<TFormatArg> args) {
    return Format(pattern, args.begin(), args.size());
}

std::string Format(std::string_view pattern, const TFormatArg* args, std::size_t count) {
    std::string out;
    std::size_t next = 0;
    std::size_t i = 0;
    const auto takeInt = [&]() -> std::int64_t {
        if (next >= count || args[next].GetKind() != TFormatArg::Kind::Integer) FormatError(pattern);
        return args[next++].Integer();
    };
    // Reads a decimal number or '*' at position i; -1 when there is none.
    const auto number = [&]() -> std::int64_t {
        if (i < pattern.size() && pattern[i] == '*') {
            ++i;
            return takeInt();
        }
        if (i >= pattern.size() || pattern[i] < '0' || pattern[i] > '9') return -1;
        std::int64_t n = 0;
        while (i < pattern.size() && pattern[i] >= '0' && pattern[i] <= '9') {
            n = n * 10 + (pattern[i++] - '0');
            if (n > 100000) FormatError(pattern);
        }
        return n;
    };
    while (i < pattern.size()) {
        const char c = pattern[i++];
        if (c != '%') {
            out += c;
            continue;
        }
        if (i < pattern.size() && pattern[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        std::int64_t first = number();
        if (i < pattern.size() && pattern[i] == ':') {
            if (first < 0) first = 0;
            next = static_cast<std::size_t>(first);
            ++i;
            first = -1;
        }
        bool left = false;
        if (first < 0 && i < pattern.size() && pattern[i] == '-') {
            left = true;
            ++i;
        }
        std::int64_t width = first >= 0 ? first : number();
        std::int64_t precision = -1;
        if (i < pattern.size() && pattern[i] == '.') {
            ++i;
            precision = number();
            if (precision < 0) precision = 0;
        }
        if (i >= pattern.size()) FormatError(pattern);
        const char type = static_cast<char>(pattern[i++] | 0x20);
        if (next >= count) FormatError(pattern);
        const TFormatArg& arg = args[next++];
        std::string text;
        switch (type) {
            case 'd':
            case 'u': {
                if (arg.GetKind() != TFormatArg::Kind::Integer) FormatError(pattern);
                std::int64_t v = arg.Integer();
                if (type == 'u' && v < 0 && v >= INT32_MIN) v = static_cast<std::uint32_t>(v);
                text = PadDigits(std::to_string(v), static_cast<int>(precision));
                break;
            }
            case 'x':
                if (arg.GetKind() != TFormatArg::Kind::Integer) FormatError(pattern);
                text = PadDigits(HexText(arg.Integer()), static_cast<int>(precision));
                break;
            case 'e':
            case 'f':
            case 'g':
            case 'n':
            case 'm': {
                if (arg.GetKind() != TFormatArg::Kind::Float) FormatError(pattern);
                const double v = arg.Float();
                if (type == 'e') text = FloatToStrF(v, TFloatFormat::Exponent, precision < 0 ? 15 : int(precision), 3);
                if (type == 'f') text = FloatToStrF(v, TFloatFormat::Fixed, 18, precision < 0 ? 2 : int(precision));
                if (type == 'g') text = FloatToStrF(v, TFloatFormat::General, precision < 0 ? 15 : int(precision), 0);
                if (type == 'n' || type == 'm')
                    text = FloatToStrF(v, TFloatFormat::Number, 18, precision < 0 ? 2 : int(precision));
                break;
            }
            case 's':
                if (arg.GetKind() != TFormatArg::Kind::String) FormatError(pattern);
                text = std::string(arg.String());
                if (precision >= 0 && static_cast<std::size_t>(precision) < text.size())
                    text.resize(static_cast<std::size_t>(precision));
                break;
            default: FormatError(pattern);
        }
        if (width > 0 && static_cast<std::size_t>(width) > text.size()) {
            const std::string pad(static_cast<std::size_t>(width) - text.size(), ' ');
            text = left ? text + pad : pad + text;
        }
        out += text;
    }
    return out;
}

std::string FormatDateTime(std::string_view pattern, TDateTime value) {
    const TFormatSettings& fs = FormatSettings();
    TDateParts date;
    TTimeParts time;
    DecodeDateTime(value, date, time);
    std::string out;
    bool afterHour = false;
    const auto two = [](int v) {
        char b[16];
        std::snprintf(b, sizeof b, "%02d", v);
        return std::string(b);
    };
    std::size_t i = 0;
    // Nested patterns (c, ddddd, t, ...) recurse one level at most, since
    // the settings' own patterns do not name one another in practice; the
    // depth guard keeps a pathological setting from recursing for ever.
    static thread_local int depth = 0;
    if (depth > 2) return out;
    struct DepthGuard {
        DepthGuard() { ++depth; }
        ~DepthGuard() { --depth; }
    } guard;
    while (i < pattern.size()) {
        const char c = pattern[i];
        const char lc = static_cast<char>((c >= 'A' && c <= 'Z') ? c + 32 : c);
        std::size_t run = 1;
        while (i + run < pattern.size() && ((pattern[i + run] | 0x20) == lc) && lc >= 'a' && lc <= 'z') ++run;
        if (c == '\'' || c == '"') {
            std::size_t end = pattern.find(c, i + 1);
            if (end == std::string_view::npos) end = pattern.size();
            out += pattern.substr(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        if (lc == 'a') {
            const std::string_view rest = pattern.substr(i);
            const auto starts = [&](std::string_view w) {
                return rest.size() >= w.size() && SameTextAscii(rest.substr(0, w.size()), w);
            };
            const bool pm = time.Hour >= 12;
            if (starts("am/pm")) {
                out += pm ? "pm" : "am";
                i += 5;
                continue;
            }
            if (starts("a/p")) {
                out += pm ? "p" : "a";
                i += 3;
                continue;
            }
            if (starts("ampm")) {
                out += pm ? fs.TimePMString : fs.TimeAMString;
                i += 4;
                continue;
            }
        }
        switch (lc) {
            case 'y':
                out += run <= 2 ? two(date.Year % 100) : std::to_string(date.Year);
                afterHour = false;
                break;
            case 'm':
                if (afterHour && run <= 2) {
                    out += run == 1 ? std::to_string(time.Minute) : two(time.Minute);
                } else if (run == 1) {
                    out += std::to_string(date.Month);
                } else if (run == 2) {
                    out += two(date.Month);
                } else {
                    out += run == 3 ? fs.ShortMonthNames[date.Month - 1] : fs.LongMonthNames[date.Month - 1];
                }
                afterHour = false;
                break;
            case 'd':
                if (run == 1) out += std::to_string(date.Day);
                else if (run == 2) out += two(date.Day);
                else if (run == 3) out += fs.ShortDayNames[DayOfWeek(value) - 1];
                else if (run == 4) out += fs.LongDayNames[DayOfWeek(value) - 1];
                else if (run == 5) out += FormatDateTime(fs.ShortDateFormat, value);
                else out += FormatDateTime(fs.LongDateFormat, value);
                afterHour = false;
                break;
            case 'h':
                out += run == 1 ? std::to_string(time.Hour) : two(time.Hour);
                afterHour = true;
                break;
            case 'n':
                out += run == 1 ? std::to_string(time.Minute) : two(time.Minute);
                afterHour = false;
                break;
            case 's':
                out += run == 1 ? std::to_string(time.Second) : two(time.Second);
                afterHour = false;
                break;
            case 'z': {
                char b[16];
                std::snprintf(b, sizeof b, run >= 3 ? "%03d" : "%d", time.MSec);
                out += b;
                break;
            }
            case 't':
                out += FormatDateTime(run == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, value);
                afterHour = false;
                break;
            case 'c':
                out += FormatDateTime(fs.ShortDateFormat, value);
                if (time.Hour || time.Minute || time.Second || time.MSec) {
                    out += ' ';
                    out += FormatDateTime(fs.LongTimeFormat, value);
                }
                break;
            case '/':
                out += fs.DateSeparator;
                break;
            case ':':
                out += fs.TimeSeparator;
                break;
            default:
                out.append(pattern.substr(i, run));
                break;
        }
        i += run;
    }
    return out;
}

std::string DateToStr(TDateTime value) { return FormatDateTime(FormatSettings().ShortDateFormat, value); }
std::string TimeToStr(TDateTime value) { return FormatDateTime(FormatSettings().LongTimeFormat, value); }
std::string DateTimeToStr(TDateTime value) { return FormatDateTime("c", value); }

}  // namespace mirvex
