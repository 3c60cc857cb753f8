// The checker's scopes, declarations and statements, and the program
// entry points.
#include "Checker.h"

#include "Parser.h"
#include "StackGuard.h"
#include "util/Cp1251.h"

namespace mirvex::script {

namespace {

std::string Key(const std::string& name) { return UpperCaseAscii(name); }

struct TAbandonCheck {};

}  // namespace

TChecker::TChecker(TScriptProgram& program, const std::vector<const THostUnit*>& units)
    : m_program(program), m_types(program.m_types) {
    for (const THostUnit* unit : units) {
        for (const THostConstant& c : unit->Constants()) {
            TSymbol s;
            s.SymbolKind = TSymbol::Kind::Constant;
            s.Type = m_types.FindBuiltin(c.TypeName);
            if (!s.Type) s.Type = m_types.Variant();
            try {
                s.Value = ConvertTo(c.Value, s.Type);
            } catch (const TScriptRaise&) {
                s.Value = DefaultValue(s.Type);  // a value the declared type cannot hold
            }
            m_unitSymbols[Key(c.Name)] = std::move(s);
        }
        for (const THostVariable& v : unit->Variables()) {
            TSymbol s;
            s.SymbolKind = TSymbol::Kind::HostVariable;
            s.Type = m_types.FindBuiltin(v.TypeName);
            if (!s.Type) s.Type = m_types.Variant();
            s.HostVariable = &v;
            m_unitSymbols[Key(v.Name)] = std::move(s);
        }
        for (const THostFunction& f : unit->Functions()) {
            TSymbol s;
            s.SymbolKind = TSymbol::Kind::HostFunction;
            s.HostFunction = &f;
            m_unitSymbols[Key(f.Name)] = std::move(s);
        }
    }
    auto global = std::make_unique<Scope>();
    global->Level = 0;
    global->Slots = &m_program.m_globalTypes;
    m_scope = global.get();
    m_scopes.push_back(std::move(global));
}

void TChecker::Error(TPos pos, const std::string& message) {
    m_program.m_errors.push_back({TScriptError::Kind::Compile, pos.Line, pos.Column, message});
    if (m_program.m_errors.size() >= 50) throw TAbandonCheck{};
}

const TSymbol* TChecker::Lookup(const std::string& name) const {
    const std::string key = Key(name);
    for (const Scope* s = m_scope; s; s = s->Parent) {
        const auto it = s->Names.find(key);
        if (it != s->Names.end()) return &it->second;
    }
    const auto it = m_unitSymbols.find(key);
    return it == m_unitSymbols.end() ? nullptr : &it->second;
}

TSymbol* TChecker::Declare(const std::string& name, TSymbol symbol, TPos pos) {
    const std::string key = Key(name);
    auto [it, inserted] = m_scope->Names.try_emplace(key, std::move(symbol));
    if (!inserted) {
        Error(pos, "identifier redeclared: '" + name + "'");
        return nullptr;
    }
    return &it->second;
}

int TChecker::NewSlot(const TType* type) {
    m_scope->Slots->push_back(type);
    return static_cast<int>(m_scope->Slots->size()) - 1;
}

void TChecker::CheckScript(const TScript& script) {
    m_program.m_main = std::make_unique<TBlockNode>(1, 1);
    try {
        for (const ast::TStmtPtr& item : script.Items) {
            if (item->Kind == TStmtKind::Declaration) {
                CheckDeclaration(*item->Decl, *m_program.m_main);
            } else if (TStmtPtr s = CheckStatement(item.get())) {
                m_program.m_main->Statements.push_back(std::move(s));
            }
        }
        CheckUnsatisfiedForwards();
    } catch (const TAbandonCheck&) {
    }
}

void TChecker::CheckUnsatisfiedForwards() {
    for (const auto& [key, symbol] : m_scope->Names)
        if (symbol.SymbolKind == TSymbol::Kind::Routine && !symbol.Routine->Defined)
            Error(symbol.Routine->Pos, "unsatisfied forward declaration: '" + symbol.Routine->Name + "'");
}

// ---------------------------------------------------------------- types

const TType* TChecker::ResolveType(const TTypeExpr* t) {
    if (!t) return m_types.Error();
    switch (t->TypeKind) {
        case TTypeExpr::Kind::Named: {
            if (const TSymbol* s = Lookup(t->Name); s && s->SymbolKind == TSymbol::Kind::Type) return s->Type;
            if (const TType* b = m_types.FindBuiltin(t->Name)) return b;
            if (const TType* e = m_types.ExceptionClass(t->Name)) return e;
            if (t->Name != "<error>") Error(t->Pos, "unknown type '" + t->Name + "'");
            return m_types.Error();
        }
        case TTypeExpr::Kind::DynamicArray: {
            const TType* element = ResolveType(t->Element.get());
            return element->IsError() ? element : m_types.DynamicArray(element);
        }
        case TTypeExpr::Kind::StaticArray: {
            const TType* element = ResolveType(t->Element.get());
            if (element->IsError()) return element;
            std::int64_t total = 1;
            for (const TRange& r : t->Ranges) {
                TValue lo, hi;
                if (!ConstantValue(r.Low.get(), m_types.Integer(), lo) ||
                    !ConstantValue(r.High.get(), m_types.Integer(), hi))
                    return m_types.Error();
                const std::int64_t n = hi.Int() - lo.Int() + 1;
                if (n < 0 || hi.Int() < lo.Int() - 1) {
                    Error(t->Pos, "array bounds are reversed");
                    return m_types.Error();
                }
                total *= std::max<std::int64_t>(n, 1);
                if (total > ScriptLimits().MaxArrayLength) {
                    Error(t->Pos, "array is too large");
                    return m_types.Error();
                }
            }
            // array [a..b, c..d] of T is array [a..b] of array [c..d] of T.
            for (std::size_t i = t->Ranges.size(); i-- > 0;) {
                TValue lo, hi;
                (void)ConstantValue(t->Ranges[i].Low.get(), m_types.Integer(), lo);
                (void)ConstantValue(t->Ranges[i].High.get(), m_types.Integer(), hi);
                element = m_types.StaticArray(element, lo.Int(), hi.Int());
            }
            return element;
        }
        case TTypeExpr::Kind::Record: {
            TType* record = m_types.NewRecord("record");
            for (const TFieldDecl& f : t->Fields) {
                const TType* type = ResolveType(f.Type.get());
                for (const std::string& name : f.Names) {
                    if (record->FieldIndex(name) >= 0) Error(f.Pos, "field redeclared: '" + name + "'");
                    record->Fields.push_back({name, type});
                }
            }
            return record;
        }
        case TTypeExpr::Kind::SetOf: ResolveType(t->Element.get()); return m_types.Set();
    }
    return m_types.Error();
}

// --------------------------------------------------------- declarations

void TChecker::CheckDeclaration(const TDecl& decl, TBlockNode& block) {
    switch (decl.DeclKind) {
        case TDecl::Kind::Var:
            for (const TVarDecl& v : decl.Vars) {
                const TType* type = v.Type ? ResolveType(v.Type.get()) : nullptr;
                TExprPtr init;
                if (v.Init) {
                    init = CheckExpr(v.Init.get());
                    if (!type) {
                        type = init->Type;
                        if (type->Kind == TTypeKind::Void || type->Kind == TTypeKind::Nil ||
                            type->Kind == TTypeKind::Set) {
                            Error(v.Pos, "the variable needs a type: its initial value does not give one");
                            type = m_types.Error();
                        }
                    }
                }
                if (!type) type = m_types.Error();
                for (const std::string& name : v.Names) {
                    TSymbol s;
                    s.SymbolKind = TSymbol::Kind::Variable;
                    s.Type = type;
                    s.Level = Level();
                    s.Slot = NewSlot(type);
                    if (!Declare(name, std::move(s), v.Pos)) continue;
                    if (init) {
                        const TSymbol* declared = Lookup(name);
                        TExprPtr value = v.Names.size() == 1 ? std::move(init) : CheckExpr(v.Init.get());
                        auto target = VariableNode(*declared, v.Pos);
                        auto lv = TLValuePtr(static_cast<TLValueNode*>(target.release()));
                        if (TStmtPtr assign = MakeAssignment(std::move(lv), std::move(value), v.Pos))
                            block.Statements.push_back(std::move(assign));
                    }
                }
            }
            break;
        case TDecl::Kind::Const:
            for (const TConstDecl& c : decl.Consts) {
                TExprPtr e = CheckExpr(c.Value.get());
                const TType* type = c.Type ? ResolveType(c.Type.get()) : e->Type;
                if (c.Type) e = Coerce(std::move(e), type, c.Pos);
                TSymbol s;
                s.SymbolKind = TSymbol::Kind::Constant;
                s.Type = type;
                if (e->Type->IsError()) {
                    s.Type = m_types.Error();
                } else if (const TValue* value = e->Constant()) {
                    s.Value = *value;
                } else {
                    Error(c.Pos, "constant expression expected");
                    s.Type = m_types.Error();
                }
                Declare(c.Name, std::move(s), c.Pos);
            }
            break;
        case TDecl::Kind::Type:
            for (const TTypeDecl& t : decl.Types) {
                const TType* type = ResolveType(t.Type.get());
                if (type->Kind == TTypeKind::Record && type->Name == "record")
                    const_cast<TType*>(type)->Name = t.Name;
                TSymbol s;
                s.SymbolKind = TSymbol::Kind::Type;
                s.Type = type;
                Declare(t.Name, std::move(s), t.Pos);
            }
            break;
        case TDecl::Kind::Routine:
            if (decl.Routine) CheckRoutine(*decl.Routine);
            break;
    }
}

void TChecker::CheckRoutine(const TRoutine& r) {
    if (++m_depth > kMaxNesting || StackNearlyExhausted()) {
        Error(r.Pos, "nesting is too deep");
        throw TAbandonCheck{};
    }
    struct DepthRestore {
        int& depth;
        ~DepthRestore() { --depth; }
    } restore{m_depth};

    // The signature.
    std::vector<TParamInfo> params;
    for (const TParamGroup& g : r.Params) {
        const TType* type = m_types.Error();
        if (g.Type) type = ResolveType(g.Type.get());
        else Error(g.Pos, "parameter type expected");
        for (const std::string& name : g.Names) params.push_back({name, type, g.Mode});
    }
    const TType* result = r.IsFunction ? ResolveType(r.Result.get()) : m_types.Void();

    // A body for an earlier forward declaration reuses it.
    TRoutineInfo* info = nullptr;
    if (auto it = m_scope->Names.find(Key(r.Name));
        it != m_scope->Names.end() && it->second.SymbolKind == TSymbol::Kind::Routine &&
        !it->second.Routine->Defined && !r.Forward) {
        info = it->second.Routine;
        const bool bare = r.Params.empty() && !r.Result;
        if (!bare) {
            // The body uses the names its own header gives.
            for (std::size_t i = 0; i < params.size() && i < info->Params.size(); ++i)
                info->Params[i].Name = params[i].Name;
            bool same = info->Params.size() == params.size() && info->IsFunction == r.IsFunction &&
                        SameType(info->Result, result);
            for (std::size_t i = 0; same && i < params.size(); ++i)
                same = params[i].Mode == info->Params[i].Mode && SameType(params[i].Type, info->Params[i].Type);
            if (!same) Error(r.Pos, "declaration of '" + r.Name + "' differs from its forward declaration");
        }
    } else {
        auto routine = std::make_unique<TRoutineInfo>();
        routine->Name = r.Name;
        routine->Params = std::move(params);
        routine->Result = result;
        routine->IsFunction = r.IsFunction;
        routine->Level = Level() + 1;
        routine->Pos = r.Pos;
        auto code = std::make_unique<TRoutineCode>();
        code->Name = r.Name;
        code->Level = routine->Level;
        code->IsFunction = r.IsFunction;
        code->ResultType = result;
        routine->Code = code.get();
        m_program.m_routines.push_back(std::move(code));
        TSymbol s;
        s.SymbolKind = TSymbol::Kind::Routine;
        s.Routine = routine.get();
        info = routine.get();
        m_routineInfos.push_back(std::move(routine));
        if (!Declare(r.Name, std::move(s), r.Pos)) return;
    }
    if (r.Forward) return;
    info->Defined = true;

    // The frame: result, parameters, locals.
    TRoutineCode& code = *info->Code;
    auto scope = std::make_unique<Scope>();
    scope->Level = info->Level;
    scope->Slots = &code.SlotTypes;
    scope->Routine = info;
    scope->Parent = m_scope;
    Scope* saved = m_scope;
    m_scope = scope.get();
    m_scopes.push_back(std::move(scope));
    struct ScopeRestore {
        Scope*& current;
        Scope* saved;
        ~ScopeRestore() { current = saved; }
    } scopeRestore{m_scope, saved};

    if (info->IsFunction) {
        const int slot = NewSlot(info->Result);
        TSymbol s;
        s.SymbolKind = TSymbol::Kind::Variable;
        s.Type = info->Result;
        s.Level = info->Level;
        s.Slot = slot;
        Declare("Result", std::move(s), r.Pos);
    }
    code.FirstParamSlot = static_cast<int>(code.SlotTypes.size());
    code.ParamCount = static_cast<int>(info->Params.size());
    code.ParamIsVar.clear();
    for (const TParamInfo& p : info->Params) {
        const bool isRef = p.Mode == TParamMode::Var || p.Mode == TParamMode::Out;
        code.ParamIsVar.push_back(isRef);
        TSymbol s;
        s.SymbolKind = TSymbol::Kind::Variable;
        s.Type = p.Type;
        s.Level = info->Level;
        s.Slot = NewSlot(p.Type);
        s.IsRef = isRef;
        s.ReadOnly = p.Mode == TParamMode::Const;
        Declare(p.Name, std::move(s), r.Pos);
    }
    auto body = std::make_unique<TBlockNode>(r.Pos.Line, r.Pos.Column);
    for (const auto& d : r.Decls)
        if (d) CheckDeclaration(*d, *body);
    CheckUnsatisfiedForwards();
    const int savedLoops = m_loopDepth;
    m_loopDepth = 0;
    for (const ast::TStmtPtr& s : r.Body)
        if (TStmtPtr node = CheckStatement(s.get())) body->Statements.push_back(std::move(node));
    m_loopDepth = savedLoops;
    code.Body = std::move(body);
    code.Defined = true;
}

// ------------------------------------------------------------ statements

std::unique_ptr<TBlockNode> TChecker::CheckBlock(const std::vector<ast::TStmtPtr>& stmts, TPos pos) {
    auto block = std::make_unique<TBlockNode>(pos.Line, pos.Column);
    for (const ast::TStmtPtr& s : stmts)
        if (TStmtPtr node = CheckStatement(s.get())) block->Statements.push_back(std::move(node));
    return block;
}

TStmtPtr TChecker::CheckStatement(const TStmt* stmt) {
    if (!stmt) return nullptr;
    if (++m_depth > kMaxNesting || StackNearlyExhausted()) {
        Error(stmt->Pos, "nesting is too deep");
        throw TAbandonCheck{};
    }
    struct DepthRestore {
        int& depth;
        ~DepthRestore() { --depth; }
    } restore{m_depth};
    const TPos pos = stmt->Pos;
    switch (stmt->Kind) {
        case TStmtKind::Empty: return nullptr;
        case TStmtKind::Declaration: {
            // A declaration among top-level statements: its initialisers
            // run at this point.
            auto block = std::make_unique<TBlockNode>(pos.Line, pos.Column);
            CheckDeclaration(*stmt->Decl, *block);
            return block;
        }
        case TStmtKind::Assign: return CheckAssign(*stmt);
        case TStmtKind::Call: return CheckCallStatement(*stmt);
        case TStmtKind::Compound: return CheckBlock(stmt->Body, pos);
        case TStmtKind::If: {
            TExprPtr cond = Coerce(CheckExpr(stmt->Value.get()), m_types.Boolean(), pos);
            TStmtPtr then = CheckStatement(stmt->Then.get());
            TStmtPtr otherwise = CheckStatement(stmt->Else.get());
            return std::make_unique<TIfNode>(std::move(cond), std::move(then), std::move(otherwise), pos.Line,
                                             pos.Column);
        }
        case TStmtKind::While: {
            TExprPtr cond = Coerce(CheckExpr(stmt->Value.get()), m_types.Boolean(), pos);
            ++m_loopDepth;
            TStmtPtr body = CheckStatement(stmt->Then.get());
            --m_loopDepth;
            return std::make_unique<TWhileNode>(std::move(cond), std::move(body), pos.Line, pos.Column);
        }
        case TStmtKind::Repeat: {
            ++m_loopDepth;
            auto body = CheckBlock(stmt->Body, pos);
            --m_loopDepth;
            TExprPtr cond = Coerce(CheckExpr(stmt->Value.get()), m_types.Boolean(), pos);
            return std::make_unique<TRepeatNode>(std::move(body), std::move(cond), pos.Line, pos.Column);
        }
        case TStmtKind::For: return CheckFor(*stmt);
        case TStmtKind::Case: return CheckCase(*stmt);
        case TStmtKind::TryExcept:
        case TStmtKind::TryFinally: return CheckTry(*stmt);
        case TStmtKind::Raise: {
            TExprPtr e;
            if (stmt->Value) {
                e = CheckExpr(stmt->Value.get());
                if (!e->Type->IsError() && e->Type->Kind != TTypeKind::Exception)
                    Error(pos, "an exception object is expected after raise");
            }
            return std::make_unique<TRaiseNode>(std::move(e), pos.Line, pos.Column);
        }
    }
    return nullptr;
}

TStmtPtr TChecker::MakeAssignment(TLValuePtr target, TExprPtr value, TPos pos) {
    if (!target) return nullptr;
    value = Coerce(std::move(value), target->Type, pos);
    if (value->Type->IsError() || target->Type->IsError()) return nullptr;
    if (target->Type->Kind == TTypeKind::Integer) {
        if (auto* local = dynamic_cast<TLocalVarNode*>(target.get()))
            return std::make_unique<TAssignLocalIntNode>(local->Slot(), std::move(value), pos.Line, pos.Column);
        if (target->IsVariable())
            return std::make_unique<TAssignIntNode>(std::move(target), std::move(value), pos.Line, pos.Column);
    }
    return std::make_unique<TAssignNode>(std::move(target), std::move(value), pos.Line, pos.Column);
}

TStmtPtr TChecker::CheckAssign(const TStmt& stmt) {
    const TPos pos = stmt.Pos;
    // name := name + text on a string variable appends in place.
    const TExpr* target = stmt.Target.get();
    const TExpr* value = stmt.Value.get();
    if (target->Kind == TExprKind::Name && value->Kind == TExprKind::Binary && value->Op == TTok::Plus &&
        value->Left->Kind == TExprKind::Name && SameTextAscii(value->Left->Text, target->Text)) {
        const TSymbol* s = Lookup(target->Text);
        if (s && s->SymbolKind == TSymbol::Kind::Variable && !s->ReadOnly && s->Type->Kind == TTypeKind::String) {
            TExprPtr tail = CheckExpr(value->Right.get());
            if (tail->Type->Kind == TTypeKind::String) {
                auto lv = TLValuePtr(static_cast<TLValueNode*>(VariableNode(*s, pos).release()));
                return std::make_unique<TAppendNode>(std::move(lv), std::move(tail), pos.Line, pos.Column);
            }
        }
    }
    TLValuePtr lv = CheckLValue(target, "assigned to");
    TExprPtr v = CheckExpr(value);
    return MakeAssignment(std::move(lv), std::move(v), pos);
}

TStmtPtr TChecker::CheckCallStatement(const TStmt& stmt) {
    const TPos pos = stmt.Pos;
    const TExpr* e = stmt.Value.get();
    // Break, Continue and Exit, unless the script named something so.
    const TExpr* callee = e->Kind == TExprKind::Call ? e->Left.get() : e;
    if (callee->Kind == TExprKind::Name && !Lookup(callee->Text)) {
        const std::string name = UpperCaseAscii(callee->Text);
        const std::size_t argc = e->Kind == TExprKind::Call ? e->Args.size() : 0;
        if (name == "BREAK" || name == "CONTINUE") {
            if (argc) Error(pos, "too many actual parameters");
            if (m_loopDepth == 0) Error(pos, callee->Text + " outside a loop");
            return std::make_unique<TFlowNode>(name == "BREAK" ? TFlow::Break : TFlow::Continue, pos.Line,
                                               pos.Column);
        }
        if (name == "EXIT") {
            TStmtPtr store;
            if (argc > 1) Error(pos, "too many actual parameters");
            if (argc == 1) {
                TRoutineInfo* routine = m_scope->Routine;
                for (const Scope* s = m_scope; s && !routine; s = s->Parent) routine = s->Routine;
                if (!routine || !routine->IsFunction) {
                    Error(pos, "exit with a value outside a function");
                } else {
                    const TSymbol* result = Lookup("Result");
                    auto lv = TLValuePtr(static_cast<TLValueNode*>(VariableNode(*result, pos).release()));
                    store = MakeAssignment(std::move(lv), CheckExpr(e->Args[0].get()), pos);
                }
            }
            return std::make_unique<TExitNode>(std::move(store), pos.Line, pos.Column);
        }
    }
    // Only a call makes a statement (a function's result is dropped).
    bool isCall = e->Kind == TExprKind::Call;
    if (e->Kind == TExprKind::Name) {
        const TSymbol* s = Lookup(e->Text);
        isCall = s ? (s->SymbolKind == TSymbol::Kind::Routine || s->SymbolKind == TSymbol::Kind::HostFunction)
                   : FindBuiltin(e->Text) != nullptr;
    }
    TExprPtr call = CheckExpr(e);
    if (call->Type->IsError()) return nullptr;
    if (!isCall) {
        Error(pos, "statement expected, but expression found");
        return nullptr;
    }
    return std::make_unique<TExprStmtNode>(std::move(call));
}

TStmtPtr TChecker::CheckFor(const TStmt& stmt) {
    const TPos pos = stmt.Pos;
    const TSymbol* s = Lookup(stmt.Text);
    TLValuePtr var;
    if (!s || s->SymbolKind != TSymbol::Kind::Variable) {
        Error(pos, s ? "'" + stmt.Text + "' is not a variable" : "undeclared identifier: '" + stmt.Text + "'");
    } else if (s->Type->Kind != TTypeKind::Integer) {
        if (!s->Type->IsError()) Error(pos, "for loop control variable must be an Integer");
    } else if (s->ReadOnly) {
        Error(pos, "cannot assign to a constant parameter");
    } else {
        var = TLValuePtr(static_cast<TLValueNode*>(VariableNode(*s, pos).release()));
    }
    TExprPtr from = Coerce(CheckExpr(stmt.Value.get()), m_types.Integer(), pos);
    TExprPtr to = Coerce(CheckExpr(stmt.Limit.get()), m_types.Integer(), pos);
    ++m_loopDepth;
    TStmtPtr body = CheckStatement(stmt.Then.get());
    --m_loopDepth;
    if (!var) return nullptr;
    return std::make_unique<TForNode>(std::move(var), std::move(from), std::move(to), stmt.Downward, std::move(body),
                                      pos.Line, pos.Column);
}

TStmtPtr TChecker::CheckCase(const TStmt& stmt) {
    const TPos pos = stmt.Pos;
    TExprPtr selector = CheckExpr(stmt.Value.get());
    const TType* type = selector->Type;
    if (!type->IsError() && type->Kind != TTypeKind::Integer && type->Kind != TTypeKind::String &&
        type->Kind != TTypeKind::Boolean && type->Kind != TTypeKind::Variant) {
        Error(pos, "ordinal type required");
        type = m_types.Error();
    }
    std::vector<TCaseNode::Branch> branches;
    for (const TCaseBranch& b : stmt.Branches) {
        TCaseNode::Branch branch;
        for (const TRange& r : b.Labels) {
            TCaseNode::Label label;
            const TType* labelType = type->Kind == TTypeKind::Variant ? nullptr : type;
            if (labelType && labelType->IsError()) continue;
            if (!labelType) {
                TExprPtr e = CheckExpr(r.Low.get());
                if (const TValue* v = e->Constant()) label.Low = *v;
                else Error(r.Low->Pos, "constant expression expected");
                if (r.High) {
                    TExprPtr h = CheckExpr(r.High.get());
                    if (const TValue* v = h->Constant()) label.High = *v;
                    else Error(r.High->Pos, "constant expression expected");
                }
            } else {
                (void)ConstantValue(r.Low.get(), labelType, label.Low);
                if (r.High) (void)ConstantValue(r.High.get(), labelType, label.High);
            }
            branch.Labels.push_back(std::move(label));
        }
        branch.Body = CheckStatement(b.Body.get());
        branches.push_back(std::move(branch));
    }
    std::unique_ptr<TBlockNode> otherwise;
    if (stmt.HasElse) otherwise = CheckBlock(stmt.ElseBody, pos);
    return std::make_unique<TCaseNode>(std::move(selector), std::move(branches), std::move(otherwise), pos.Line,
                                       pos.Column);
}

TStmtPtr TChecker::CheckTry(const TStmt& stmt) {
    const TPos pos = stmt.Pos;
    auto body = CheckBlock(stmt.Body, pos);
    if (stmt.Kind == TStmtKind::TryFinally) {
        auto final = CheckBlock(stmt.ElseBody, pos);
        return std::make_unique<TTryFinallyNode>(std::move(body), std::move(final), pos.Line, pos.Column);
    }
    std::vector<TTryExceptNode::Handler> handlers;
    for (const TExceptHandler& h : stmt.Handlers) {
        TTryExceptNode::Handler handler;
        const TType* cls = m_types.ExceptionClass(h.ClassName);
        if (!cls) {
            if (const TSymbol* s = Lookup(h.ClassName); s && s->SymbolKind == TSymbol::Kind::Type &&
                                                       s->Type->Kind == TTypeKind::Exception)
                cls = s->Type;
        }
        if (!cls) {
            Error(h.Pos, "unknown exception class '" + h.ClassName + "'");
            cls = m_types.ExceptionClass();
        }
        handler.Class = cls;
        // The handler's variable lives in a scope of its own, in a slot of
        // the current frame.
        auto scope = std::make_unique<Scope>();
        scope->Level = m_scope->Level;
        scope->Slots = m_scope->Slots;
        scope->Routine = m_scope->Routine;
        scope->Parent = m_scope;
        Scope* saved = m_scope;
        m_scope = scope.get();
        m_scopes.push_back(std::move(scope));
        if (!h.VarName.empty()) {
            TSymbol s;
            s.SymbolKind = TSymbol::Kind::Variable;
            s.Type = cls;
            s.Level = Level();
            s.Slot = NewSlot(cls);
            const TSymbol* declared = Declare(h.VarName, std::move(s), h.Pos);
            if (declared)
                handler.Var = TLValuePtr(static_cast<TLValueNode*>(VariableNode(*declared, h.Pos).release()));
        }
        handler.Body = CheckStatement(h.Body.get());
        m_scope = saved;
        handlers.push_back(std::move(handler));
    }
    std::unique_ptr<TBlockNode> otherwise;
    if (stmt.HasElse) otherwise = CheckBlock(stmt.ElseBody, pos);
    return std::make_unique<TTryExceptNode>(std::move(body), std::move(handlers), std::move(otherwise), &m_types,
                                            pos.Line, pos.Column);
}

// ---------------------------------------------------------------- program

TScriptProgram::TScriptProgram() = default;
TScriptProgram::~TScriptProgram() = default;

std::unique_ptr<TScriptProgram> CompileScript(std::string_view text, const std::vector<const THostUnit*>& units) {
    auto program = std::make_unique<TScriptProgram>();
    TScriptErrors errors;
    ast::TScript script = Parse(text, errors);
    if (!errors.empty()) {
        program->m_errors = std::move(errors);
        return program;
    }
    TChecker checker(*program, units);
    checker.CheckScript(script);
    if (program->HasErrors()) {
        program->m_main.reset();
        program->m_routines.clear();
    }
    return program;
}

bool TScriptProgram::Run(void* param, TScriptError* error, std::int64_t stepLimit) {
    if (HasErrors() || !m_main) return true;
    TContext ctx;
    ctx.Param = param;
    ctx.Types = &m_types;
    ctx.StepsLeft = stepLimit > 0 ? stepLimit : INT64_MAX;
    std::vector<TValue> globals(m_globalTypes.size());
    for (std::size_t i = 0; i < m_globalTypes.size(); ++i) globals[i] = DefaultValue(m_globalTypes[i]);
    TFrame frame;
    frame.Slots = globals.data();
    frame.Ctx = &ctx;
    ctx.Globals = &frame;
    const auto fail = [&](int line, int column, std::string message) {
        if (error) *error = {TScriptError::Kind::Runtime, line, column, std::move(message)};
        return false;
    };
    try {
        m_main->Exec(frame);
    } catch (const TScriptRaise& e) {
        const TExceptionObject* object = e.Exception.Exception();
        return fail(e.Line, e.Column, object ? object->Message : "exception");
    } catch (const TScriptAbort& e) {
        return fail(0, 0, e.Message);
    } catch (const std::bad_alloc&) {
        return fail(0, 0, "Out of memory");
    }
    return true;
}

}  // namespace mirvex::script
