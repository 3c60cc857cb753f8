// The syntax tree the parser builds and the checker turns into a program.
// Names keep the letter case they were written with.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Lexer.h"

namespace mirvex::script::ast {

struct TPos {
    int Line = 0;
    int Column = 0;
};

struct TExpr;
struct TStmt;
struct TTypeExpr;
using TExprPtr = std::unique_ptr<TExpr>;
using TStmtPtr = std::unique_ptr<TStmt>;
using TTypePtr = std::unique_ptr<TTypeExpr>;

struct TRange {
    TExprPtr Low;
    TExprPtr High;  // null for a single value
};

struct TFieldDecl {
    TPos Pos;
    std::vector<std::string> Names;
    TTypePtr Type;
};

struct TTypeExpr {
    enum class Kind { Named, StaticArray, DynamicArray, Record, SetOf };
    Kind TypeKind = Kind::Named;
    TPos Pos;
    std::string Name;             // Named
    std::vector<TRange> Ranges;   // StaticArray: one per dimension
    TTypePtr Element;             // arrays, SetOf
    std::vector<TFieldDecl> Fields;  // Record
};

enum class TExprKind {
    Integer,
    Float,
    String,
    Name,     // Text
    Call,     // Left: the callee; Args; Parens: written with ()
    Index,    // Left; Args: one per index
    Field,    // Left; Text: the field
    Unary,    // Op; Left
    Binary,   // Op; Left, Right
    Brackets, // [ ... ]: a set or an open array; Ranges
    Nil,
};

struct TExpr {
    TExprKind Kind;
    TPos Pos;
    std::int64_t IntValue = 0;
    double FloatValue = 0;
    std::string Text;
    TTok Op = TTok::End;
    TExprPtr Left;
    TExprPtr Right;
    std::vector<TExprPtr> Args;
    std::vector<TRange> Ranges;
    bool Parens = false;
};

struct TCaseBranch {
    std::vector<TRange> Labels;
    TStmtPtr Body;
};

struct TExceptHandler {
    TPos Pos;
    std::string VarName;    // may be empty: "on Exception do"
    std::string ClassName;
    TStmtPtr Body;
};

enum class TStmtKind {
    Empty,
    Assign,    // Target := Value
    Call,      // Value: a call or name
    Compound,  // Body
    If,        // Value: condition; Then; Else
    Case,      // Value: selector; Branches; Body: else part
    For,       // Text: variable; Value: from; Limit: to; Downward; Then: body
    While,     // Value; Then
    Repeat,    // Body; Value: until condition
    TryExcept, // Body; Handlers; ElseBody (no handlers: Body of except part)
    TryFinally,// Body; ElseBody: finally part
    Raise,     // Value: exception (null: re-raise)
    Declaration,  // a declaration section at top level: Decl
};

struct TDecl;

struct TStmt {
    TStmtKind Kind;
    TPos Pos;
    TExprPtr Target;
    TExprPtr Value;
    TExprPtr Limit;
    bool Downward = false;
    std::string Text;
    TStmtPtr Then;
    TStmtPtr Else;
    std::vector<TStmtPtr> Body;
    std::vector<TStmtPtr> ElseBody;
    std::vector<TCaseBranch> Branches;
    std::vector<TExceptHandler> Handlers;
    bool HasElse = false;
    std::unique_ptr<TDecl> Decl;
};

enum class TParamMode { Value, Var, Const, Out };

struct TParamGroup {
    TPos Pos;
    std::vector<std::string> Names;
    TParamMode Mode = TParamMode::Value;
    TTypePtr Type;  // null: untyped (not allowed, reported by the checker)
};

struct TRoutine;

struct TVarDecl {
    TPos Pos;
    std::vector<std::string> Names;
    TTypePtr Type;     // may be null with an initialiser
    TExprPtr Init;
};

struct TConstDecl {
    TPos Pos;
    std::string Name;
    TTypePtr Type;  // typed constant
    TExprPtr Value;
};

struct TTypeDecl {
    TPos Pos;
    std::string Name;
    TTypePtr Type;
};

struct TDecl {
    enum class Kind { Var, Const, Type, Routine };
    Kind DeclKind = Kind::Var;
    TPos Pos;
    std::vector<TVarDecl> Vars;
    std::vector<TConstDecl> Consts;
    std::vector<TTypeDecl> Types;
    std::unique_ptr<TRoutine> Routine;
};

struct TRoutine {
    TPos Pos;
    std::string Name;
    bool IsFunction = false;
    std::vector<TParamGroup> Params;
    TTypePtr Result;
    bool Forward = false;
    // The body: its declarations, then its statements.
    std::vector<std::unique_ptr<TDecl>> Decls;
    std::vector<TStmtPtr> Body;
    TPos EndPos;
};

// A script: declarations and statements in the order written.
struct TScript {
    std::vector<TStmtPtr> Items;
};

}  // namespace mirvex::script::ast
