// The node classes of the executable tree. The checker guarantees the
// static types: a node's typed entry point is only called for its type,
// and operands arrive already converted.
#pragma once

#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "Lexer.h"
#include "Runtime.h"
#include "ScriptError.h"

namespace mirvex::script {

// ---------------------------------------------------------------- values

class TConstNode final : public TExprNode {
public:
    TConstNode(const TType* type, TValue value, int line, int column)
        : TExprNode(type, line, column), m_value(std::move(value)) {}
    TValue Eval(TFrame&) override { return m_value; }
    std::int64_t EvalInt(TFrame&) override { return m_value.Int(); }
    double EvalFloat(TFrame&) override { return m_value.Flt(); }
    bool EvalBool(TFrame&) override { return m_value.Bool(); }
    const TValue* Constant() const override { return &m_value; }

private:
    TValue m_value;
};

// A variable or value parameter of the running routine.
class TLocalVarNode final : public TLValueNode {
public:
    TLocalVarNode(const TType* type, int slot, int line, int column)
        : TLValueNode(type, line, column), m_slot(slot) {}
    TValue Eval(TFrame& f) override { return f.Slots[m_slot]; }
    std::int64_t EvalInt(TFrame& f) override { return f.Slots[m_slot].Int(); }
    double EvalFloat(TFrame& f) override { return f.Slots[m_slot].Flt(); }
    bool EvalBool(TFrame& f) override { return f.Slots[m_slot].Bool(); }
    TValue* Address(TFrame& f) override { return &f.Slots[m_slot]; }
    bool IsVariable() const override { return true; }
    int Slot() const { return m_slot; }

private:
    int m_slot;
};

// A global variable.
class TGlobalVarNode final : public TLValueNode {
public:
    TGlobalVarNode(const TType* type, int slot, int line, int column)
        : TLValueNode(type, line, column), m_slot(slot) {}
    TValue Eval(TFrame& f) override { return f.Ctx->Globals->Slots[m_slot]; }
    std::int64_t EvalInt(TFrame& f) override { return f.Ctx->Globals->Slots[m_slot].Int(); }
    double EvalFloat(TFrame& f) override { return f.Ctx->Globals->Slots[m_slot].Flt(); }
    bool EvalBool(TFrame& f) override { return f.Ctx->Globals->Slots[m_slot].Bool(); }
    TValue* Address(TFrame& f) override { return &f.Ctx->Globals->Slots[m_slot]; }
    bool IsVariable() const override { return true; }

private:
    int m_slot;
};

// A variable of an enclosing routine, or any var parameter (whose slot
// holds a reference to the real place).
class TFrameVarNode final : public TLValueNode {
public:
    TFrameVarNode(const TType* type, int levelsUp, int slot, bool isRef, int line, int column)
        : TLValueNode(type, line, column), m_levelsUp(levelsUp), m_slot(slot), m_isRef(isRef) {}
    TValue* Address(TFrame& f) override {
        TFrame* frame = &f;
        for (int i = 0; i < m_levelsUp; ++i) frame = frame->Outer;
        TValue* v = &frame->Slots[m_slot];
        return m_isRef ? &v->Deref() : v;
    }
    TValue Eval(TFrame& f) override { return *Address(f); }
    std::int64_t EvalInt(TFrame& f) override { return Address(f)->Int(); }
    double EvalFloat(TFrame& f) override { return Address(f)->Flt(); }
    bool EvalBool(TFrame& f) override { return Address(f)->Bool(); }
    bool IsVariable() const override { return true; }

private:
    int m_levelsUp;
    int m_slot;
    bool m_isRef;
};

// A variable of the host: reads and writes go through callbacks.
class THostVarNode final : public TLValueNode {
public:
    using TRead = std::function<TValue()>;
    using TWrite = std::function<void(const TValue&)>;
    THostVarNode(const TType* type, TRead read, TWrite write, int line, int column)
        : TLValueNode(type, line, column), m_read(std::move(read)), m_write(std::move(write)) {}
    TValue Eval(TFrame&) override { return ConvertTo(m_read(), Type); }
    std::int64_t EvalInt(TFrame& f) override { return Eval(f).Int(); }
    double EvalFloat(TFrame& f) override { return Eval(f).Flt(); }
    bool EvalBool(TFrame& f) override { return Eval(f).Bool(); }
    TValue* Address(TFrame&) override { return nullptr; }
    void Store(TFrame&, TValue value) override { m_write(value); }

private:
    TRead m_read;
    TWrite m_write;
};

// The storage behind an expression that may or may not be addressable.
inline TValue* AddressOf(TExprNode* node, TFrame& f) {
    auto* lv = dynamic_cast<TLValueNode*>(node);
    return lv ? lv->Address(f) : nullptr;
}

// array[index]: static, dynamic and variant arrays.
class TIndexNode final : public TLValueNode {
public:
    TIndexNode(const TType* type, TExprPtr base, TExprPtr index, int line, int column)
        : TLValueNode(type, line, column), m_base(std::move(base)), m_index(std::move(index)) {
        m_baseL = dynamic_cast<TLValueNode*>(m_base.get());
    }
    TValue Eval(TFrame& f) override {
        const TValue base = m_base->Eval(f);
        return Element(base.Deref(), m_index->EvalInt(f));
    }
    std::int64_t EvalInt(TFrame& f) override { return Eval(f).Int(); }
    double EvalFloat(TFrame& f) override { return Eval(f).Flt(); }
    bool EvalBool(TFrame& f) override { return Eval(f).Bool(); }
    TValue* Address(TFrame& f) override {
        const std::int64_t i = m_index->EvalInt(f);
        TValue* base = m_baseL ? m_baseL->Address(f) : nullptr;
        if (!base) return nullptr;
        base = &base->Deref();
        if (base->Tag() != TValueTag::Array) RaiseRangeError();
        TArrayObject& array = base->MutableArray();
        const std::int64_t at = i - array.Low;
        if (at < 0 || at >= static_cast<std::int64_t>(array.Items.size())) RaiseRangeError();
        m_lastOwner = &array;
        return &array.Items[static_cast<std::size_t>(at)];
    }
    THeapObject* Owner(TFrame&) override { return m_lastOwner; }
    void Store(TFrame& f, TValue value) override {
        TValue* slot = Address(f);
        if (!slot) RaiseError("EVariantError", "Invalid variant array operation");
        *slot = std::move(value);
    }

