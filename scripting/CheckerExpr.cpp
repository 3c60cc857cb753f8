// The checker's expressions: names, operators, designators and calls.
#include "Checker.h"

#include "StackGuard.h"
#include "util/Cp1251.h"

namespace mirvex::script {

namespace {

bool IsConst(const TExprPtr& e) { return e->Constant() != nullptr; }

// Wraps a node so that its static type reads as Variant.
class TAsVariantNode final : public TExprNode {
public:
    TAsVariantNode(const TType* type, TExprPtr e) : TExprNode(type, e->Line, e->Column), m_e(std::move(e)) {}
    TValue Eval(TFrame& f) override { return m_e->Eval(f); }

private:
    TExprPtr m_e;
};

bool IsScalar(const TType* t) {
    switch (t->Kind) {
        case TTypeKind::Integer:
        case TTypeKind::Float:
        case TTypeKind::DateTime:
        case TTypeKind::Boolean:
        case TTypeKind::String:
        case TTypeKind::Variant: return true;
        default: return false;
    }
}

}  // namespace

TExprPtr TChecker::ErrorNode(TPos pos) {
    return std::make_unique<TConstNode>(m_types.Error(), TValue(), pos.Line, pos.Column);
}

const TType* TChecker::TypeByLetter(char letter) const {
    switch (letter) {
        case 'I': return m_types.Integer();
        case 'F': return m_types.Float();
        case 'D': return m_types.DateTime();
        case 'S': return m_types.String();
        case 'B': return m_types.Boolean();
        case 'V': return m_types.Variant();
        case 'T': return m_types.Set();
        default: return m_types.Void();
    }
}

TExprPtr TChecker::Fold(TExprPtr e, bool pure) {
    if (!pure || e->Type->IsError() || e->Type->Kind == TTypeKind::Void) return e;
    TContext ctx;
    ctx.Types = &m_types;
    ctx.StepsLeft = 1000000;
    TFrame frame;
    frame.Ctx = &ctx;
    ctx.Globals = &frame;
    const TPos pos{e->Line, e->Column};
    try {
        TValue v = e->Eval(frame);
        return std::make_unique<TConstNode>(e->Type, TValue(v.Deref()), pos.Line, pos.Column);
    } catch (const TScriptRaise&) {
        // Not an error of the text: the expression raises when it runs,
        // as it would without folding.
    } catch (const TScriptAbort&) {
    }
    return e;
}

bool TChecker::ConstantValue(const TExpr* expr, const TType* type, TValue& out) {
    TExprPtr e = Coerce(CheckExpr(expr), type, expr->Pos);
    if (e->Type->IsError()) return false;
    if (const TValue* v = e->Constant()) {
        out = *v;
        return true;
    }
    Error(expr->Pos, "constant expression expected");
    return false;
}

bool TChecker::CanCoerce(const TType* from, const TType* to) const {
    if (from->IsError() || to->IsError() || SameType(from, to)) return true;
    switch (to->Kind) {
        case TTypeKind::Float:
        case TTypeKind::DateTime: return from->IsNumeric() || from->Kind == TTypeKind::Variant;
        case TTypeKind::Variant: return from->Kind != TTypeKind::Void && from->Kind != TTypeKind::Exception;
        case TTypeKind::Integer:
        case TTypeKind::Boolean:
        case TTypeKind::String: return from->Kind == TTypeKind::Variant;
        case TTypeKind::StaticArray:
        case TTypeKind::DynamicArray:
            return from->Kind == TTypeKind::Variant ||
                   (from->IsArray() && to->Kind == TTypeKind::DynamicArray && SameType(from->Element, to->Element));
        case TTypeKind::Exception: return from->Kind == TTypeKind::Exception && IsExceptionClass(from, to);
        default: return false;
    }
}

TExprPtr TChecker::Coerce(TExprPtr e, const TType* target, TPos pos) {
    const TType* from = e->Type;
    if (from->IsError() || target->IsError() || SameType(from, target)) return e;
    if (!CanCoerce(from, target)) {
        if (from->Kind == TTypeKind::Void) Error(pos, "the expression has no value");
        else Error(pos, "incompatible types: '" + TypeName(target) + "' and '" + TypeName(from) + "'");
        return ErrorNode(pos);
    }
    const bool constant = IsConst(e);
    TExprPtr out;
    if (from->Kind == TTypeKind::Variant) {
        out = std::make_unique<TFromVariantNode>(target, std::move(e));
    } else if (target->Kind == TTypeKind::Variant) {
        out = std::make_unique<TAsVariantNode>(target, std::move(e));
    } else if ((target->Kind == TTypeKind::Float || target->Kind == TTypeKind::DateTime) &&
               from->Kind == TTypeKind::Integer) {
        out = std::make_unique<TIntToFloatNode>(target, std::move(e));
    } else if (target->IsFloat() && from->IsFloat()) {
        out = std::make_unique<TRetagFloatNode>(target, std::move(e));
    } else {
        return e;  // arrays into open arrays, exception classes into their parents
    }
    return constant ? Fold(std::move(out)) : std::move(out);
}

TExprPtr TChecker::CheckExpr(const TExpr* expr) {
    if (!expr) return ErrorNode({});
    // Operator chains may be as long as the parser allows them.
    if (++m_exprDepth > kMaxNesting * 4 || StackNearlyExhausted()) {
        Error(expr->Pos, "nesting is too deep");
        --m_exprDepth;
        return ErrorNode(expr->Pos);
    }
    struct DepthRestore {
        int& depth;
        ~DepthRestore() { --depth; }
    } restore{m_exprDepth};
    const TPos pos = expr->Pos;
    switch (expr->Kind) {
        case TExprKind::Integer:
            return std::make_unique<TConstNode>(m_types.Integer(), TValue::Integer(expr->IntValue), pos.Line, pos.Column);
        case TExprKind::Float:
            return std::make_unique<TConstNode>(m_types.Float(), TValue::Float(expr->FloatValue), pos.Line, pos.Column);
        case TExprKind::String:
            return std::make_unique<TConstNode>(m_types.String(), TValue::String(expr->Text), pos.Line, pos.Column);
        case TExprKind::Nil: return std::make_unique<TConstNode>(m_types.Nil(), TValue(), pos.Line, pos.Column);
        case TExprKind::Name: return CheckName(*expr);
        case TExprKind::Call: return CheckCall(*expr);
        case TExprKind::Index: return CheckIndex(*expr);
        case TExprKind::Field: return CheckField(*expr);
        case TExprKind::Unary: return CheckUnary(*expr);
        case TExprKind::Binary: return CheckBinary(*expr);
        case TExprKind::Brackets: return CheckSet(*expr);
    }
    return ErrorNode(pos);
}

TExprPtr TChecker::VariableNode(const TSymbol& s, TPos pos) {
    if (s.Level == 0 && !s.IsRef) return std::make_unique<TGlobalVarNode>(s.Type, s.Slot, pos.Line, pos.Column);
    if (s.Level == Level() && !s.IsRef) return std::make_unique<TLocalVarNode>(s.Type, s.Slot, pos.Line, pos.Column);
    return std::make_unique<TFrameVarNode>(s.Type, Level() - s.Level, s.Slot, s.IsRef, pos.Line, pos.Column);
}

TExprPtr TChecker::CheckName(const TExpr& expr) {
    const TPos pos = expr.Pos;
    if (const TSymbol* s = Lookup(expr.Text)) {
        switch (s->SymbolKind) {
            case TSymbol::Kind::Variable: return VariableNode(*s, pos);
            case TSymbol::Kind::Constant:
                return std::make_unique<TConstNode>(s->Type, s->Value, pos.Line, pos.Column);
            case TSymbol::Kind::HostVariable:
                return std::make_unique<THostVarNode>(s->Type, s->HostVariable->Read, s->HostVariable->Write,
                                                      pos.Line, pos.Column);
            case TSymbol::Kind::Routine:
            case TSymbol::Kind::HostFunction: return CallSymbol(*s, expr.Text, {}, pos);
            case TSymbol::Kind::Type:
                Error(pos, "type name '" + expr.Text + "' used as a value");
                return ErrorNode(pos);
        }
    }
    if (const TBuiltinConstant* c = FindBuiltinConstant(expr.Text))
        return std::make_unique<TConstNode>(TypeByLetter(c->Type), c->Value, pos.Line, pos.Column);
    if (const TBuiltinDef* b = FindBuiltin(expr.Text)) return CallBuiltin(*b, {}, pos);
    if (SameTextAscii(expr.Text, "nil")) return std::make_unique<TConstNode>(m_types.Nil(), TValue(), pos.Line, pos.Column);
    if (m_types.ExceptionClass(expr.Text) || m_types.FindBuiltin(expr.Text)) {
        Error(pos, "type name '" + expr.Text + "' used as a value");
        return ErrorNode(pos);
    }
    Error(pos, "undeclared identifier: '" + expr.Text + "'");
    return ErrorNode(pos);
}

const TRoutineInfo* TChecker::ResultOf(const std::string& name) const {
    for (const Scope* s = m_scope; s; s = s->Parent)
        if (s->Routine && s->Routine->IsFunction && SameTextAscii(s->Routine->Name, name)) return s->Routine;
    return nullptr;
}

TLValuePtr TChecker::CheckLValue(const TExpr* expr, const char* what) {
    const TPos pos = expr->Pos;
    const auto as = [](TExprPtr e) { return TLValuePtr(static_cast<TLValueNode*>(e.release())); };
    if (expr->Kind == TExprKind::Name) {
        const TSymbol* s = Lookup(expr->Text);
        if (s && s->SymbolKind == TSymbol::Kind::Variable) {
            if (s->ReadOnly) {
                Error(pos, "cannot assign to a constant parameter: '" + expr->Text + "'");
                return nullptr;
            }
            return as(VariableNode(*s, pos));
        }
        if (s && s->SymbolKind == TSymbol::Kind::HostVariable)
            return as(CheckName(*expr));
        if (s && s->SymbolKind == TSymbol::Kind::Routine) {
            if (const TRoutineInfo* r = ResultOf(expr->Text)) {
                TSymbol result;
                result.Type = r->Result;
                result.Level = r->Level;
                result.Slot = 0;
                return as(VariableNode(result, pos));
            }
        }
        if (s && s->SymbolKind == TSymbol::Kind::Constant) {
            Error(pos, "cannot assign to a constant: '" + expr->Text + "'");
            return nullptr;
        }
        if (!s && FindBuiltinConstant(expr->Text)) {
            Error(pos, "cannot assign to a constant: '" + expr->Text + "'");
            return nullptr;
        }
        if (!s && !FindBuiltin(expr->Text)) {
            Error(pos, "undeclared identifier: '" + expr->Text + "'");
            return nullptr;
        }
        Error(pos, std::string("'") + expr->Text + "' cannot be " + what);
        return nullptr;
    }
    if (expr->Kind == TExprKind::Index || expr->Kind == TExprKind::Field) {
        // The designator's root must be assignable too.
        const TExpr* root = expr;
        while (root->Kind == TExprKind::Index || root->Kind == TExprKind::Field) root = root->Left.get();
        if (root->Kind == TExprKind::Name) {
            const TSymbol* s = Lookup(root->Text);
            if (s && s->SymbolKind == TSymbol::Kind::Constant) {
                Error(pos, "cannot assign to a constant: '" + root->Text + "'");
                return nullptr;
            }
            if (s && s->SymbolKind == TSymbol::Kind::Variable && s->ReadOnly) {
                Error(pos, "cannot assign to a constant parameter: '" + root->Text + "'");
                return nullptr;
            }
            if (!s || (s->SymbolKind != TSymbol::Kind::Variable && s->SymbolKind != TSymbol::Kind::HostVariable)) {
                Error(pos, std::string("left side cannot be ") + what);
                return nullptr;
            }
        } else {
            Error(pos, std::string("left side cannot be ") + what);
            return nullptr;
        }
        TExprPtr e = CheckExpr(expr);
        if (e->Type->IsError()) return nullptr;
        if (auto* lv = dynamic_cast<TLValueNode*>(e.get())) {
            (void)lv;
            return as(std::move(e));
        }
        Error(pos, std::string("left side cannot be ") + what);
        return nullptr;
    }
    Error(pos, std::string("left side cannot be ") + what);
    return nullptr;
}

TExprPtr TChecker::CheckUnary(const TExpr& expr) {
    const TPos pos = expr.Pos;
    TExprPtr e = CheckExpr(expr.Left.get());
    const TType* t = e->Type;
    if (t->IsError()) return e;
    const bool constant = IsConst(e);
    TExprPtr out;
    if (expr.Op == TTok::Not) {
        if (t->Kind == TTypeKind::Boolean || t->Kind == TTypeKind::Integer || t->Kind == TTypeKind::Variant)
            out = std::make_unique<TUnaryNode>(t, TTok::Not, std::move(e), pos.Line, pos.Column);
    } else if (t->Kind == TTypeKind::Integer || t->Kind == TTypeKind::Float || t->Kind == TTypeKind::Variant) {
        if (expr.Op == TTok::Plus) return e;
        out = std::make_unique<TUnaryNode>(t, TTok::Minus, std::move(e), pos.Line, pos.Column);
    } else if (t->Kind == TTypeKind::DateTime) {
        if (expr.Op == TTok::Plus) return e;
        out = std::make_unique<TUnaryNode>(m_types.Float(), TTok::Minus,
                                           Coerce(std::move(e), m_types.Float(), pos), pos.Line, pos.Column);
    }
    if (!out) {
        Error(pos, "operator not applicable to this operand type: '" + TypeName(t) + "'");
        return ErrorNode(pos);
    }
    return constant ? Fold(std::move(out)) : std::move(out);
}

TExprPtr TChecker::CheckBinary(const TExpr& expr) {
    const TPos pos = expr.Pos;
    const TTok op = expr.Op;
    TExprPtr l = CheckExpr(expr.Left.get());
    TExprPtr r = CheckExpr(expr.Right.get());
    if (l->Type->IsError() || r->Type->IsError()) return ErrorNode(pos);
    const bool constant = IsConst(l) && IsConst(r);
    const TType* lt = l->Type;
    const TType* rt = r->Type;
    const bool variant = lt->Kind == TTypeKind::Variant || rt->Kind == TTypeKind::Variant;
    const bool bothInt = lt->Kind == TTypeKind::Integer && rt->Kind == TTypeKind::Integer;
    const bool bothNumeric = lt->IsNumeric() && rt->IsNumeric();
    const bool bothString = lt->Kind == TTypeKind::String && rt->Kind == TTypeKind::String;
    const bool bothBool = lt->Kind == TTypeKind::Boolean && rt->Kind == TTypeKind::Boolean;
    const int line = pos.Line, column = pos.Column;
    const auto fail = [&] {
        Error(pos, "incompatible types: '" + TypeName(lt) + "' and '" + TypeName(rt) + "'");
        return ErrorNode(pos);
    };
    const auto toVariant = [&] {
        l = Coerce(std::move(l), m_types.Variant(), pos);
        r = Coerce(std::move(r), m_types.Variant(), pos);
    };
    TExprPtr out;
    switch (op) {
        case TTok::Equal:
        case TTok::NotEqual:
        case TTok::Less:
        case TTok::Greater:
        case TTok::LessEqual:
        case TTok::GreaterEqual: {
            TCompareNode::Kind kind;
            if (variant && IsScalar(lt) && IsScalar(rt)) {
                toVariant();
                kind = TCompareNode::Kind::Variant;
            } else if (bothInt) {
                kind = TCompareNode::Kind::Integer;
            } else if (bothNumeric) {
                l = Coerce(std::move(l), m_types.Float(), pos);
                r = Coerce(std::move(r), m_types.Float(), pos);
                kind = TCompareNode::Kind::Float;
            } else if (bothString) {
                kind = TCompareNode::Kind::String;
            } else if (bothBool) {
                kind = TCompareNode::Kind::Boolean;
            } else {
                return fail();
            }
            out = std::make_unique<TCompareNode>(m_types.Boolean(), kind, op, std::move(l), std::move(r), line, column);
            break;
        }
        case TTok::In:
            if (rt->Kind != TTypeKind::Set || (lt->Kind != TTypeKind::Integer && lt->Kind != TTypeKind::String)) {
                Error(pos, "'in' needs an Integer or a character and a set");
                return ErrorNode(pos);
            }
            out = std::make_unique<TInNode>(m_types.Boolean(), std::move(l), std::move(r), line, column);
            break;
        case TTok::Plus:
        case TTok::Minus:
        case TTok::Star:
        case TTok::Slash:
            if (variant && IsScalar(lt) && IsScalar(rt)) {
                toVariant();
                out = std::make_unique<TVariantBinaryNode>(m_types.Variant(), op, std::move(l), std::move(r), line, column);
            } else if (op == TTok::Plus && bothString) {
                out = std::make_unique<TConcatNode>(m_types.String(), std::move(l), std::move(r), line, column);
            } else if (bothInt && op != TTok::Slash) {
                if (op == TTok::Plus)
                    out = std::make_unique<TIntBinaryNode<TIntAdd>>(m_types.Integer(), std::move(l), std::move(r), line, column);
                else if (op == TTok::Minus)
                    out = std::make_unique<TIntBinaryNode<TIntSub>>(m_types.Integer(), std::move(l), std::move(r), line, column);
                else
                    out = std::make_unique<TIntBinaryNode<TIntMul>>(m_types.Integer(), std::move(l), std::move(r), line, column);
            } else if (bothNumeric) {
                l = Coerce(std::move(l), m_types.Float(), pos);
                r = Coerce(std::move(r), m_types.Float(), pos);
                out = std::make_unique<TFloatBinaryNode>(m_types.Float(), op, std::move(l), std::move(r), line, column);
            } else {
                return fail();
            }
            break;
        case TTok::Div:
        case TTok::Mod:
        case TTok::Shl:
        case TTok::Shr:
            if (variant && IsScalar(lt) && IsScalar(rt)) {
                toVariant();
                out = std::make_unique<TVariantBinaryNode>(m_types.Variant(), op, std::move(l), std::move(r), line, column);
            } else if (bothInt) {
                const TType* t = m_types.Integer();
                if (op == TTok::Div) out = std::make_unique<TIntBinaryNode<TIntDiv>>(t, std::move(l), std::move(r), line, column);
                else if (op == TTok::Mod) out = std::make_unique<TIntBinaryNode<TIntMod>>(t, std::move(l), std::move(r), line, column);
                else if (op == TTok::Shl) out = std::make_unique<TIntBinaryNode<TIntShl>>(t, std::move(l), std::move(r), line, column);
                else out = std::make_unique<TIntBinaryNode<TIntShr>>(t, std::move(l), std::move(r), line, column);
            } else {
                return fail();
            }
            break;
        case TTok::And:
        case TTok::Or:
        case TTok::Xor:
            if (bothBool) {
                out = std::make_unique<TBoolLogicNode>(m_types.Boolean(), op, std::move(l), std::move(r), line, column);
            } else if (bothInt) {
                const TType* t = m_types.Integer();
                if (op == TTok::And) out = std::make_unique<TIntBinaryNode<TIntAnd>>(t, std::move(l), std::move(r), line, column);
                else if (op == TTok::Or) out = std::make_unique<TIntBinaryNode<TIntOr>>(t, std::move(l), std::move(r), line, column);
                else out = std::make_unique<TIntBinaryNode<TIntXor>>(t, std::move(l), std::move(r), line, column);
            } else if (variant && IsScalar(lt) && IsScalar(rt)) {
                toVariant();
                out = std::make_unique<TVariantBinaryNode>(m_types.Variant(), op, std::move(l), std::move(r), line, column);
            } else {
                return fail();
            }
            break;
        default: return fail();
    }
    return constant ? Fold(std::move(out)) : std::move(out);
}

TExprPtr TChecker::CheckIndex(const TExpr& expr) {
    TExprPtr base = CheckExpr(expr.Left.get());
    for (const ast::TExprPtr& arg : expr.Args) {
        if (base->Type->IsError()) return base;
        const TPos pos = arg->Pos;
        TExprPtr index = Coerce(CheckExpr(arg.get()), m_types.Integer(), pos);
        const TType* t = base->Type;
        const bool constant = IsConst(base) && IsConst(index);
        switch (t->Kind) {
            case TTypeKind::StaticArray:
            case TTypeKind::DynamicArray:
                base = std::make_unique<TIndexNode>(t->Element, std::move(base), std::move(index), pos.Line, pos.Column);
                break;
            case TTypeKind::Variant:
                base = std::make_unique<TIndexNode>(m_types.Variant(), std::move(base), std::move(index), pos.Line,
                                                    pos.Column);
                break;
            case TTypeKind::String:
                base = std::make_unique<TCharIndexNode>(m_types.String(), std::move(base), std::move(index), pos.Line,
                                                        pos.Column);
                break;
            default: Error(pos, "array type required"); return ErrorNode(pos);
        }
        if (constant) base = Fold(std::move(base));
    }
    return base;
}

TExprPtr TChecker::CheckField(const TExpr& expr) {
    const TPos pos = expr.Pos;
    TExprPtr base = CheckExpr(expr.Left.get());
    const TType* t = base->Type;
    if (t->IsError()) return base;
    if (t->Kind == TTypeKind::Record) {
        const int field = t->FieldIndex(expr.Text);
        if (field < 0) {
            Error(pos, "unknown field '" + expr.Text + "'");
            return ErrorNode(pos);
        }
        return std::make_unique<TFieldNode>(t->Fields[static_cast<std::size_t>(field)].Type, std::move(base), field,
                                            pos.Line, pos.Column);
    }
    if (t->Kind == TTypeKind::Exception) {
        if (SameTextAscii(expr.Text, "Message") || SameTextAscii(expr.Text, "ClassName"))
            return std::make_unique<TExceptionFieldNode>(m_types.String(), std::move(base),
                                                         SameTextAscii(expr.Text, "ClassName"), pos.Line, pos.Column);
        Error(pos, "unknown field '" + expr.Text + "'");
        return ErrorNode(pos);
    }
    Error(pos, "record or object type required");
    return ErrorNode(pos);
}

TExprPtr TChecker::CheckSet(const TExpr& expr) {
    std::vector<TSetNode::Element> elements;
    bool constant = true;
    for (const TRange& r : expr.Ranges) {
        TSetNode::Element element;
        element.Low = CheckExpr(r.Low.get());
        if (r.High) element.High = CheckExpr(r.High.get());
        for (TExprPtr* e : {&element.Low, &element.High}) {
            if (!*e) continue;
            const TType* t = (*e)->Type;
            if (t->IsError()) return ErrorNode(expr.Pos);
            if (t->Kind == TTypeKind::Variant) *e = Coerce(std::move(*e), m_types.Integer(), expr.Pos);
            else if (t->Kind != TTypeKind::Integer && t->Kind != TTypeKind::String) {
                Error((*e)->Line ? TPos{(*e)->Line, (*e)->Column} : expr.Pos,
                      "set elements must be Integers or characters");
                return ErrorNode(expr.Pos);
            }
            constant = constant && IsConst(*e);
        }
        elements.push_back(std::move(element));
    }
    auto set = std::make_unique<TSetNode>(m_types.Set(), std::move(elements), expr.Pos.Line, expr.Pos.Column);
    return constant ? Fold(std::move(set)) : std::move(set);
}

TExprPtr TChecker::CheckOpenArray(const TExpr& expr) {
    std::vector<TExprPtr> items;
    bool constant = true;
    for (const TRange& r : expr.Ranges) {
        if (r.High) {
            Error(r.Low->Pos, "a range is not allowed here");
            return ErrorNode(expr.Pos);
        }
        TExprPtr e = CheckExpr(r.Low.get());
        if (e->Type->IsError()) return e;
        if (!IsScalar(e->Type)) {
            Error(r.Low->Pos, "a simple value is expected");
            return ErrorNode(expr.Pos);
        }
        constant = constant && IsConst(e);
        items.push_back(Coerce(std::move(e), m_types.Variant(), expr.Pos));
    }
    auto node = std::make_unique<TOpenArrayNode>(m_types.DynamicArray(m_types.Variant()), std::move(items),
                                                 expr.Pos.Line, expr.Pos.Column);
    return constant ? Fold(std::move(node)) : std::move(node);
}

TExprPtr TChecker::CheckCall(const TExpr& expr) {
    const TPos pos = expr.Pos;
    const TExpr* callee = expr.Left.get();
    // ExceptionClass.Create(message)
    if (callee->Kind == TExprKind::Field && SameTextAscii(callee->Text, "Create") &&
        callee->Left->Kind == TExprKind::Name) {
        const TType* cls = nullptr;
        const TSymbol* s = Lookup(callee->Left->Text);
        if (s && s->SymbolKind == TSymbol::Kind::Type && s->Type->Kind == TTypeKind::Exception) cls = s->Type;
        if (!s) cls = m_types.ExceptionClass(callee->Left->Text);
        if (cls) {
            if (expr.Args.size() != 1) {
                Error(pos, "Create expects one message");
                return ErrorNode(pos);
            }
            std::vector<TExprPtr> args;
            args.push_back(Coerce(CheckExpr(expr.Args[0].get()), m_types.String(), pos));
            const std::string className = cls->Name;
            TNativeFn create = [className](TNativeCall& c) {
                auto* e = new TExceptionObject;
                e->ClassName = className;
                e->Message = c.Arg(0).Deref().Str();
                return TValue::Object(TValueTag::Exception, e);
            };
            return std::make_unique<TNativeCallNode>(cls, std::move(create), std::move(args), std::vector<bool>{false},
                                                     pos.Line, pos.Column);
        }
    }
    if (callee->Kind != TExprKind::Name) {
        Error(pos, "routine name expected");
        return ErrorNode(pos);
    }
    if (const TSymbol* s = Lookup(callee->Text)) {
        switch (s->SymbolKind) {
            case TSymbol::Kind::Routine:
            case TSymbol::Kind::HostFunction: return CallSymbol(*s, callee->Text, expr.Args, pos);
            case TSymbol::Kind::Type: return TypeCast(s->Type, expr.Args, pos);
            default:
                Error(pos, "'" + callee->Text + "' is not a routine");
                return ErrorNode(pos);
        }
    }
    if (const TBuiltinDef* b = FindBuiltin(callee->Text)) return CallBuiltin(*b, expr.Args, pos);
    if (const TType* t = m_types.FindBuiltin(callee->Text)) return TypeCast(t, expr.Args, pos);
    Error(pos, "undeclared identifier: '" + callee->Text + "'");
    return ErrorNode(pos);
}

TExprPtr TChecker::CallSymbol(const TSymbol& symbol, const std::string& name, const std::vector<ast::TExprPtr>& args,
                              TPos pos) {
    (void)name;
    if (symbol.SymbolKind == TSymbol::Kind::Routine) return CallRoutine(*symbol.Routine, args, pos);
    return CallHost(*symbol.HostFunction, args, pos);
}

TExprPtr TChecker::CallRoutine(TRoutineInfo& routine, const std::vector<ast::TExprPtr>& args, TPos pos) {
    if (args.size() != routine.Params.size()) {
        Error(pos, args.size() < routine.Params.size() ? "not enough actual parameters"
                                                       : "too many actual parameters");
        return ErrorNode(pos);
    }
    std::vector<TExprPtr> nodes;
    bool ok = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const TParamInfo& p = routine.Params[i];
        if (p.Mode == TParamMode::Var || p.Mode == TParamMode::Out) {
            TLValuePtr lv = CheckLValue(args[i].get(), "passed as a var parameter");
            if (!lv) {
                ok = false;
                continue;
            }
            if (!SameType(lv->Type, p.Type) && !lv->Type->IsError() && !p.Type->IsError()) {
                Error(args[i]->Pos, "types of actual and formal var parameters must be identical");
                ok = false;
            }
            nodes.push_back(std::move(lv));
        } else {
            TExprPtr e = Coerce(CheckExpr(args[i].get()), p.Type, args[i]->Pos);
            ok = ok && !e->Type->IsError();
            nodes.push_back(std::move(e));
        }
    }
    if (!ok) return ErrorNode(pos);
    return std::make_unique<TUserCallNode>(routine.Result, routine.Code, Level(), std::move(nodes), pos.Line,
                                           pos.Column);
}

