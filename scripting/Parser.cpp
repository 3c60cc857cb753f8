// Recursive descent over the Object-Pascal grammar of scripts.
#include "Parser.h"

#include <stdexcept>

#include "StackGuard.h"
#include "util/Cp1251.h"

namespace mirvex::script {
namespace {

using namespace ast;

// Thrown to give up on the whole text (nesting too deep, too many errors).
struct TAbandon {};

constexpr std::size_t kMaxErrors = 50;

class Parser {
public:
    Parser(std::vector<TToken> tokens, TScriptErrors& errors) : m_tokens(std::move(tokens)), m_errors(errors) {}

    // script -> [PROGRAM ident ';'] {USES identList ';'} {item} [BEGIN ... END '.']
    TScript Script() {
        TScript script;
        try {
            if (Accept(TTok::Program)) {
                ExpectIdent();
                Expect(TTok::Semicolon);
            }
            while (Accept(TTok::Uses)) {
                do {
                    ExpectIdent();
                } while (Accept(TTok::Comma));
                Expect(TTok::Semicolon);
            }
            while (!At(TTok::End)) {
                const std::size_t errorsBefore = m_errors.size();
                const std::size_t start = m_pos;
                if (Item(script.Items)) break;  // the closing "end."
                if (m_errors.size() != errorsBefore) Synchronise();
                if (m_pos == start) {
                    // A token no item starts with ("end", "until" ...).
                    Error("statement expected");
                    Advance();
                }
            }
        } catch (const TAbandon&) {
        }
        return script;
    }

private:
    // ---- token access

    const TToken& Cur() const { return m_tokens[m_pos]; }
    const TToken& PeekTok(std::size_t ahead = 1) const {
        return m_tokens[std::min(m_pos + ahead, m_tokens.size() - 1)];
    }
    bool At(TTok kind) const { return Cur().Kind == kind; }
    TPos Pos() const { return {Cur().Line, Cur().Column}; }
    void Advance() {
        if (m_pos + 1 < m_tokens.size()) ++m_pos;
    }
    bool Accept(TTok kind) {
        if (!At(kind)) return false;
        Advance();
        return true;
    }
    void Error(const std::string& message) {
        if (m_errorAt == m_pos && !m_errors.empty()) return;  // one error per token
        m_errorAt = m_pos;
        std::string near = TokenText(Cur());
        if (near.size() > 40) near = near.substr(0, 40) + "...";
        m_errors.push_back({TScriptError::Kind::Compile, Cur().Line, Cur().Column,
                            message + " near '" + near + "'"});
        if (m_errors.size() >= kMaxErrors) throw TAbandon{};
    }
    void Expect(TTok kind) {
        if (Accept(kind)) return;
        TToken wanted;
        wanted.Kind = kind;
        Error("'" + TokenText(wanted) + "' expected");
    }
    std::string ExpectIdent() {
        if (At(TTok::Identifier)) {
            std::string name = Cur().Text;
            Advance();
            return name;
        }
        Error("identifier expected");
        return {};
    }
    // Skips to the token after the next ';', or to a keyword that starts
    // a new part.
    void Synchronise() {
        while (!At(TTok::End)) {
            if (Accept(TTok::Semicolon)) return;
            switch (Cur().Kind) {
                case TTok::Var:
                case TTok::Const:
                case TTok::Type:
                case TTok::Procedure:
                case TTok::Function:
                case TTok::Begin: return;
                default: Advance();
            }
        }
    }

    struct DepthGuard {
        explicit DepthGuard(Parser& p) : parser(p) {
            if (++parser.m_depth > kMaxNesting || StackNearlyExhausted()) {
                parser.Error("nesting is too deep");
                throw TAbandon{};
            }
        }
        ~DepthGuard() { --parser.m_depth; }
        Parser& parser;
    };

    // ---- top level

