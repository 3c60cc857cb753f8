// Delphi-like helpers over code page 1251 byte strings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirvex {

using TStringList = std::vector<std::string>;

// Trim removes blanks and control characters (bytes up to 0x20).
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

// Lines as a string list sets them from a text: a line ends at CR, LF or
// CR LF; a final line break does not start another line.
TStringList SplitLines(std::string_view text);
// A string list's text: every line followed by CR LF.
std::string JoinLines(const TStringList& lines);

// Integer conversion as Delphi's Val: optional blanks in front, a sign,
// decimal digits or '$'/'0x' hexadecimal; nothing may follow; the value must
// fit the type.
std::optional<std::int32_t> TryStrToInt(std::string_view text);
std::optional<std::int64_t> TryStrToInt64(std::string_view text);
std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback);

std::string IntToStr(std::int64_t value);

// Index of `what` in `text` counted from 0, or npos.
inline std::size_t Pos(std::string_view what, std::string_view text) { return text.find(what); }
bool StartsWith(std::string_view text, std::string_view prefix);
bool EndsWith(std::string_view text, std::string_view suffix);

}  // namespace mirvex
