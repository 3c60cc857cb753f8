// The testing log of a session: a string of entries, each the two-digit
// code, the date and time in the short date and long time formats, a tab,
// the message (which may hold line breaks and tabs) and a NUL.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "util/DateTime.h"

namespace mirvex {

enum class TLogCode : std::uint8_t {
    Information = 0,
    Started = 1,
    Interrupted = 2,
    QuestionPut = 3,
    Right = 4,
    Finished = 5,
    ScriptLine = 6,
    Warning = 7,
    UserLine = 8,
    Wrong = 9,
    PartlyRight = 10,
    Skipped = 11,
};

// One entry, NUL included.
std::string FormatLogEntry(std::uint8_t code, TDateTime when, std::string_view message);
inline std::string FormatLogEntry(TLogCode code, TDateTime when, std::string_view message) {
    return FormatLogEntry(static_cast<std::uint8_t>(code), when, message);
}
// The date and time as entries carry them.
std::string LogTimeText(TDateTime when);

struct TLogEntry {
    // -1 when the entry does not start with a decimal code.
    int Code = -1;
    // From behind the code up to the first tab.
    std::string TimeText;
    // Everything behind the first tab.
    std::string Message;
    // What a log view shows: the text behind the last tab.
    std::string ShownMessage() const;
};

// Splits a log at its NULs; a trailing piece without NUL is an entry too.
std::vector<TLogEntry> SplitLog(std::string_view log);

}  // namespace mirvex