    // item -> declSection | routine | statement ';'
    // Returns true after the closing "end." of a main block.
    bool Item(std::vector<TStmtPtr>& items) {
        switch (Cur().Kind) {
            case TTok::Var:
            case TTok::Const:
            case TTok::Type:
            case TTok::Procedure:
            case TTok::Function: {
                auto stmt = std::make_unique<TStmt>();
                stmt->Kind = TStmtKind::Declaration;
                stmt->Pos = Pos();
                stmt->Decl = Declaration(true);
                if (stmt->Decl) items.push_back(std::move(stmt));
                return false;
            }
            case TTok::Semicolon: Advance(); return false;
            default: break;
        }
        TStmtPtr stmt = Statement();
        if (stmt && stmt->Kind == TStmtKind::Compound && At(TTok::Dot)) {
            items.push_back(std::move(stmt));
            Advance();
            return true;
        }
        if (stmt) items.push_back(std::move(stmt));
        if (!At(TTok::End)) Expect(TTok::Semicolon);
        return false;
    }

    // declaration -> VAR varDecls | CONST constDecls | TYPE typeDecls | routine
    std::unique_ptr<TDecl> Declaration(bool topLevel) {
        auto decl = std::make_unique<TDecl>();
        decl->Pos = Pos();
        switch (Cur().Kind) {
            case TTok::Var:
                Advance();
                decl->DeclKind = TDecl::Kind::Var;
                do {
                    decl->Vars.push_back(VarDecl());
                    Expect(TTok::Semicolon);
                } while (At(TTok::Identifier) && !topLevel);
                // At top level a statement may follow directly: only
                // "ident ," or "ident :" starts another variable.
                while (topLevel && At(TTok::Identifier) &&
                       (PeekTok().Kind == TTok::Colon || PeekTok().Kind == TTok::Comma)) {
                    decl->Vars.push_back(VarDecl());
                    Expect(TTok::Semicolon);
                }
                return decl;
            case TTok::Const:
                Advance();
                decl->DeclKind = TDecl::Kind::Const;
                do {
                    decl->Consts.push_back(ConstDecl());
                    Expect(TTok::Semicolon);
                } while (At(TTok::Identifier) &&
                         (PeekTok().Kind == TTok::Equal || PeekTok().Kind == TTok::Colon));
                return decl;
            case TTok::Type:
                Advance();
                decl->DeclKind = TDecl::Kind::Type;
                do {
                    TTypeDecl t;
                    t.Pos = Pos();
                    t.Name = ExpectIdent();
                    Expect(TTok::Equal);
                    t.Type = TypeExpr();
                    decl->Types.push_back(std::move(t));
                    Expect(TTok::Semicolon);
                } while (At(TTok::Identifier) && PeekTok().Kind == TTok::Equal);
                return decl;
            default:
                decl->DeclKind = TDecl::Kind::Routine;
                decl->Routine = Routine();
                return decl;
        }
    }

    // varDecl -> identList (':' type [('=' | ':=') expr] | ':=' expr)
    TVarDecl VarDecl() {
        TVarDecl v;
        v.Pos = Pos();
        do {
            v.Names.push_back(ExpectIdent());
        } while (Accept(TTok::Comma));
        if (Accept(TTok::Colon)) {
            v.Type = TypeExpr();
            if (Accept(TTok::Equal) || Accept(TTok::Assign)) v.Init = Expression();
        } else if (Accept(TTok::Assign) || Accept(TTok::Equal)) {
            v.Init = Expression();
        } else {
            Error("':' expected");
        }
        return v;
    }

    // constDecl -> ident [':' type] '=' expr
    TConstDecl ConstDecl() {
        TConstDecl c;
        c.Pos = Pos();
        c.Name = ExpectIdent();
        if (Accept(TTok::Colon)) c.Type = TypeExpr();
        Expect(TTok::Equal);
        c.Value = Expression();
        return c;
    }