    static const TValue& Element(const TValue& base, std::int64_t i) {
        if (base.Tag() != TValueTag::Array) RaiseRangeError();
        const TArrayObject* array = base.Array();
        if (!array) RaiseRangeError();
        const std::int64_t at = i - array->Low;
        if (at < 0 || at >= static_cast<std::int64_t>(array->Items.size())) RaiseRangeError();
        return array->Items[static_cast<std::size_t>(at)];
    }

private:
    TExprPtr m_base;
    TLValueNode* m_baseL;
    TExprPtr m_index;
    THeapObject* m_lastOwner = nullptr;
};

// string[index]: a one-character string; assignment replaces the character.
class TCharIndexNode final : public TLValueNode {
public:
    TCharIndexNode(const TType* type, TExprPtr base, TExprPtr index, int line, int column)
        : TLValueNode(type, line, column), m_base(std::move(base)), m_index(std::move(index)) {
        m_baseL = dynamic_cast<TLValueNode*>(m_base.get());
    }
    TValue Eval(TFrame& f) override {
        const TValue s = m_base->Eval(f);
        const std::int64_t i = m_index->EvalInt(f);
        const std::string& text = s.Deref().Str();
        if (i < 1 || i > static_cast<std::int64_t>(text.size())) RaiseRangeError();
        return TValue::String(std::string_view(&text[static_cast<std::size_t>(i - 1)], 1));
    }
    TValue* Address(TFrame&) override { return nullptr; }
    void Store(TFrame& f, TValue value) override {
        const std::int64_t i = m_index->EvalInt(f);
        const std::string& c = value.Deref().Str();
        if (c.size() != 1) RaiseConvertError("a character is expected");
        if (!m_baseL) RaiseError("Exception", "Left side cannot be assigned to");
        if (TValue* slot = m_baseL->Address(f)) {
            std::string& text = slot->Deref().MutableStr();
            if (i < 1 || i > static_cast<std::int64_t>(text.size())) RaiseRangeError();
            text[static_cast<std::size_t>(i - 1)] = c[0];
            return;
        }
        std::string text = m_baseL->Eval(f).Deref().Str();
        if (i < 1 || i > static_cast<std::int64_t>(text.size())) RaiseRangeError();
        text[static_cast<std::size_t>(i - 1)] = c[0];
        m_baseL->Store(f, TValue::String(std::move(text)));
    }

private:
    TExprPtr m_base;
    TLValueNode* m_baseL;
    TExprPtr m_index;
};

// record.field
class TFieldNode final : public TLValueNode {
public:
    TFieldNode(const TType* type, TExprPtr base, int field, int line, int column)
        : TLValueNode(type, line, column), m_base(std::move(base)), m_field(field) {
        m_baseL = dynamic_cast<TLValueNode*>(m_base.get());
    }
    TValue Eval(TFrame& f) override {
        const TValue base = m_base->Eval(f);
        return base.Deref().Record()->Fields[static_cast<std::size_t>(m_field)];
    }
    std::int64_t EvalInt(TFrame& f) override { return Eval(f).Int(); }
    double EvalFloat(TFrame& f) override { return Eval(f).Flt(); }
    bool EvalBool(TFrame& f) override { return Eval(f).Bool(); }
    TValue* Address(TFrame& f) override {
        TValue* base = m_baseL ? m_baseL->Address(f) : nullptr;
        if (!base) return nullptr;
        TRecordObject& record = base->Deref().MutableRecord();
        m_lastOwner = &record;
        return &record.Fields[static_cast<std::size_t>(m_field)];
    }
    THeapObject* Owner(TFrame&) override { return m_lastOwner; }
    void Store(TFrame& f, TValue value) override {
        TValue* slot = Address(f);
        if (!slot) RaiseError("Exception", "Left side cannot be assigned to");
        *slot = std::move(value);
    }

private:
    TExprPtr m_base;
    TLValueNode* m_baseL;
    int m_field;
    THeapObject* m_lastOwner = nullptr;
};

// E.Message and E.ClassName of an exception object.
class TExceptionFieldNode final : public TExprNode {
public:
    TExceptionFieldNode(const TType* type, TExprPtr base, bool className, int line, int column)
        : TExprNode(type, line, column), m_base(std::move(base)), m_className(className) {}
    TValue Eval(TFrame& f) override {
        const TValue e = m_base->Eval(f);
        const TExceptionObject* object = e.Deref().Exception();
        if (!object) RaiseError("Exception", "Access violation: nil exception");
        return TValue::String(m_className ? object->ClassName : object->Message);
    }

private:
    TExprPtr m_base;
    bool m_className;
};

// ----------------------------------------------------------- conversions

class TIntToFloatNode final : public TExprNode {
public:
    TIntToFloatNode(const TType* type, TExprPtr e) : TExprNode(type, e->Line, e->Column), m_e(std::move(e)) {}
    TValue Eval(TFrame& f) override {
        const double d = static_cast<double>(m_e->EvalInt(f));
        return Type->Kind == TTypeKind::DateTime ? TValue::DateTime(d) : TValue::Float(d);
    }
    double EvalFloat(TFrame& f) override { return static_cast<double>(m_e->EvalInt(f)); }

private:
    TExprPtr m_e;
};

// Between Float and DateTime: the same number under another tag.
class TRetagFloatNode final : public TExprNode {
public:
    TRetagFloatNode(const TType* type, TExprPtr e) : TExprNode(type, e->Line, e->Column), m_e(std::move(e)) {}
    TValue Eval(TFrame& f) override {
        const double d = m_e->EvalFloat(f);
        return Type->Kind == TTypeKind::DateTime ? TValue::DateTime(d) : TValue::Float(d);
    }
    double EvalFloat(TFrame& f) override { return m_e->EvalFloat(f); }

private:
    TExprPtr m_e;
};

// From Variant to a static type, by the rules of variants.
class TFromVariantNode final : public TExprNode {
public:
    TFromVariantNode(const TType* type, TExprPtr e) : TExprNode(type, e->Line, e->Column), m_e(std::move(e)) {}
    TValue Eval(TFrame& f) override { return ConvertTo(m_e->Eval(f), Type); }
    std::int64_t EvalInt(TFrame& f) override { return VarToInt(m_e->Eval(f)); }
    double EvalFloat(TFrame& f) override { return VarToFloat(m_e->Eval(f)); }
    bool EvalBool(TFrame& f) override { return VarToBool(m_e->Eval(f)); }

private:
    TExprPtr m_e;
};

// ------------------------------------------------------------- operators

template <typename Op>
class TIntBinaryNode final : public TExprNode {
public:
    TIntBinaryNode(const TType* type, TExprPtr l, TExprPtr r, int line, int column)
        : TExprNode(type, line, column), m_l(std::move(l)), m_r(std::move(r)) {}
    TValue Eval(TFrame& f) override { return TValue::Integer(EvalInt(f)); }
    std::int64_t EvalInt(TFrame& f) override {
        const std::int64_t a = m_l->EvalInt(f);
        return Op::Apply(a, m_r->EvalInt(f));
    }

private:
    TExprPtr m_l, m_r;
};

struct TIntAdd {
    static std::int64_t Apply(std::int64_t a, std::int64_t b) {
        return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) + static_cast<std::uint64_t>(b));
    }
};
struct TIntSub {
    static std::int64_t Apply(std::int64_t a, std::int64_t b) {
        return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) - static_cast<std::uint64_t>(b));
    }
};
struct TIntMul {
    static std::int64_t Apply(std::int64_t a, std::int64_t b) {
        return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) * static_cast<std::uint64_t>(b));
    }
};
// div and mod truncate towards zero, mod takes the sign of the dividend.
struct TIntDiv {
    static std::int64_t Apply(std::int64_t a, std::int64_t b) {
        if (b == 0) RaiseError("EDivByZero", "Division by zero");
        if (b == -1) return static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(a));
        return a / b;
    }
};
struct TIntMod {
    static std::int64_t Apply(std::int64_t a, std::int64_t b) {
        if (b == 0) RaiseError("EDivByZero", "Division by zero");
        if (b == -1) return 0;
        return a % b;
    }
};
struct TIntAnd {
    static std::int64_t Apply(std::int64_t a, std::int64_t b) { return a & b; }
};
struct TIntOr {
    static std::int64_t Apply(std::int64_t a, std::int64_t b) { return a | b; }
};
struct TIntXor {
    static std::int64_t Apply(std::int64_t a, std::int64_t b) { return a ^ b; }
};
struct TIntShl {
    static std::int64_t Apply(std::int64_t a, std::int64_t b) {
        return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) << (b & 63));
    }
};
struct TIntShr {
    static std::int64_t Apply(std::int64_t a, std::int64_t b) {
        return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) >> (b & 63));
    }
};