TExprPtr TChecker::CallBuiltin(const TBuiltinDef& def, const std::vector<ast::TExprPtr>& args, TPos pos) {
    std::vector<std::pair<char, bool>> params;
    for (const char* p = def.Params; *p; ++p) {
        const bool isVar = *p == '&';
        if (isVar) ++p;
        params.emplace_back(*p, isVar);
    }
    if (static_cast<int>(args.size()) < def.MinArgs || args.size() > params.size()) {
        Error(pos, static_cast<int>(args.size()) < def.MinArgs ? "not enough actual parameters"
                                                               : "too many actual parameters");
        return ErrorNode(pos);
    }
    std::vector<TExprPtr> nodes;
    std::vector<bool> isVar;
    bool constant = def.Pure;
    bool allInt = true;
    const TType* setLengthElement = nullptr;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const auto [letter, byRef] = params[i];
        const TPos at = args[i]->Pos;
        const auto bad = [&](const TType* t) {
            if (!t->IsError()) Error(at, "incompatible type of argument " + std::to_string(i + 1) + " to " + def.Name);
            return ErrorNode(pos);
        };
        if (byRef) {
            TLValuePtr lv = CheckLValue(args[i].get(), "passed as a var parameter");
            if (!lv) return ErrorNode(pos);
            const TType* t = lv->Type;
            bool fits = false;
            switch (letter) {
                case 'I': fits = t->Kind == TTypeKind::Integer; break;
                case 'S': fits = t->Kind == TTypeKind::String; break;
                case 'V': fits = t->Kind == TTypeKind::Variant; break;
                case 'R':
                    fits = t->Kind == TTypeKind::String || t->Kind == TTypeKind::DynamicArray;
                    if (t->Kind == TTypeKind::DynamicArray) setLengthElement = t->Element;
                    break;
                default: break;
            }
            if (!fits) return bad(t);
            nodes.push_back(std::move(lv));
            isVar.push_back(true);
            constant = false;
            continue;
        }
        TExprPtr e;
        if (letter == 'O' && args[i]->Kind == TExprKind::Brackets) e = CheckOpenArray(*args[i]);
        else e = CheckExpr(args[i].get());
        const TType* t = e->Type;
        if (t->IsError()) return ErrorNode(pos);
        switch (letter) {
            case 'I':
            case 'F':
            case 'D':
            case 'S':
            case 'B':
            case 'V':
                if (!CanCoerce(t, TypeByLetter(letter))) return bad(t);
                e = Coerce(std::move(e), TypeByLetter(letter), at);
                break;
            case 'N':
                if (t->Kind == TTypeKind::Variant) e = Coerce(std::move(e), m_types.Float(), at);
                else if (!t->IsNumeric()) return bad(t);
                if (e->Type->Kind != TTypeKind::Integer) allInt = false;
                break;
            case 'L':
                if (t->Kind != TTypeKind::String && !t->IsArray() && t->Kind != TTypeKind::Variant) return bad(t);
                break;
            case 'A':
            case 'O':
                if (!t->IsArray() && t->Kind != TTypeKind::Variant) return bad(t);
                break;
            case 'T':
                if (t->Kind != TTypeKind::Set) return bad(t);
                break;
            case '*':
                if (t->Kind != TTypeKind::Integer && t->Kind != TTypeKind::Boolean && t->Kind != TTypeKind::String &&
                    t->Kind != TTypeKind::Variant)
                    return bad(t);
                break;
            default: return bad(t);
        }
        constant = constant && IsConst(e);
        nodes.push_back(std::move(e));
        isVar.push_back(false);
    }
    if (setLengthElement) {
        nodes.push_back(std::make_unique<TConstNode>(setLengthElement, DefaultValue(setLengthElement), pos.Line,
                                                     pos.Column));
        isVar.push_back(false);
    }
    const TType* result = nullptr;
    switch (def.Result) {
        case 'N': result = allInt ? m_types.Integer() : m_types.Float(); break;
        case 'R': result = args.empty() ? m_types.Float() : m_types.Integer(); break;
        default: result = TypeByLetter(def.Result);
    }
    auto node = std::make_unique<TNativeCallNode>(result, TNativeFn(def.Fn), std::move(nodes), std::move(isVar),
                                                  pos.Line, pos.Column);
    return constant ? Fold(std::move(node)) : std::move(node);
}