    // type -> ident | ARRAY ['[' range {',' range} ']'] OF type
    //       | RECORD {fields ';'} END | SET OF type
    TTypePtr TypeExpr() {
        DepthGuard guard(*this);
        auto t = std::make_unique<TTypeExpr>();
        t->Pos = Pos();
        if (At(TTok::Identifier)) {
            t->TypeKind = TTypeExpr::Kind::Named;
            t->Name = ExpectIdent();
            return t;
        }
        if (Accept(TTok::Array)) {
            if (Accept(TTok::LBracket)) {
                t->TypeKind = TTypeExpr::Kind::StaticArray;
                do {
                    TRange r;
                    r.Low = Expression();
                    Expect(TTok::DotDot);
                    r.High = Expression();
                    t->Ranges.push_back(std::move(r));
                } while (Accept(TTok::Comma));
                Expect(TTok::RBracket);
            } else {
                t->TypeKind = TTypeExpr::Kind::DynamicArray;
            }
            Expect(TTok::Of);
            t->Element = TypeExpr();
            return t;
        }
        if (Accept(TTok::Record)) {
            t->TypeKind = TTypeExpr::Kind::Record;
            while (At(TTok::Identifier)) {
                TFieldDecl f;
                f.Pos = Pos();
                do {
                    f.Names.push_back(ExpectIdent());
                } while (Accept(TTok::Comma));
                Expect(TTok::Colon);
                f.Type = TypeExpr();
                t->Fields.push_back(std::move(f));
                if (!Accept(TTok::Semicolon)) break;
            }
            Expect(TTok::EndKw);
            return t;
        }
        if (Accept(TTok::Set)) {
            t->TypeKind = TTypeExpr::Kind::SetOf;
            Expect(TTok::Of);
            t->Element = TypeExpr();
            return t;
        }
        Error("type expected");
        t->Name = "<error>";
        return t;
    }

    // routine -> (PROCEDURE | FUNCTION) ident ['(' params ')'] [':' type] ';'
    //            (FORWARD ';' | {declaration} BEGIN stmts END ';')
    std::unique_ptr<TRoutine> Routine() {
        DepthGuard guard(*this);
        auto r = std::make_unique<TRoutine>();
        r->Pos = Pos();
        r->IsFunction = At(TTok::Function);
        Advance();
        r->Name = ExpectIdent();
        if (Accept(TTok::LParen)) {
            if (!At(TTok::RParen)) {
                do {
                    TParamGroup g;
                    g.Pos = Pos();
                    if (Accept(TTok::Var)) g.Mode = TParamMode::Var;
                    else if (Accept(TTok::Const)) g.Mode = TParamMode::Const;
                    else if (At(TTok::Identifier) && SameTextAscii(Cur().Text, "out") &&
                             PeekTok().Kind == TTok::Identifier) {
                        Advance();
                        g.Mode = TParamMode::Out;
                    }
                    do {
                        g.Names.push_back(ExpectIdent());
                    } while (Accept(TTok::Comma));
                    if (Accept(TTok::Colon)) g.Type = TypeExpr();
                    r->Params.push_back(std::move(g));
                } while (Accept(TTok::Semicolon));
            }
            Expect(TTok::RParen);
        }
        if (r->IsFunction) {
            Expect(TTok::Colon);
            r->Result = TypeExpr();
        }
        Expect(TTok::Semicolon);
        if (Accept(TTok::Forward)) {
            r->Forward = true;
            Expect(TTok::Semicolon);
            return r;
        }
        while (At(TTok::Var) || At(TTok::Const) || At(TTok::Type) || At(TTok::Procedure) || At(TTok::Function)) {
            const std::size_t errorsBefore = m_errors.size();
            r->Decls.push_back(Declaration(false));
            if (m_errors.size() != errorsBefore) Synchronise();
        }
        if (!At(TTok::Begin)) {
            Error("'begin' expected");
            return r;
        }
        Advance();
        StatementList(r->Body, {TTok::EndKw});
        r->EndPos = Pos();
        Expect(TTok::EndKw);
        Expect(TTok::Semicolon);
        return r;
    }

    // ---- statements

    // stmts -> stmt {';' stmt}, up to one of the closing tokens
    void StatementList(std::vector<TStmtPtr>& list, std::initializer_list<TTok> closing) {
        const auto closes = [&] {
            for (TTok t : closing)
                if (At(t)) return true;
            return At(TTok::End);
        };
        while (!closes()) {
            const std::size_t start = m_pos;
            const std::size_t errorsBefore = m_errors.size();
            if (TStmtPtr s = Statement()) list.push_back(std::move(s));
            if (closes()) break;
            if (!Accept(TTok::Semicolon)) {
                Error("';' expected");
                Synchronise();
            } else if (m_errors.size() != errorsBefore) {
                // an error inside the statement: carry on with the next one
            }
            if (m_pos == start) Advance();  // never stand still on a token
        }
    }