class TFloatBinaryNode final : public TExprNode {
public:
    TFloatBinaryNode(const TType* type, TTok op, TExprPtr l, TExprPtr r, int line, int column)
        : TExprNode(type, line, column), m_op(op), m_l(std::move(l)), m_r(std::move(r)) {}
    TValue Eval(TFrame& f) override {
        const double d = EvalFloat(f);
        return Type->Kind == TTypeKind::DateTime ? TValue::DateTime(d) : TValue::Float(d);
    }
    double EvalFloat(TFrame& f) override {
        const double a = m_l->EvalFloat(f);
        const double b = m_r->EvalFloat(f);
        switch (m_op) {
            case TTok::Plus: return a + b;
            case TTok::Minus: return a - b;
            case TTok::Star: return a * b;
            default:
                if (b == 0) {
                    if (a == 0 || std::isnan(a)) RaiseError("EInvalidOp", "Invalid floating point operation");
                    RaiseError("EZeroDivide", "Floating point division by zero");
                }
                return a / b;
        }
    }

private:
    TTok m_op;
    TExprPtr m_l, m_r;
};

class TConcatNode final : public TExprNode {
public:
    TConcatNode(const TType* type, TExprPtr l, TExprPtr r, int line, int column)
        : TExprNode(type, line, column), m_l(std::move(l)), m_r(std::move(r)) {}
    TValue Eval(TFrame& f) override {
        TValue a = m_l->Eval(f);
        const TValue b = m_r->Eval(f);
        const std::string& bs = b.Deref().Str();
        if (bs.empty()) return a;
        const std::string& as = a.Deref().Str();
        if (as.size() + bs.size() > static_cast<std::size_t>(ScriptLimits().MaxStringLength)) RaiseError("EOutOfMemory", "Out of memory");
        std::string out;
        out.reserve(as.size() + bs.size());
        out += as;
        out += bs;
        return TValue::String(std::move(out));
    }

private:
    TExprPtr m_l, m_r;
};