TExprPtr TChecker::CallHost(const THostFunction& fn, const std::vector<ast::TExprPtr>& args, TPos pos) {
    std::vector<TExprPtr> nodes;
    std::vector<bool> isVar;
    if (fn.Variadic) {
        for (const ast::TExprPtr& a : args) {
            TExprPtr e = CheckExpr(a.get());
            if (e->Type->IsError()) return ErrorNode(pos);
            if (!IsScalar(e->Type)) {
                Error(a->Pos, "a simple value is expected");
                return ErrorNode(pos);
            }
            nodes.push_back(Coerce(std::move(e), m_types.Variant(), a->Pos));
            isVar.push_back(false);
        }
    } else {
        if (args.size() != fn.Params.size()) {
            Error(pos, args.size() < fn.Params.size() ? "not enough actual parameters" : "too many actual parameters");
            return ErrorNode(pos);
        }
        for (std::size_t i = 0; i < args.size(); ++i) {
            const THostParam& p = fn.Params[i];
            const TType* type = m_types.FindBuiltin(p.TypeName);
            if (!type) type = m_types.Variant();
            if (p.IsVar) {
                TLValuePtr lv = CheckLValue(args[i].get(), "passed as a var parameter");
                if (!lv) return ErrorNode(pos);
                if (!SameType(lv->Type, type)) {
                    Error(args[i]->Pos, "types of actual and formal var parameters must be identical");
                    return ErrorNode(pos);
                }
                nodes.push_back(std::move(lv));
                isVar.push_back(true);
            } else {
                TExprPtr e = Coerce(CheckExpr(args[i].get()), type, args[i]->Pos);
                if (e->Type->IsError()) return ErrorNode(pos);
                nodes.push_back(std::move(e));
                isVar.push_back(false);
            }
        }
    }
    const TType* result = fn.ResultType.empty() ? m_types.Void() : m_types.FindBuiltin(fn.ResultType);
    if (!result) result = m_types.Variant();
    TNativeFn call = fn.Fn;
    if (result->Kind != TTypeKind::Void && result->Kind != TTypeKind::Variant)
        call = [inner = fn.Fn, result](TNativeCall& c) { return ConvertTo(inner(c), result); };
    return std::make_unique<TNativeCallNode>(result, std::move(call), std::move(nodes), std::move(isVar), pos.Line,
                                             pos.Column);
}

TExprPtr TChecker::TypeCast(const TType* type, const std::vector<ast::TExprPtr>& args, TPos pos) {
    if (args.size() != 1) {
        Error(pos, "a type cast takes one value");
        return ErrorNode(pos);
    }
    TExprPtr e = CheckExpr(args[0].get());
    if (e->Type->IsError()) return e;
    if (CanCoerce(e->Type, type)) return Coerce(std::move(e), type, pos);
    if (IsScalar(e->Type) && IsScalar(type)) {
        const bool constant = IsConst(e);
        // A cast between scalar types follows the rules of variants.
        auto cast = std::make_unique<TFromVariantNode>(type, std::move(e));
        return constant ? Fold(std::move(cast)) : std::move(cast);
    }
    Error(pos, "invalid type cast to '" + TypeName(type) + "'");
    return ErrorNode(pos);
}

}  // namespace mirvex::script