    TStmtPtr MakeStmt(TStmtKind kind, TPos pos) {
        auto s = std::make_unique<TStmt>();
        s->Kind = kind;
        s->Pos = pos;
        return s;
    }

    // statement -> [simple | compound | if | case | for | while | repeat | try | raise]
    TStmtPtr Statement() {
        DepthGuard guard(*this);
        const TPos pos = Pos();
        switch (Cur().Kind) {
            case TTok::Semicolon:
            case TTok::EndKw:
            case TTok::Until:
            case TTok::Else:
            case TTok::Except:
            case TTok::Finally: return MakeStmt(TStmtKind::Empty, pos);
            case TTok::Begin: {
                Advance();
                auto s = MakeStmt(TStmtKind::Compound, pos);
                StatementList(s->Body, {TTok::EndKw});
                Expect(TTok::EndKw);
                return s;
            }
            case TTok::If: {
                // ifStatement -> IF expr THEN statement [ELSE statement]
                Advance();
                auto s = MakeStmt(TStmtKind::If, pos);
                s->Value = Expression();
                Expect(TTok::Then);
                s->Then = Statement();
                if (Accept(TTok::Else)) s->Else = Statement();
                return s;
            }
            case TTok::Case: return CaseStatement();
            case TTok::For: {
                // forStatement -> FOR ident ':=' expr (TO | DOWNTO) expr DO statement
                Advance();
                auto s = MakeStmt(TStmtKind::For, pos);
                s->Text = ExpectIdent();
                Expect(TTok::Assign);
                s->Value = Expression();
                if (Accept(TTok::Downto)) s->Downward = true;
                else Expect(TTok::To);
                s->Limit = Expression();
                Expect(TTok::Do);
                s->Then = Statement();
                return s;
            }
            case TTok::While: {
                // whileStatement -> WHILE expr DO statement
                Advance();
                auto s = MakeStmt(TStmtKind::While, pos);
                s->Value = Expression();
                Expect(TTok::Do);
                s->Then = Statement();
                return s;
            }
            case TTok::Repeat: {
                // repeatStatement -> REPEAT stmts UNTIL expr
                Advance();
                auto s = MakeStmt(TStmtKind::Repeat, pos);
                StatementList(s->Body, {TTok::Until});
                Expect(TTok::Until);
                s->Value = Expression();
                return s;
            }
            case TTok::Try: return TryStatement();
            case TTok::Raise: {
                // raiseStatement -> RAISE [expr]
                Advance();
                auto s = MakeStmt(TStmtKind::Raise, pos);
                if (!At(TTok::Semicolon) && !At(TTok::EndKw) && !At(TTok::Else) && !At(TTok::End) &&
                    !At(TTok::Until))
                    s->Value = Expression();
                return s;
            }
            case TTok::Identifier:
            case TTok::LParen: {
                // simple -> designator [':=' expr]
                TExprPtr target = Expression();
                if (Accept(TTok::Assign)) {
                    auto s = MakeStmt(TStmtKind::Assign, pos);
                    s->Target = std::move(target);
                    s->Value = Expression();
                    return s;
                }
                auto s = MakeStmt(TStmtKind::Call, pos);
                s->Value = std::move(target);
                return s;
            }
            default:
                Error("statement expected");
                Advance();
                return nullptr;
        }
    }

    // caseStatement -> CASE expr OF branch {';' branch} [';'] [ELSE stmts] END
    // branch -> label {',' label} ':' statement; label -> expr ['..' expr]
    TStmtPtr CaseStatement() {
        auto s = MakeStmt(TStmtKind::Case, Pos());
        Advance();
        s->Value = Expression();
        Expect(TTok::Of);
        while (!At(TTok::Else) && !At(TTok::EndKw) && !At(TTok::End)) {
            TCaseBranch branch;
            do {
                TRange r;
                r.Low = Expression();
                if (Accept(TTok::DotDot)) r.High = Expression();
                branch.Labels.push_back(std::move(r));
            } while (Accept(TTok::Comma));
            Expect(TTok::Colon);
            branch.Body = Statement();
            s->Branches.push_back(std::move(branch));
            if (!Accept(TTok::Semicolon)) break;
        }
        if (Accept(TTok::Else)) {
            s->HasElse = true;
            StatementList(s->ElseBody, {TTok::EndKw});
        }
        Expect(TTok::EndKw);
        return s;
    }