class TVariantBinaryNode final : public TExprNode {
public:
    TVariantBinaryNode(const TType* type, TTok op, TExprPtr l, TExprPtr r, int line, int column)
        : TExprNode(type, line, column), m_op(op), m_l(std::move(l)), m_r(std::move(r)) {}
    TValue Eval(TFrame& f) override {
        const TValue a = m_l->Eval(f);
        return VariantBinary(static_cast<int>(m_op), a, m_r->Eval(f));
    }

private:
    TTok m_op;
    TExprPtr m_l, m_r;
};

class TBoolLogicNode final : public TExprNode {
public:
    TBoolLogicNode(const TType* type, TTok op, TExprPtr l, TExprPtr r, int line, int column)
        : TExprNode(type, line, column), m_op(op), m_l(std::move(l)), m_r(std::move(r)) {}
    TValue Eval(TFrame& f) override { return TValue::Boolean(EvalBool(f)); }
    bool EvalBool(TFrame& f) override {
        switch (m_op) {
            case TTok::And: return m_l->EvalBool(f) && m_r->EvalBool(f);
            case TTok::Or: return m_l->EvalBool(f) || m_r->EvalBool(f);
            default: {
                const bool a = m_l->EvalBool(f);
                return a != m_r->EvalBool(f);
            }
        }
    }

private:
    TTok m_op;
    TExprPtr m_l, m_r;
};

