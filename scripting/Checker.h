// The checker: resolves names through scopes, checks and converts types,
// folds constant expressions, and builds the executable tree. It reports
// every error it finds and keeps going with an error type, which no
// further message is given for.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "Ast.h"
#include "Builtins.h"
#include "HostUnit.h"
#include "Nodes.h"
#include "ScriptEngine.h"

namespace mirvex::script {

// The syntax tree's names the checker files use (its TExprPtr and
// TStmtPtr stay qualified: the executable tree has its own).
using ast::TPos;
using ast::TExpr;
using ast::TExprKind;
using ast::TStmt;
using ast::TStmtKind;
using ast::TDecl;
using ast::TRoutine;
using ast::TRange;
using ast::TTypeExpr;
using ast::TParamMode;
using ast::TParamGroup;
using ast::TScript;
using ast::TVarDecl;
using ast::TConstDecl;
using ast::TTypeDecl;
using ast::TFieldDecl;
using ast::TCaseBranch;
using ast::TExceptHandler;

struct TParamInfo {
    std::string Name;
    const TType* Type = nullptr;
    ast::TParamMode Mode = ast::TParamMode::Value;
};

struct TRoutineInfo {
    std::string Name;
    TRoutineCode* Code = nullptr;
    std::vector<TParamInfo> Params;
    const TType* Result = nullptr;
    bool IsFunction = false;
    int Level = 1;
    bool Defined = false;
    ast::TPos Pos;
};

struct TSymbol {
    enum class Kind { Variable, Constant, Type, Routine, HostVariable, HostFunction };
    Kind SymbolKind = Kind::Variable;
    const TType* Type = nullptr;
    // Variables: the frame level (0 globals) and slot; var parameters hold
    // a reference; const parameters cannot be assigned.
    int Level = 0;
    int Slot = 0;
    bool IsRef = false;
    bool ReadOnly = false;
    TValue Value;
    TRoutineInfo* Routine = nullptr;
    const THostVariable* HostVariable = nullptr;
    const THostFunction* HostFunction = nullptr;
};

class TChecker {
public:
    TChecker(TScriptProgram& program, const std::vector<const THostUnit*>& units);
    void CheckScript(const ast::TScript& script);

private:
    struct Scope {
        std::unordered_map<std::string, TSymbol> Names;
        int Level = 0;
        // The slots of the frame this scope's variables live in.
        std::vector<const TType*>* Slots = nullptr;
        TRoutineInfo* Routine = nullptr;
        Scope* Parent = nullptr;
    };

    // ---- scopes and errors (Checker.cpp)
    void Error(ast::TPos pos, const std::string& message);
    const TSymbol* Lookup(const std::string& name) const;
    TSymbol* Declare(const std::string& name, TSymbol symbol, ast::TPos pos);
    int NewSlot(const TType* type);
    int Level() const { return m_scope->Level; }

    // ---- declarations and statements (Checker.cpp)
    const TType* ResolveType(const ast::TTypeExpr* type);
    void CheckDeclaration(const ast::TDecl& decl, TBlockNode& block);
    void CheckRoutine(const ast::TRoutine& routine);
    void CheckUnsatisfiedForwards();
    TStmtPtr CheckStatement(const ast::TStmt* stmt);
    std::unique_ptr<TBlockNode> CheckBlock(const std::vector<ast::TStmtPtr>& stmts, ast::TPos pos);
    TStmtPtr CheckAssign(const ast::TStmt& stmt);
    TStmtPtr CheckCallStatement(const ast::TStmt& stmt);
    TStmtPtr CheckFor(const ast::TStmt& stmt);
    TStmtPtr CheckCase(const ast::TStmt& stmt);
    TStmtPtr CheckTry(const ast::TStmt& stmt);
    TStmtPtr MakeAssignment(TLValuePtr target, TExprPtr value, ast::TPos pos);

    // ---- expressions (CheckerExpr.cpp)
    TExprPtr CheckExpr(const ast::TExpr* expr);
    TExprPtr CheckName(const ast::TExpr& expr);
    TExprPtr CheckBinary(const ast::TExpr& expr);
    TExprPtr CheckUnary(const ast::TExpr& expr);
    TExprPtr CheckIndex(const ast::TExpr& expr);
    TExprPtr CheckField(const ast::TExpr& expr);
    TExprPtr CheckCall(const ast::TExpr& expr);
    TExprPtr CheckSet(const ast::TExpr& expr);
    TExprPtr CheckOpenArray(const ast::TExpr& expr);
    TExprPtr CallSymbol(const TSymbol& symbol, const std::string& name, const std::vector<ast::TExprPtr>& args,
                        ast::TPos pos);
    TExprPtr CallRoutine(TRoutineInfo& routine, const std::vector<ast::TExprPtr>& args, ast::TPos pos);
    TExprPtr CallBuiltin(const TBuiltinDef& def, const std::vector<ast::TExprPtr>& args, ast::TPos pos);
    TExprPtr CallHost(const THostFunction& fn, const std::vector<ast::TExprPtr>& args, ast::TPos pos);
    TExprPtr TypeCast(const TType* type, const std::vector<ast::TExprPtr>& args, ast::TPos pos);
    TExprPtr VariableNode(const TSymbol& symbol, ast::TPos pos);
    // The place an assignment or a var argument names, or null (reported).
    TLValuePtr CheckLValue(const ast::TExpr* expr, const char* what);
    // Converts to `target` or reports the mismatch.
    TExprPtr Coerce(TExprPtr e, const TType* target, ast::TPos pos);
    bool CanCoerce(const TType* from, const TType* to) const;
    // Evaluates a node whose operands are constants; the node itself when
    // it is not constant.
    TExprPtr Fold(TExprPtr e, bool pure = true);
    bool ConstantValue(const ast::TExpr* expr, const TType* type, TValue& out);
    TExprPtr ErrorNode(ast::TPos pos);
    const TType* TypeByLetter(char letter) const;
    // The routine whose result an assignment to `name` sets, or null.
    const TRoutineInfo* ResultOf(const std::string& name) const;

    TScriptProgram& m_program;
    TTypeTable& m_types;
    std::unordered_map<std::string, TSymbol> m_unitSymbols;
    std::vector<std::unique_ptr<Scope>> m_scopes;
    std::vector<std::unique_ptr<TRoutineInfo>> m_routineInfos;
    Scope* m_scope = nullptr;
    int m_loopDepth = 0;
    int m_depth = 0;
    int m_exprDepth = 0;
    int m_hiddenCount = 0;
};

}  // namespace mirvex::script