    // tryStatement -> TRY stmts (EXCEPT handlers | FINALLY stmts) END
    // handlers -> ON [ident ':'] ident DO statement {';' ...} [ELSE stmts] | stmts
    TStmtPtr TryStatement() {
        const TPos pos = Pos();
        Advance();
        std::vector<TStmtPtr> body;
        StatementList(body, {TTok::Except, TTok::Finally});
        if (Accept(TTok::Finally)) {
            auto s = MakeStmt(TStmtKind::TryFinally, pos);
            s->Body = std::move(body);
            StatementList(s->ElseBody, {TTok::EndKw});
            Expect(TTok::EndKw);
            return s;
        }
        auto s = MakeStmt(TStmtKind::TryExcept, pos);
        s->Body = std::move(body);
        if (!Accept(TTok::Except)) {
            Error("'except' or 'finally' expected");
            return s;
        }
        if (At(TTok::On)) {
            while (Accept(TTok::On)) {
                TExceptHandler h;
                h.Pos = Pos();
                std::string first = ExpectIdent();
                if (Accept(TTok::Colon)) {
                    h.VarName = std::move(first);
                    h.ClassName = ExpectIdent();
                } else {
                    h.ClassName = std::move(first);
                }
                Expect(TTok::Do);
                h.Body = Statement();
                s->Handlers.push_back(std::move(h));
                if (!Accept(TTok::Semicolon)) break;
            }
            if (Accept(TTok::Else)) {
                s->HasElse = true;
                StatementList(s->ElseBody, {TTok::EndKw});
            }
        } else {
            StatementList(s->ElseBody, {TTok::EndKw});
            s->HasElse = true;
        }
        Expect(TTok::EndKw);
        return s;
    }

    // ---- expressions

    TExprPtr MakeExpr(TExprKind kind, TPos pos) {
        auto e = std::make_unique<TExpr>();
        e->Kind = kind;
        e->Pos = pos;
        return e;
    }

    TExprPtr Binary(TTok op, TPos pos, TExprPtr left, TExprPtr right) {
        auto e = MakeExpr(TExprKind::Binary, pos);
        e->Op = op;
        e->Left = std::move(left);
        e->Right = std::move(right);
        return e;
    }

    // Left-associative chains are built in loops; their depth is bounded
    // so that the later phases, which recurse, stay within the stack.
    void CountChain(int& length) {
        if (++length > kMaxNesting * 4) {
            Error("expression is too long");
            throw TAbandon{};
        }
    }

    // expr -> simpleExpr [relop simpleExpr]
    TExprPtr Expression() {
        DepthGuard guard(*this);
        TExprPtr left = SimpleExpression();
        switch (Cur().Kind) {
            case TTok::Equal:
            case TTok::NotEqual:
            case TTok::Less:
            case TTok::Greater:
            case TTok::LessEqual:
            case TTok::GreaterEqual:
            case TTok::In: {
                const TTok op = Cur().Kind;
                const TPos pos = Pos();
                Advance();
                return Binary(op, pos, std::move(left), SimpleExpression());
            }
            default: return left;
        }
    }

    // simpleExpr -> term {(+ | - | OR | XOR) term}
    TExprPtr SimpleExpression() {
        TExprPtr left = Term();
        int chain = 0;
        while (At(TTok::Plus) || At(TTok::Minus) || At(TTok::Or) || At(TTok::Xor)) {
            CountChain(chain);
            const TTok op = Cur().Kind;
            const TPos pos = Pos();
            Advance();
            left = Binary(op, pos, std::move(left), Term());
        }
        return left;
    }

    // term -> factor {(* | / | DIV | MOD | AND | SHL | SHR) factor}
    TExprPtr Term() {
        TExprPtr left = Factor();
        int chain = 0;
        while (At(TTok::Star) || At(TTok::Slash) || At(TTok::Div) || At(TTok::Mod) || At(TTok::And) ||
               At(TTok::Shl) || At(TTok::Shr)) {
            CountChain(chain);
            const TTok op = Cur().Kind;
            const TPos pos = Pos();
            Advance();
            left = Binary(op, pos, std::move(left), Factor());
        }
        return left;
    }

