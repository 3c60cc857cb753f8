// libFuzzer target over the script compiler and interpreter: arbitrary
// text is compiled against the host unit of a testing session and, when it
// compiles, run with a step limit and small size limits. File functions
// are switched off.
#include <cstdint>
#include <string>

#include "scripting/Builtins.h"
#include "scripting/ScriptEngine.h"
#include "scripting/ScriptsDataUnit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace mirvex;
    static TDataModuleScripts* host = [] {
        script::SetScriptFileAccess(false);
        script::ScriptLimits().MaxArrayLength = 1 << 12;
        script::ScriptLimits().MaxStringLength = 1 << 16;
        return new TDataModuleScripts;
    }();
    const std::string text(reinterpret_cast<const char*>(data), size);
    auto program = script::CompileScript(text, {&host->Unit()});
    script::TScriptError error;
    (void)program->Run(nullptr, &error, 20000);
    return 0;
}
