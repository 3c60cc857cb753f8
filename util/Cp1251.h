// Code page 1251: every text of the core is a byte string in it. Conversion
// to and from UTF-8 happens only where texts leave the core (Qt, JSON, the
// terminal), through these functions.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mirvex {

// Every byte maps to a character (0x98, unassigned, maps to U+0098), so
// Utf8ToCp1251(Cp1251ToUtf8(s)) == s for any byte string s.
std::string Cp1251ToUtf8(std::string_view text);
// Characters without a code page 1251 byte, and malformed UTF-8 sequences,
// become '?'.
std::string Utf8ToCp1251(std::string_view utf8);
// Short form for the system's own texts written in UTF-8 source files.
inline std::string Cp1251(std::string_view utf8) { return Utf8ToCp1251(utf8); }

// The OEM code page 866 that zip entry names use when they carry no UTF-8
// flag. Null when a character of the text has no OEM byte.
std::optional<std::string> Cp1251ToOem(std::string_view text);
// OEM characters without a code page 1251 byte (box drawing) become '?'.
std::string OemToCp1251(std::string_view oem);

// Casing of code page 1251: Latin and Cyrillic letters, Ё/ё and the other
// Cyrillic letters of the code page; every other byte is left as it is.
char UpperChar1251(char c);
char LowerChar1251(char c);
std::string UpperCase1251(std::string_view text);
std::string LowerCase1251(std::string_view text);
// Equality ignoring code page 1251 letter case.
bool SameText1251(std::string_view a, std::string_view b);

// Casing of the Latin letters a-z only; other bytes must match exactly.
std::string UpperCaseAscii(std::string_view text);
bool SameTextAscii(std::string_view a, std::string_view b);

}  // namespace mirvex
