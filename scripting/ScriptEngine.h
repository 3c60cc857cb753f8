// The script engine's face to its users: compile a text against host
// units, run the program. A program with compile errors runs nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "HostUnit.h"
#include "Runtime.h"
#include "ScriptError.h"
#include "ScriptTypes.h"

namespace mirvex::script {

class TScriptProgram {
public:
    TScriptProgram();
    ~TScriptProgram();
    TScriptProgram(const TScriptProgram&) = delete;
    TScriptProgram& operator=(const TScriptProgram&) = delete;

    bool HasErrors() const { return !m_errors.empty(); }
    const TScriptErrors& Errors() const { return m_errors; }

    // Runs the program once with `param` as the run parameter. Returns
    // false with the error when a run-time error or an exception nobody
    // caught stopped it; what ran before stays done. A program with
    // compile errors does nothing and returns true. `stepLimit` bounds
    // loop iterations and calls (0: no limit).
    bool Run(void* param, TScriptError* error = nullptr, std::int64_t stepLimit = 0);

private:
    friend class TChecker;
    friend std::unique_ptr<TScriptProgram> CompileScript(std::string_view, const std::vector<const THostUnit*>&);
    TTypeTable m_types;
    std::vector<std::unique_ptr<TRoutineCode>> m_routines;
    std::unique_ptr<TBlockNode> m_main;
    std::vector<const TType*> m_globalTypes;
    TScriptErrors m_errors;
};

// Compiles `text`; the units' constants, variables and functions are
// visible to the script (the later units' names win over the earlier
// ones, the script's own declarations over every unit).
std::unique_ptr<TScriptProgram> CompileScript(std::string_view text, const std::vector<const THostUnit*>& units);

}  // namespace mirvex::script
