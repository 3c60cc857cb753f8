// Run-time support: errors, blocks, variant conversions and arithmetic.
#include "Runtime.h"

#include "Lexer.h"

#include <cmath>
#include <cstdlib>

#include "util/Cp1251.h"
#include "util/FormatSettings.h"
#include "util/Strings.h"

namespace mirvex::script {

void RaiseError(const char* className, std::string message) {
    auto* e = new TExceptionObject;
    e->ClassName = className;
    e->Message = std::move(message);
    throw TScriptRaise{TValue::Object(TValueTag::Exception, e), 0, 0};
}

void RaiseConvertError(std::string message) { RaiseError("EConvertError", std::move(message)); }
void RaiseRangeError() { RaiseError("ERangeError", "Range check error"); }

void CountStep(TContext& ctx) {
    if (--ctx.StepsLeft <= 0) throw TScriptAbort{"the script ran too long"};
}

TFlow TBlockNode::Exec(TFrame& f) {
    for (const TStmtPtr& s : Statements) {
        TFlow flow;
        try {
            flow = s->Exec(f);
        } catch (TScriptRaise& e) {
            if (e.Line == 0) {
                e.Line = s->Line;
                e.Column = s->Column;
            }
            throw;
        }
        if (flow != TFlow::Normal) return flow;
    }
    return TFlow::Normal;
}

const char* VarTypeName(const TValue& v) {
    switch (v.Tag()) {
        case TValueTag::Unassigned: return "Empty";
        case TValueTag::Null: return "Null";
        case TValueTag::Boolean: return "Boolean";
        case TValueTag::Integer: return "Int64";
        case TValueTag::Float: return "Double";
        case TValueTag::DateTime: return "Date";
        case TValueTag::String: return "String";
        case TValueTag::Array: return "Array";
        case TValueTag::Record: return "Record";
        case TValueTag::Set: return "Set";
        case TValueTag::Exception: return "Object";
        case TValueTag::Ref: return VarTypeName(v.Deref());
    }
    return "Unknown";
}

namespace {

[[noreturn]] void CannotConvert(const TValue& v, const char* to) {
    RaiseError("EVariantError",
               std::string("Could not convert variant of type (") + VarTypeName(v) + ") into type (" + to + ")");
}

std::int64_t RoundToInt(double d, const TValue& from) {
    const double r = std::nearbyint(d);  // the default mode rounds halves to even
    if (!std::isfinite(r) || r < -9.2233720368547758e18 || r >= 9.2233720368547758e18) CannotConvert(from, "Int64");
    return static_cast<std::int64_t>(r);
}

}  // namespace

std::string ScriptFloatToStr(double v) { return FloatToStr(v); }

bool ScriptTryStrToFloat(const std::string& text, double& out) {
    std::string s = Trim(text);
    if (s.empty()) return false;
    const char sep = FormatSettings().DecimalSeparator;
    for (char& c : s) {
        if (c == sep) c = '.';
        else if (!((c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E')) return false;
    }
    char* end = nullptr;
    out = std::strtod(s.c_str(), &end);
    return end == s.c_str() + s.size() && std::isfinite(out);
}

std::int64_t VarToInt(const TValue& value) {
    const TValue& v = value.Deref();
    switch (v.Tag()) {
        case TValueTag::Unassigned: return 0;
        case TValueTag::Boolean: return v.Bool() ? -1 : 0;
        case TValueTag::Integer: return v.Int();
        case TValueTag::Float:
        case TValueTag::DateTime: return RoundToInt(v.Flt(), v);
        case TValueTag::String: {
            if (auto i = TryStrToInt64(Trim(v.Str()))) return *i;
            double d = 0;
            if (ScriptTryStrToFloat(v.Str(), d)) return RoundToInt(d, v);
            CannotConvert(v, "Int64");
        }
        default: CannotConvert(v, "Int64");
    }
}

double VarToFloat(const TValue& value) {
    const TValue& v = value.Deref();
    switch (v.Tag()) {
        case TValueTag::Unassigned: return 0;
        case TValueTag::Boolean: return v.Bool() ? -1 : 0;
        case TValueTag::Integer: return static_cast<double>(v.Int());
        case TValueTag::Float:
        case TValueTag::DateTime: return v.Flt();
        case TValueTag::String: {
            double d = 0;
            if (ScriptTryStrToFloat(v.Str(), d)) return d;
            CannotConvert(v, "Double");
        }
        default: CannotConvert(v, "Double");
    }
}

bool VarToBool(const TValue& value) {
    const TValue& v = value.Deref();
    switch (v.Tag()) {
        case TValueTag::Unassigned: return false;
        case TValueTag::Boolean: return v.Bool();
        case TValueTag::Integer: return v.Int() != 0;
        case TValueTag::Float:
        case TValueTag::DateTime: return v.Flt() != 0;
        case TValueTag::String: {
            const std::string t = Trim(v.Str());
            if (SameTextAscii(t, "true")) return true;
            if (SameTextAscii(t, "false")) return false;
            double d = 0;
            if (ScriptTryStrToFloat(t, d)) return d != 0;
            CannotConvert(v, "Boolean");
        }
        default: CannotConvert(v, "Boolean");
    }
}

std::string VarToString(const TValue& value) {
    const TValue& v = value.Deref();
    switch (v.Tag()) {
        case TValueTag::Unassigned: return {};
        case TValueTag::Boolean: return v.Bool() ? "True" : "False";
        case TValueTag::Integer: return std::to_string(v.Int());
        case TValueTag::Float: return ScriptFloatToStr(v.Flt());
        case TValueTag::DateTime: return DateTimeToStr(v.Flt());
        case TValueTag::String: return v.Str();
        default: CannotConvert(v, "String");
    }
}

TValue ConvertTo(const TValue& value, const TType* type) {
    const TValue& v = value.Deref();
    switch (type->Kind) {
        case TTypeKind::Integer: return v.Tag() == TValueTag::Integer ? v : TValue::Integer(VarToInt(v));
        case TTypeKind::Float: return v.Tag() == TValueTag::Float ? v : TValue::Float(VarToFloat(v));
        case TTypeKind::DateTime: return TValue::DateTime(VarToFloat(v));
        case TTypeKind::Boolean: return v.Tag() == TValueTag::Boolean ? v : TValue::Boolean(VarToBool(v));
        case TTypeKind::String: return v.Tag() == TValueTag::String ? v : TValue::String(VarToString(v));
        case TTypeKind::StaticArray:
        case TTypeKind::DynamicArray:
            if (v.Tag() == TValueTag::Array) return v;
            CannotConvert(v, "Array");
        case TTypeKind::Record:
            if (v.Tag() == TValueTag::Record) return v;
            CannotConvert(v, "Record");
        default: return v;
    }
}

namespace {

bool IsNumericTag(TValueTag t) {
    return t == TValueTag::Integer || t == TValueTag::Float || t == TValueTag::DateTime || t == TValueTag::Boolean ||
           t == TValueTag::Unassigned;
}

}  // namespace

std::int64_t VarTypeCode(const TValue& value) {
    const TValue& v = value.Deref();
    switch (v.Tag()) {
        case TValueTag::Unassigned: return 0;
        case TValueTag::Null: return 1;
        case TValueTag::Boolean: return 11;
        case TValueTag::Integer: return v.Int() >= INT32_MIN && v.Int() <= INT32_MAX ? 3 : 20;
        case TValueTag::Float: return 5;
        case TValueTag::DateTime: return 7;
        case TValueTag::String: return 0x100;
        case TValueTag::Array: return 0x200C;
        default: return 12;
    }
}

TValue VariantBinary(int opCode, const TValue& av, const TValue& bv) {
    const TValue& a = av.Deref();
    const TValue& b = bv.Deref();
    const auto op = static_cast<TTok>(opCode);
    if (a.Tag() == TValueTag::Null || b.Tag() == TValueTag::Null) return TValue::Null();
    const bool aStr = a.Tag() == TValueTag::String, bStr = b.Tag() == TValueTag::String;
    if (op == TTok::Plus && (aStr || bStr) &&
        (aStr || a.Tag() == TValueTag::Unassigned) && (bStr || b.Tag() == TValueTag::Unassigned))
        return TValue::String(a.Str() + b.Str());
    if (op == TTok::And || op == TTok::Or || op == TTok::Xor) {
        if (a.Tag() == TValueTag::Boolean && b.Tag() == TValueTag::Boolean) {
            const bool x = a.Bool(), y = b.Bool();
            return TValue::Boolean(op == TTok::And ? (x && y) : op == TTok::Or ? (x || y) : (x != y));
        }
        const auto x = static_cast<std::uint64_t>(VarToInt(a)), y = static_cast<std::uint64_t>(VarToInt(b));
        const std::uint64_t r = op == TTok::And ? (x & y) : op == TTok::Or ? (x | y) : (x ^ y);
        return TValue::Integer(static_cast<std::int64_t>(r));
    }
    const bool integral = (a.Tag() == TValueTag::Integer || a.Tag() == TValueTag::Boolean ||
                           a.Tag() == TValueTag::Unassigned || (aStr && TryStrToInt64(Trim(a.Str())))) &&
                          (b.Tag() == TValueTag::Integer || b.Tag() == TValueTag::Boolean ||
                           b.Tag() == TValueTag::Unassigned || (bStr && TryStrToInt64(Trim(b.Str()))));
    const bool dateResult = (a.Tag() == TValueTag::DateTime || b.Tag() == TValueTag::DateTime) &&
                            (op == TTok::Plus || op == TTok::Minus);
    switch (op) {
        case TTok::Div:
        case TTok::Mod:
        case TTok::Shl:
        case TTok::Shr: {
            const std::int64_t x = VarToInt(a), y = VarToInt(b);
            if (op == TTok::Shl) return TValue::Integer(static_cast<std::int64_t>(static_cast<std::uint64_t>(x) << (y & 63)));
            if (op == TTok::Shr) return TValue::Integer(static_cast<std::int64_t>(static_cast<std::uint64_t>(x) >> (y & 63)));
            if (y == 0) RaiseError("EDivByZero", "Division by zero");
            if (y == -1) return TValue::Integer(op == TTok::Div ? static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(x)) : 0);
            return TValue::Integer(op == TTok::Div ? x / y : x % y);
        }
        case TTok::Slash: {
            const double y = VarToFloat(b);
            if (y == 0) RaiseError("EZeroDivide", "Floating point division by zero");
            return TValue::Float(VarToFloat(a) / y);
        }
        case TTok::Plus:
        case TTok::Minus:
        case TTok::Star: {
            if (integral) {
                const auto x = static_cast<std::uint64_t>(VarToInt(a)), y = static_cast<std::uint64_t>(VarToInt(b));
                const std::uint64_t r = op == TTok::Plus ? x + y : op == TTok::Minus ? x - y : x * y;
                return TValue::Integer(static_cast<std::int64_t>(r));
            }
            const double x = VarToFloat(a), y = VarToFloat(b);
            const double r = op == TTok::Plus ? x + y : op == TTok::Minus ? x - y : x * y;
            return dateResult ? TValue::DateTime(r) : TValue::Float(r);
        }
        default: break;
    }
    RaiseError("EVariantError", "Invalid variant operation");
}

int VariantCompare(const TValue& av, const TValue& bv) {
    const TValue& a = av.Deref();
    const TValue& b = bv.Deref();
    const bool aNull = a.Tag() == TValueTag::Null, bNull = b.Tag() == TValueTag::Null;
    if (aNull || bNull) return aNull && bNull ? 0 : (aNull ? -1 : 1);
    const bool aStr = a.Tag() == TValueTag::String, bStr = b.Tag() == TValueTag::String;
    if ((aStr && (bStr || b.Tag() == TValueTag::Unassigned)) || (bStr && a.Tag() == TValueTag::Unassigned)) {
        const int c = a.Str().compare(b.Str());
        return c < 0 ? -1 : c > 0 ? 1 : 0;
    }
    if (a.Tag() == TValueTag::Boolean && b.Tag() == TValueTag::Boolean)
        return a.Bool() == b.Bool() ? 0 : (a.Bool() ? 1 : -1);
    if ((IsNumericTag(a.Tag()) || aStr) && (IsNumericTag(b.Tag()) || bStr)) {
        if (a.Tag() == TValueTag::Integer && b.Tag() == TValueTag::Integer)
            return a.Int() < b.Int() ? -1 : a.Int() > b.Int() ? 1 : 0;
        const double x = VarToFloat(a), y = VarToFloat(b);
        return x < y ? -1 : x > y ? 1 : 0;
    }
    RaiseError("EVariantError", "Invalid variant operation");
}

bool VariantEquals(const TValue& a, const TValue& b) { return VariantCompare(a, b) == 0; }

}  // namespace mirvex::script