class TUnaryNode final : public TExprNode {
public:
    TUnaryNode(const TType* type, TTok op, TExprPtr e, int line, int column)
        : TExprNode(type, line, column), m_op(op), m_e(std::move(e)) {}
    TValue Eval(TFrame& f) override {
        switch (Type->Kind) {
            case TTypeKind::Integer: return TValue::Integer(EvalInt(f));
            case TTypeKind::Float: return TValue::Float(EvalFloat(f));
            case TTypeKind::DateTime: return TValue::DateTime(EvalFloat(f));
            case TTypeKind::Boolean: return TValue::Boolean(EvalBool(f));
            default: {
                const TValue v = m_e->Eval(f);
                if (m_op == TTok::Not) {
                    if (v.Deref().Tag() == TValueTag::Boolean) return TValue::Boolean(!v.Deref().Bool());
                    return TValue::Integer(~VarToInt(v));
                }
                if (v.Deref().Tag() == TValueTag::Integer)
                    return TValue::Integer(static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(v.Deref().Int())));
                return TValue::Float(-VarToFloat(v));
            }
        }
    }
    std::int64_t EvalInt(TFrame& f) override {
        const std::int64_t v = m_e->EvalInt(f);
        return m_op == TTok::Not ? ~v : static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(v));
    }
    double EvalFloat(TFrame& f) override { return -m_e->EvalFloat(f); }
    bool EvalBool(TFrame& f) override { return !m_e->EvalBool(f); }

private:
    TTok m_op;
    TExprPtr m_e;
};

inline bool CompareResult(TTok op, int c) {
    switch (op) {
        case TTok::Equal: return c == 0;
        case TTok::NotEqual: return c != 0;
        case TTok::Less: return c < 0;
        case TTok::Greater: return c > 0;
        case TTok::LessEqual: return c <= 0;
        default: return c >= 0;
    }
}

// Comparisons by the operands' common type.
class TCompareNode final : public TExprNode {
public:
    enum class Kind { Integer, Float, String, Boolean, Variant };
    TCompareNode(const TType* type, Kind kind, TTok op, TExprPtr l, TExprPtr r, int line, int column)
        : TExprNode(type, line, column), m_kind(kind), m_op(op), m_l(std::move(l)), m_r(std::move(r)) {}
    TValue Eval(TFrame& f) override { return TValue::Boolean(EvalBool(f)); }
    bool EvalBool(TFrame& f) override {
        switch (m_kind) {
            case Kind::Integer: {
                const std::int64_t a = m_l->EvalInt(f), b = m_r->EvalInt(f);
                return CompareResult(m_op, a < b ? -1 : a > b ? 1 : 0);
            }
            case Kind::Float: {
                const double a = m_l->EvalFloat(f), b = m_r->EvalFloat(f);
                if (std::isnan(a) || std::isnan(b)) return m_op == TTok::NotEqual;
                return CompareResult(m_op, a < b ? -1 : a > b ? 1 : 0);
            }
            case Kind::String: {
                const TValue a = m_l->Eval(f), b = m_r->Eval(f);
                const int c = a.Deref().Str().compare(b.Deref().Str());
                return CompareResult(m_op, c < 0 ? -1 : c > 0 ? 1 : 0);
            }
            case Kind::Boolean: {
                const int a = m_l->EvalBool(f) ? 1 : 0, b = m_r->EvalBool(f) ? 1 : 0;
                return CompareResult(m_op, a - b);
            }
            case Kind::Variant: {
                const TValue a = m_l->Eval(f), b = m_r->Eval(f);
                return CompareResult(m_op, VariantCompare(a, b));
            }
        }
        return false;
    }

private:
    Kind m_kind;
    TTok m_op;
    TExprPtr m_l, m_r;
};

// A set constructor: [1, 3..5, 'a'].
class TSetNode final : public TExprNode {
public:
    struct Element {
        TExprPtr Low;
        TExprPtr High;
    };
    TSetNode(const TType* type, std::vector<Element> elements, int line, int column)
        : TExprNode(type, line, column), m_elements(std::move(elements)) {}
    static std::int64_t Ordinal(TExprNode& e, TFrame& f) {
        if (e.Type->Kind == TTypeKind::Integer) return e.EvalInt(f);
        const TValue v = e.Eval(f);
        const std::string& s = v.Deref().Str();
        if (s.size() != 1) RaiseRangeError();
        return static_cast<unsigned char>(s[0]);
    }
    TValue Eval(TFrame& f) override {
        auto* set = new TSetObject;
        TValue result = TValue::Object(TValueTag::Set, set);
        for (Element& e : m_elements) {
            const std::int64_t lo = Ordinal(*e.Low, f);
            const std::int64_t hi = e.High ? Ordinal(*e.High, f) : lo;
            for (std::int64_t i = std::max<std::int64_t>(lo, 0); i <= std::min<std::int64_t>(hi, 255); ++i)
                set->Bits.set(static_cast<std::size_t>(i));
        }
        return result;
    }

private:
    std::vector<Element> m_elements;
};

