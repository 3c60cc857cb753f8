// String helpers.
#include "Strings.h"

#include <limits>

namespace mirvex {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

template <typename T>
std::optional<T> ParseInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    unsigned base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return std::nullopt;
    using U = std::make_unsigned_t<T>;
    const U limit = negative ? static_cast<U>(std::numeric_limits<T>::max()) + 1
                             : static_cast<U>(std::numeric_limits<T>::max());
    U value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        unsigned digit = 0;
        if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
        else return std::nullopt;
        if (value > (limit - digit) / base) {
            // Hexadecimal literals may name the full unsigned range, as in Delphi.
            if (base != 16 || negative) return std::nullopt;
            const U umax = std::numeric_limits<U>::max();
            if (value > (umax - digit) / base) return std::nullopt;
        }
        value = static_cast<U>(value * base + digit);
    }
    if (base == 10 && value > limit) return std::nullopt;
    return negative ? static_cast<T>(U{0} - value) : static_cast<T>(value);
}

}  // namespace

std::string Trim(std::string_view text) { return TrimLeft(TrimRight(text)); }

std::string TrimLeft(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    return std::string(text.substr(i));
}

std::string TrimRight(std::string_view text) {
    std::size_t n = text.size();
    while (n > 0 && IsBlank(text[n - 1])) --n;
    return std::string(text.substr(0, n));
}

TStringList SplitLines(std::string_view text) {
    TStringList lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            ++i;
            if (c == '\r' && i < text.size() && text[i] == '\n') ++i;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::string JoinLines(const TStringList& lines) {
    std::size_t total = 0;
    for (const auto& line : lines) total += line.size() + 2;
    std::string text;
    text.reserve(total);
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::optional<std::int32_t> TryStrToInt(std::string_view text) { return ParseInteger<std::int32_t>(text); }
std::optional<std::int64_t> TryStrToInt64(std::string_view text) { return ParseInteger<std::int64_t>(text); }

std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback) {
    return TryStrToInt(text).value_or(fallback);
}

std::string IntToStr(std::int64_t value) { return std::to_string(value); }

bool StartsWith(std::string_view text, std::string_view prefix) { return text.starts_with(prefix); }
bool EndsWith(std::string_view text, std::string_view suffix) { return text.ends_with(suffix); }

}  // namespace mirvex
