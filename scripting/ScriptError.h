// Errors of compiling and running scripts: values handed to the host, one
// format for every message.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mirvex::script {

struct TScriptError {
    enum class Kind { Compile, Runtime };
    Kind ErrorKind = Kind::Compile;
    int Line = 0;
    int Column = 0;
    std::string Message;
    // "FILE:LINE:COL: message" (message text is code page 1251 where it
    // quotes the script).
    std::string Format(const std::string& fileName) const {
        return fileName + ":" + std::to_string(Line) + ":" + std::to_string(Column) + ": " + Message;
    }
};

using TScriptErrors = std::vector<TScriptError>;

// Limits that keep damaged or hostile scripts from exhausting the stack or
// the memory; scripts of real tests stay far below them.
constexpr int kMaxNesting = 400;           // statements and expressions inside one another
constexpr int kMaxCallDepth = 2000;        // routine calls inside one another at run time
struct TScriptLimits {
    std::int64_t MaxArrayLength = 1 << 24;
    std::int64_t MaxStringLength = std::int64_t{1} << 28;
};
// Process-wide; the fuzzer lowers them.
inline TScriptLimits& ScriptLimits() {
    static TScriptLimits limits;
    return limits;
}

}  // namespace mirvex::script