// x in set
class TInNode final : public TExprNode {
public:
    TInNode(const TType* type, TExprPtr element, TExprPtr set, int line, int column)
        : TExprNode(type, line, column), m_element(std::move(element)), m_set(std::move(set)) {}
    TValue Eval(TFrame& f) override { return TValue::Boolean(EvalBool(f)); }
    bool EvalBool(TFrame& f) override {
        std::int64_t i = 0;
        if (m_element->Type->Kind == TTypeKind::Integer) {
            i = m_element->EvalInt(f);
        } else {
            const TValue v = m_element->Eval(f);
            const std::string& s = v.Deref().Str();
            if (s.size() != 1) return false;
            i = static_cast<unsigned char>(s[0]);
        }
        const TValue set = m_set->Eval(f);
        return i >= 0 && i <= 255 && set.Deref().SetObj() && set.Deref().SetObj()->Bits.test(static_cast<std::size_t>(i));
    }

private:
    TExprPtr m_element, m_set;
};

// [a, b, c] passed where an open array of values is expected (Format).
class TOpenArrayNode final : public TExprNode {
public:
    TOpenArrayNode(const TType* type, std::vector<TExprPtr> items, int line, int column)
        : TExprNode(type, line, column), m_items(std::move(items)) {}
    TValue Eval(TFrame& f) override {
        auto* array = new TArrayObject;
        array->Dynamic = true;
        TValue result = TValue::Object(TValueTag::Array, array);
        for (TExprPtr& e : m_items) array->Items.push_back(e->Eval(f).Deref());
        return result;
    }

private:
    std::vector<TExprPtr> m_items;
};

// ----------------------------------------------------------------- calls

class TUserCallNode final : public TExprNode {
public:
    TUserCallNode(const TType* type, TRoutineCode* routine, int callerLevel, std::vector<TExprPtr> args, int line,
                  int column)
        : TExprNode(type, line, column), m_routine(routine), m_callerLevel(callerLevel), m_args(std::move(args)) {}
    TValue Eval(TFrame& f) override;
    std::int64_t EvalInt(TFrame& f) override { return Eval(f).Int(); }
    double EvalFloat(TFrame& f) override { return Eval(f).Flt(); }
    bool EvalBool(TFrame& f) override { return Eval(f).Bool(); }

private:
    TRoutineCode* m_routine;
    int m_callerLevel;
    std::vector<TExprPtr> m_args;
};

// The arguments a native function sees: for value parameters the value,
// for var parameters the place (writes go back to the caller).
struct TNativeCall {
    std::vector<TValue*> Args;
    TContext* Ctx = nullptr;
    int Line = 0;
    int Column = 0;
    TValue& Arg(std::size_t i) { return *Args[i]; }
    std::size_t Count() const { return Args.size(); }
};

using TNativeFn = std::function<TValue(TNativeCall&)>;

class TNativeCallNode final : public TExprNode {
public:
    TNativeCallNode(const TType* type, TNativeFn fn, std::vector<TExprPtr> args, std::vector<bool> isVar, int line,
                    int column)
        : TExprNode(type, line, column), m_fn(std::move(fn)), m_args(std::move(args)), m_isVar(std::move(isVar)) {}
    TValue Eval(TFrame& f) override;
    std::int64_t EvalInt(TFrame& f) override { return Eval(f).Deref().Int(); }
    double EvalFloat(TFrame& f) override { return Eval(f).Deref().Flt(); }
    bool EvalBool(TFrame& f) override { return Eval(f).Deref().Bool(); }

private:
    TNativeFn m_fn;
    std::vector<TExprPtr> m_args;
    std::vector<bool> m_isVar;
};

// ------------------------------------------------------------ statements

class TExprStmtNode final : public TStmtNode {
public:
    explicit TExprStmtNode(TExprPtr e) : TStmtNode(e->Line, e->Column), m_e(std::move(e)) {}
    TFlow Exec(TFrame& f) override {
        m_e->Eval(f);
        return TFlow::Normal;
    }

private:
    TExprPtr m_e;
};

class TAssignNode final : public TStmtNode {
public:
    TAssignNode(TLValuePtr target, TExprPtr value, int line, int column)
        : TStmtNode(line, column), m_target(std::move(target)), m_value(std::move(value)) {}
    TFlow Exec(TFrame& f) override {
        TValue v = m_value->Eval(f);
        m_target->Store(f, TValue(v.Deref()));
        return TFlow::Normal;
    }

private:
    TLValuePtr m_target;
    TExprPtr m_value;
};

