// Shared helpers: identity texts, time and path texts, the login password
// hash, unique file names, and starting another program.
//
// Paths are native file-system strings (UTF-8 here); record texts are code
// page 1251 and are converted where a record text becomes a path.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace mirvex {

struct TGuid {
    std::uint32_t D1 = 0;
    std::uint16_t D2 = 0;
    std::uint16_t D3 = 0;
    std::array<std::uint8_t, 8> D4{};
};

// A random version-4 GUID.
TGuid NewGuid();
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hexadecimal.
std::string GuidToText(const TGuid& guid);
std::string NewGuidText();

// Removes one trailing CR LF from a text longer than one character.
std::string TrimTrailingCrLf(std::string_view text);
// "%d мин %d сек" when forced or above 60 seconds, else "%d сек".
std::string SecondsToText(std::int32_t seconds, bool forceMinutes);
// Appends the path separator unless the text is empty or ends with one.
std::string IncludeTrailingBackslash(std::string_view path);
// Cuts `text` at the first (or, with upToLast, the last) `separator` and
// returns the part before or after it; without a separator the part before
// is empty and the part after is the whole text.
std::string SplitAtSeparator(std::string_view text, std::string_view separator, bool takeBefore, bool upToLast);

// The temporary folder with a trailing separator.
std::string TempFolder();
// Where the system keeps machine-wide program data (the design's Windows
// directory); no trailing separator.
std::string WindowsFolder();
// `path` itself when no file of that name exists, else the first free of
// name1.ext, name2.ext, ... where name is the file name up to its first dot
// and ext its extension from the last dot. A name without a dot is kept
// whole.
std::string UniqueFileName(std::string_view path);

// The login password hash: 0x3A5C91E4 plus every byte shifted left by its
// 1-based position modulo 31, in wrapping 32-bit arithmetic.
std::int32_t PasswordHash(std::string_view text);

// Starts `commandLine` (the program is its first token, found through PATH;
// double quotes group a token; no descriptors beyond stdio are inherited).
// Returns -1 when the program cannot be started. With `wait`, a second
// thread waits for the process while the caller keeps calling
// `processEvents` (about every 10 ms) and the exit code is returned (128 +
// the signal for a killed process); without it, 0 is returned at once and
// the process is reaped in the background. `hidden` asks for no window,
// which on this platform is what every start does.
std::int32_t RunProgram(std::string_view commandLine, bool hidden, bool wait,
                        const std::function<void()>& processEvents = {});

// Splits a command line into tokens: blanks separate, double quotes group,
// a backslash before a quote escapes it.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

}  // namespace mirvex
