// The executable form of a compiled script: a tree of typed nodes that the
// checker builds and that runs by calling itself. Expressions evaluate
// through the entry point of their static type (EvalInt for Integer ...),
// so arithmetic on typed values never goes through a generic value.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ScriptTypes.h"
#include "ScriptValue.h"

namespace mirvex::script {

struct TContext;

// One activation: its slots (result, parameters, locals) and the frame of
// the routine it is nested in.
struct TFrame {
    TValue* Slots = nullptr;
    TFrame* Outer = nullptr;
    TContext* Ctx = nullptr;
};

// A script exception travelling up the C++ stack; catchable by try/except.
struct TScriptRaise {
    TValue Exception;  // tag Exception
    int Line = 0;
    int Column = 0;
};

// Ends the run whatever the script does (the fuzzer's step limit).
struct TScriptAbort {
    std::string Message;
};

struct TContext {
    TFrame* Globals = nullptr;
    // Decremented by every loop iteration and call; reaching 0 aborts.
    std::int64_t StepsLeft = INT64_MAX;
    // The run parameter that native functions read back.
    void* Param = nullptr;
    int CallDepth = 0;
    // The exceptions being handled, innermost last ("raise;" re-raises it).
    std::vector<TValue> Handling;
    const TTypeTable* Types = nullptr;
};

// Raises a script exception of a standard class.
[[noreturn]] void RaiseError(const char* className, std::string message);
[[noreturn]] void RaiseConvertError(std::string message);
[[noreturn]] void RaiseRangeError();
void CountStep(TContext& ctx);

enum class TFlow : std::uint8_t { Normal, Break, Continue, Exit };

class TExprNode {
public:
    TExprNode(const TType* type, int line, int column) : Type(type), Line(line), Column(column) {}
    virtual ~TExprNode() = default;

    virtual TValue Eval(TFrame& f) = 0;
    // The typed entry points; each is called only for its static type.
    virtual std::int64_t EvalInt(TFrame& f) { return Eval(f).Deref().Int(); }
    virtual double EvalFloat(TFrame& f) { return Eval(f).Deref().Flt(); }
    virtual bool EvalBool(TFrame& f) { return Eval(f).Deref().Bool(); }
    // A compile-time constant, or null.
    virtual const TValue* Constant() const { return nullptr; }

    const TType* Type;
    int Line;
    int Column;
};

// An expression that can be assigned to.
class TLValueNode : public TExprNode {
public:
    using TExprNode::TExprNode;
    // The storage, or null when it has none (a host variable, a character
    // of a string). Requires: no script code runs between getting the
    // address and using it.
    virtual TValue* Address(TFrame& f) = 0;
    // The object that keeps the storage alive (an array or record element
    // lives in its container); null for a variable's own slot.
    virtual THeapObject* Owner(TFrame&) { return nullptr; }
    virtual void Store(TFrame& f, TValue value) {
        TValue* slot = Address(f);
        *slot = std::move(value);
    }
    // True for a plain variable or parameter, whose slot outlives a call.
    virtual bool IsVariable() const { return false; }
};

class TStmtNode {
public:
    TStmtNode(int line, int column) : Line(line), Column(column) {}
    virtual ~TStmtNode() = default;
    virtual TFlow Exec(TFrame& f) = 0;
    int Line;
    int Column;
};

using TExprPtr = std::unique_ptr<TExprNode>;
using TLValuePtr = std::unique_ptr<TLValueNode>;
using TStmtPtr = std::unique_ptr<TStmtNode>;

// A statement list; fills in the position of errors raised without one.
class TBlockNode final : public TStmtNode {
public:
    using TStmtNode::TStmtNode;
    TFlow Exec(TFrame& f) override;
    std::vector<TStmtPtr> Statements;
};

// A user routine: its frame layout and body.
struct TRoutineCode {
    std::string Name;
    int Level = 1;  // globals are level 0
    bool IsFunction = false;
    const TType* ResultType = nullptr;
    // Slot 0 is the result of a function; then parameters, then locals.
    std::vector<const TType*> SlotTypes;
    int ParamCount = 0;
    std::vector<bool> ParamIsVar;
    int FirstParamSlot = 0;
    std::unique_ptr<TBlockNode> Body;
    bool Defined = false;
};

// Conversions with the rules of variants.
std::int64_t VarToInt(const TValue& v);
double VarToFloat(const TValue& v);
bool VarToBool(const TValue& v);
std::string VarToString(const TValue& v);
// The value converted to a static type (Variant keeps it as it is).
TValue ConvertTo(const TValue& v, const TType* type);
// Variant arithmetic and comparison (-1, 0, 1; Null equals Null and is
// below every other value).
TValue VariantBinary(int op, const TValue& a, const TValue& b);
int VariantCompare(const TValue& a, const TValue& b);
bool VariantEquals(const TValue& a, const TValue& b);
// The Delphi variant type code of a value.
std::int64_t VarTypeCode(const TValue& v);
const char* VarTypeName(const TValue& v);

// Float formatting and parsing for scripts (the core's settings).
std::string ScriptFloatToStr(double v);
bool ScriptTryStrToFloat(const std::string& text, double& out);

}  // namespace mirvex::script
