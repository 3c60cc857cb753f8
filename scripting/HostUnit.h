// A unit the host offers to scripts: named constants, variables whose reads
// and writes go through callbacks, and native functions with typed
// parameters (var parameters included). Type names are those of the
// language: "Integer", "Float", "DateTime", "Boolean", "String",
// "Variant".
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Nodes.h"
#include "util/Variant.h"

namespace mirvex::script {

struct THostParam {
    std::string Name;
    std::string TypeName;
    bool IsVar = false;
};

struct THostFunction {
    std::string Name;
    std::vector<THostParam> Params;
    // Empty for a procedure.
    std::string ResultType;
    // Any number of arguments of any type, passed as variants.
    bool Variadic = false;
    TNativeFn Fn;
};

struct THostConstant {
    std::string Name;
    std::string TypeName;
    TValue Value;
};

struct THostVariable {
    std::string Name;
    std::string TypeName;
    std::function<TValue()> Read;
    std::function<void(const TValue&)> Write;
};

class THostUnit {
public:
    explicit THostUnit(std::string name) : m_name(std::move(name)) {}
    const std::string& Name() const { return m_name; }

    void AddConstant(THostConstant constant) { m_constants.push_back(std::move(constant)); }
    void AddVariable(THostVariable variable) { m_variables.push_back(std::move(variable)); }
    void AddFunction(THostFunction function) { m_functions.push_back(std::move(function)); }
    // Remove the first entry whose name equals `name` exactly; false when
    // there is none.
    bool RemoveConstant(const std::string& name);
    bool RemoveVariable(const std::string& name);

    const std::vector<THostConstant>& Constants() const { return m_constants; }
    const std::vector<THostVariable>& Variables() const { return m_variables; }
    const std::vector<THostFunction>& Functions() const { return m_functions; }

private:
    std::string m_name;
    std::vector<THostConstant> m_constants;
    std::vector<THostVariable> m_variables;
    std::vector<THostFunction> m_functions;
};

// Between script values and the core's variants. Strings, numbers, dates,
// Booleans and arrays of them travel; anything else becomes Unassigned.
TValue ValueFromVariant(const TVariant& v);
TVariant VariantFromValue(const TValue& v);

}  // namespace mirvex::script