    // factor -> number | string | NIL | '(' expr ')' | NOT factor | (+|-) factor
    //         | '[' [range {',' range}] ']' | designator
    TExprPtr Factor() {
        DepthGuard guard(*this);
        const TPos pos = Pos();
        switch (Cur().Kind) {
            case TTok::Integer: {
                auto e = MakeExpr(TExprKind::Integer, pos);
                e->IntValue = Cur().IntValue;
                Advance();
                return Designator(std::move(e));
            }
            case TTok::Float: {
                auto e = MakeExpr(TExprKind::Float, pos);
                e->FloatValue = Cur().FloatValue;
                Advance();
                return e;
            }
            case TTok::String: {
                auto e = MakeExpr(TExprKind::String, pos);
                e->Text = Cur().Text;
                Advance();
                return Designator(std::move(e));
            }
            case TTok::Identifier: {
                auto e = MakeExpr(TExprKind::Name, pos);
                e->Text = Cur().Text;
                Advance();
                return Designator(std::move(e));
            }
            case TTok::LParen: {
                Advance();
                TExprPtr inner = Expression();
                Expect(TTok::RParen);
                return Designator(std::move(inner));
            }
            case TTok::Not:
            case TTok::Minus:
            case TTok::Plus: {
                auto e = MakeExpr(TExprKind::Unary, pos);
                e->Op = Cur().Kind;
                Advance();
                e->Left = Factor();
                return e;
            }
            case TTok::LBracket: {
                Advance();
                auto e = MakeExpr(TExprKind::Brackets, pos);
                if (!At(TTok::RBracket)) {
                    do {
                        TRange r;
                        r.Low = Expression();
                        if (Accept(TTok::DotDot)) r.High = Expression();
                        e->Ranges.push_back(std::move(r));
                    } while (Accept(TTok::Comma));
                }
                Expect(TTok::RBracket);
                return e;
            }
            default: break;
        }
        Error("expression expected");
        if (!At(TTok::End) && !At(TTok::Semicolon) && !At(TTok::EndKw)) Advance();
        return MakeExpr(TExprKind::Nil, pos);
    }

    // designator -> base {'.' ident | '[' expr {',' expr} ']' | '(' [args] ')'}
    TExprPtr Designator(TExprPtr base) {
        int chain = 0;
        while (true) {
            const TPos pos = Pos();
            if (At(TTok::Dot) && PeekTok().Kind == TTok::Identifier) {
                CountChain(chain);
                Advance();
                auto e = MakeExpr(TExprKind::Field, pos);
                e->Left = std::move(base);
                e->Text = ExpectIdent();
                base = std::move(e);
            } else if (At(TTok::LBracket)) {
                CountChain(chain);
                Advance();
                auto e = MakeExpr(TExprKind::Index, pos);
                e->Left = std::move(base);
                do {
                    e->Args.push_back(Expression());
                } while (Accept(TTok::Comma));
                Expect(TTok::RBracket);
                base = std::move(e);
            } else if (At(TTok::LParen)) {
                CountChain(chain);
                Advance();
                auto e = MakeExpr(TExprKind::Call, pos);
                e->Left = std::move(base);
                e->Parens = true;
                if (!At(TTok::RParen)) {
                    do {
                        e->Args.push_back(Expression());
                    } while (Accept(TTok::Comma));
                }
                Expect(TTok::RParen);
                base = std::move(e);
            } else {
                return base;
            }
        }
    }

    std::vector<TToken> m_tokens;
    std::size_t m_pos = 0;
    TScriptErrors& m_errors;
    std::size_t m_errorAt = static_cast<std::size_t>(-1);
    int m_depth = 0;
};

}  // namespace

ast::TScript Parse(std::string_view text, TScriptErrors& errors) {
    std::vector<TLexError> lexErrors;
    std::vector<TToken> tokens = Tokenize(text, lexErrors);
    for (const TLexError& e : lexErrors)
        errors.push_back({TScriptError::Kind::Compile, e.Line, e.Column, e.Message});
    if (!lexErrors.empty()) return {};
    return Parser(std::move(tokens), errors).Script();
}

}  // namespace mirvex::script
