// Code page 1251 tables.
#include "Cp1251.h"

#include <array>
#include <cstdint>

namespace mirvex {
namespace {

// Unicode code points of the bytes 0x80..0xFF.
constexpr std::array<char16_t, 128> kHigh = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

// Unicode code points of the OEM code page 866 bytes 0x80..0xFF.
constexpr std::array<char16_t, 128> kOemHigh = {
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B,
    0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433,
    0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B,
    0x044C, 0x044D, 0x044E, 0x044F, 0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0,
};

// Pairs of (upper, lower) letters of the upper half other than А..я.
constexpr std::uint8_t kCasePairs[][2] = {
    {0x80, 0x90}, {0x81, 0x83}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8D, 0x9D}, {0x8E, 0x9E},
    {0x8F, 0x9F}, {0xA1, 0xA2}, {0xA3, 0xBC}, {0xA5, 0xB4}, {0xA8, 0xB8}, {0xAA, 0xBA},
    {0xAF, 0xBF}, {0xB2, 0xB3}, {0xBD, 0xBE},
};

struct CaseTables {
    std::array<std::uint8_t, 256> upper{};
    std::array<std::uint8_t, 256> lower{};
    CaseTables() {
        for (int i = 0; i < 256; ++i) upper[i] = lower[i] = static_cast<std::uint8_t>(i);
        for (int c = 'a'; c <= 'z'; ++c) {
            upper[c] = static_cast<std::uint8_t>(c - 32);
            lower[c - 32] = static_cast<std::uint8_t>(c);
        }
        for (int c = 0xE0; c <= 0xFF; ++c) {
            upper[c] = static_cast<std::uint8_t>(c - 32);
            lower[c - 32] = static_cast<std::uint8_t>(c);
        }
        for (const auto& pair : kCasePairs) {
            upper[pair[1]] = pair[0];
            lower[pair[0]] = pair[1];
        }
    }
};

const CaseTables& Tables() {
    static const CaseTables tables;
    return tables;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char EncodeCodePoint(char32_t cp) {
    if (cp < 0x80) return static_cast<char>(cp);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == cp) return static_cast<char>(0x80 + i);
    return '?';
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (const char ch : text) {
        const auto b = static_cast<std::uint8_t>(ch);
        AppendUtf8(out, b < 0x80 ? b : kHigh[b - 0x80]);
    }
    return out;
}

std::string Utf8ToCp1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<std::uint8_t>(utf8[i]);
        int extra = 0;
        char32_t cp = 0;
        if (b < 0x80) {
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        if ((b & 0xE0) == 0xC0) {
            extra = 1;
            cp = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            cp = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            cp = b & 0x07;
        } else {
            out += '?';
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        bool ok = true;
        for (int k = 0; k < extra; ++k, ++j) {
            if (j >= utf8.size() || (static_cast<std::uint8_t>(utf8[j]) & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (static_cast<std::uint8_t>(utf8[j]) & 0x3F);
        }
        // Overlong forms are malformed too.
        static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
        if (!ok || cp < kMin[extra]) {
            out += '?';
            i = j;  // the offending byte starts the next sequence
            continue;
        }
        out += EncodeCodePoint(cp);
        i = j;
    }
    return out;
}

std::optional<std::string> Cp1251ToOem(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto b = static_cast<std::uint8_t>(ch);
        if (b < 0x80) {
            out += ch;
            continue;
        }
        const char16_t cp = kHigh[b - 0x80];
        std::size_t i = 0;
        while (i < kOemHigh.size() && kOemHigh[i] != cp) ++i;
        if (i == kOemHigh.size()) return std::nullopt;
        out += static_cast<char>(0x80 + i);
    }
    return out;
}

std::string OemToCp1251(std::string_view oem) {
    std::string utf8;
    for (const char ch : oem) {
        const auto b = static_cast<std::uint8_t>(ch);
        AppendUtf8(utf8, b < 0x80 ? b : kOemHigh[b - 0x80]);
    }
    return Utf8ToCp1251(utf8);
}

char UpperChar1251(char c) { return static_cast<char>(Tables().upper[static_cast<std::uint8_t>(c)]); }
char LowerChar1251(char c) { return static_cast<char>(Tables().lower[static_cast<std::uint8_t>(c)]); }

std::string UpperCase1251(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = UpperChar1251(c);
    return out;
}

std::string LowerCase1251(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = LowerChar1251(c);
    return out;
}

bool SameText1251(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UpperChar1251(a[i]) != UpperChar1251(b[i])) return false;
    return true;
}

std::string UpperCaseAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return out;
}

bool SameTextAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

}  // namespace mirvex
