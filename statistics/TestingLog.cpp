// Testing log entries.
#include "TestingLog.h"

#include <cstdio>

#include "util/FormatSettings.h"

namespace mirvex {

std::string LogTimeText(TDateTime when) {
    const TFormatSettings& fs = FormatSettings();
    return FormatDateTime(fs.ShortDateFormat + " " + fs.LongTimeFormat, when);
}

std::string FormatLogEntry(std::uint8_t code, TDateTime when, std::string_view message) {
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "%02u", static_cast<unsigned>(code));
    std::string entry = prefix;
    entry += LogTimeText(when);
    entry += '\t';
    entry.append(message);
    entry += '\0';
    return entry;
}

std::string TLogEntry::ShownMessage() const {
    const std::size_t tab = Message.rfind('\t');
    return tab == std::string::npos ? Message : Message.substr(tab + 1);
}

std::vector<TLogEntry> SplitLog(std::string_view log) {
    std::vector<TLogEntry> entries;
    std::size_t start = 0;
    while (start < log.size()) {
        std::size_t end = log.find('\0', start);
        if (end == std::string_view::npos) end = log.size();
        const std::string_view piece = log.substr(start, end - start);
        TLogEntry entry;
        // Codes are written with two digits at least; the date that follows
        // starts with digits too, so exactly two are taken.
        if (piece.size() >= 2 && piece[0] >= '0' && piece[0] <= '9' && piece[1] >= '0' && piece[1] <= '9')
            entry.Code = (piece[0] - '0') * 10 + (piece[1] - '0');
        const std::string_view rest = entry.Code >= 0 ? piece.substr(2) : piece;
        const std::size_t tab = rest.find('\t');
        if (tab == std::string_view::npos) {
            entry.Message = std::string(rest);
        } else {
            entry.TimeText = std::string(rest.substr(0, tab));
            entry.Message = std::string(rest.substr(tab + 1));
        }
        entries.push_back(std::move(entry));
        start = end + 1;
    }
    return entries;
}

}  // namespace mirvex