// Integer and Float stores into a plain variable, without a generic value.
class TAssignIntNode final : public TStmtNode {
public:
    TAssignIntNode(TLValuePtr target, TExprPtr value, int line, int column)
        : TStmtNode(line, column), m_target(std::move(target)), m_value(std::move(value)) {}
    TFlow Exec(TFrame& f) override {
        const std::int64_t v = m_value->EvalInt(f);
        m_target->Address(f)->SetInt(v);
        return TFlow::Normal;
    }

private:
    TLValuePtr m_target;
    TExprPtr m_value;
};

class TAssignLocalIntNode final : public TStmtNode {
public:
    TAssignLocalIntNode(int slot, TExprPtr value, int line, int column)
        : TStmtNode(line, column), m_slot(slot), m_value(std::move(value)) {}
    TFlow Exec(TFrame& f) override {
        f.Slots[m_slot].IntRef() = m_value->EvalInt(f);
        return TFlow::Normal;
    }

private:
    int m_slot;
    TExprPtr m_value;
};

// s := s + x on a plain variable: appends in place (amortised).
class TAppendNode final : public TStmtNode {
public:
    TAppendNode(TLValuePtr target, TExprPtr value, int line, int column)
        : TStmtNode(line, column), m_target(std::move(target)), m_value(std::move(value)) {}
    TFlow Exec(TFrame& f) override {
        const TValue v = m_value->Eval(f);
        const std::string& tail = v.Deref().Str();
        std::string& text = m_target->Address(f)->MutableStr();
        if (text.size() + tail.size() > static_cast<std::size_t>(ScriptLimits().MaxStringLength))
            RaiseError("EOutOfMemory", "Out of memory");
        text += tail;
        return TFlow::Normal;
    }

private:
    TLValuePtr m_target;
    TExprPtr m_value;
};

class TIfNode final : public TStmtNode {
public:
    TIfNode(TExprPtr cond, TStmtPtr then, TStmtPtr otherwise, int line, int column)
        : TStmtNode(line, column), m_cond(std::move(cond)), m_then(std::move(then)), m_else(std::move(otherwise)) {}
    TFlow Exec(TFrame& f) override {
        if (m_cond->EvalBool(f)) return m_then ? m_then->Exec(f) : TFlow::Normal;
        return m_else ? m_else->Exec(f) : TFlow::Normal;
    }

private:
    TExprPtr m_cond;
    TStmtPtr m_then, m_else;
};

class TWhileNode final : public TStmtNode {
public:
    TWhileNode(TExprPtr cond, TStmtPtr body, int line, int column)
        : TStmtNode(line, column), m_cond(std::move(cond)), m_body(std::move(body)) {}
    TFlow Exec(TFrame& f) override {
        while (m_cond->EvalBool(f)) {
            CountStep(*f.Ctx);
            const TFlow flow = m_body ? m_body->Exec(f) : TFlow::Normal;
            if (flow == TFlow::Break) break;
            if (flow == TFlow::Exit) return flow;
        }
        return TFlow::Normal;
    }

private:
    TExprPtr m_cond;
    TStmtPtr m_body;
};

class TRepeatNode final : public TStmtNode {
public:
    TRepeatNode(std::unique_ptr<TBlockNode> body, TExprPtr cond, int line, int column)
        : TStmtNode(line, column), m_body(std::move(body)), m_cond(std::move(cond)) {}
    TFlow Exec(TFrame& f) override {
        do {
            CountStep(*f.Ctx);
            const TFlow flow = m_body->Exec(f);
            if (flow == TFlow::Break) break;
            if (flow == TFlow::Exit) return flow;
        } while (!m_cond->EvalBool(f));
        return TFlow::Normal;
    }

private:
    std::unique_ptr<TBlockNode> m_body;
    TExprPtr m_cond;
};

// for v := a to b do: the bounds are evaluated once; the variable holds
// each value in turn.
class TForNode final : public TStmtNode {
public:
    TForNode(TLValuePtr var, TExprPtr from, TExprPtr to, bool down, TStmtPtr body, int line, int column)
        : TStmtNode(line, column),
          m_var(std::move(var)),
          m_from(std::move(from)),
          m_to(std::move(to)),
          m_down(down),
          m_body(std::move(body)) {}
    TFlow Exec(TFrame& f) override {
        const std::int64_t from = m_from->EvalInt(f);
        const std::int64_t to = m_to->EvalInt(f);
        if (m_down ? from < to : from > to) return TFlow::Normal;
        std::int64_t i = from;
        while (true) {
            CountStep(*f.Ctx);
            m_var->Address(f)->SetInt(i);
            const TFlow flow = m_body ? m_body->Exec(f) : TFlow::Normal;
            if (flow == TFlow::Break) break;
            if (flow == TFlow::Exit) return flow;
            if (i == to) break;
            i += m_down ? -1 : 1;
        }
        return TFlow::Normal;
    }

private:
    TLValuePtr m_var;
    TExprPtr m_from, m_to;
    bool m_down;
    TStmtPtr m_body;
};

class TCaseNode final : public TStmtNode {
public:
    struct Label {
        TValue Low;
        TValue High;  // Unassigned for a single value
    };
    struct Branch {
        std::vector<Label> Labels;
        TStmtPtr Body;
    };
    TCaseNode(TExprPtr selector, std::vector<Branch> branches, std::unique_ptr<TBlockNode> otherwise, int line,
              int column)
        : TStmtNode(line, column),
          m_selector(std::move(selector)),
          m_branches(std::move(branches)),
          m_else(std::move(otherwise)) {}
    TFlow Exec(TFrame& f) override {
        const TValue v = m_selector->Eval(f);
        for (Branch& b : m_branches)
            for (const Label& l : b.Labels) {
                const bool hit = l.High.Tag() == TValueTag::Unassigned
                                     ? VariantCompare(v, l.Low) == 0
                                     : VariantCompare(v, l.Low) >= 0 && VariantCompare(v, l.High) <= 0;
                if (hit) return b.Body ? b.Body->Exec(f) : TFlow::Normal;
            }
        return m_else ? m_else->Exec(f) : TFlow::Normal;
    }

private:
    TExprPtr m_selector;
    std::vector<Branch> m_branches;
    std::unique_ptr<TBlockNode> m_else;
};

class TFlowNode final : public TStmtNode {
public:
    TFlowNode(TFlow flow, int line, int column) : TStmtNode(line, column), m_flow(flow) {}
    TFlow Exec(TFrame&) override { return m_flow; }

private:
    TFlow m_flow;
};

// exit(value): stores the result, then leaves the routine.
class TExitNode final : public TStmtNode {
public:
    TExitNode(TStmtPtr storeResult, int line, int column) : TStmtNode(line, column), m_store(std::move(storeResult)) {}
    TFlow Exec(TFrame& f) override {
        if (m_store) m_store->Exec(f);
        return TFlow::Exit;
    }

private:
    TStmtPtr m_store;
};

class TRaiseNode final : public TStmtNode {
public:
    TRaiseNode(TExprPtr exception, int line, int column) : TStmtNode(line, column), m_exception(std::move(exception)) {}
    TFlow Exec(TFrame& f) override {
        if (!m_exception) {
            if (f.Ctx->Handling.empty()) RaiseError("Exception", "Re-raising an exception only allowed in exception handler");
            throw TScriptRaise{f.Ctx->Handling.back(), Line, Column};
        }
        TValue e = m_exception->Eval(f);
        if (e.Deref().Tag() != TValueTag::Exception || !e.Deref().Exception())
            RaiseError("Exception", "Raise of a value that is not an exception");
        throw TScriptRaise{e.Deref(), Line, Column};
    }

private:
    TExprPtr m_exception;
};

class TTryExceptNode final : public TStmtNode {
public:
    struct Handler {
        const TType* Class;
        TLValuePtr Var;  // null without a name
        TStmtPtr Body;
    };
    TTryExceptNode(std::unique_ptr<TBlockNode> body, std::vector<Handler> handlers, std::unique_ptr<TBlockNode> otherwise,
                   const TTypeTable* types, int line, int column)
        : TStmtNode(line, column),
          m_body(std::move(body)),
          m_handlers(std::move(handlers)),
          m_else(std::move(otherwise)),
          m_types(types) {}
    TFlow Exec(TFrame& f) override;

private:
    std::unique_ptr<TBlockNode> m_body;
    std::vector<Handler> m_handlers;
    std::unique_ptr<TBlockNode> m_else;
    const TTypeTable* m_types;
};

class TTryFinallyNode final : public TStmtNode {
public:
    TTryFinallyNode(std::unique_ptr<TBlockNode> body, std::unique_ptr<TBlockNode> final, int line, int column)
        : TStmtNode(line, column), m_body(std::move(body)), m_final(std::move(final)) {}
    TFlow Exec(TFrame& f) override {
        TFlow flow;
        try {
            flow = m_body->Exec(f);
        } catch (TScriptRaise&) {
            m_final->Exec(f);
            throw;
        }
        const TFlow finalFlow = m_final->Exec(f);
        return finalFlow != TFlow::Normal ? finalFlow : flow;
    }

private:
    std::unique_ptr<TBlockNode> m_body, m_final;
};

}  // namespace mirvex::script
