// Script types.
#include "ScriptTypes.h"

#include "util/Cp1251.h"

namespace mirvex::script {

int TType::FieldIndex(const std::string& name) const {
    for (std::size_t i = 0; i < Fields.size(); ++i)
        if (SameTextAscii(Fields[i].Name, name)) return static_cast<int>(i);
    return -1;
}

TTypeTable::TTypeTable() {
    m_error = Make(TTypeKind::Error, "<error>");
    m_void = Make(TTypeKind::Void, "<no value>");
    m_integer = Make(TTypeKind::Integer, "Integer");
    m_float = Make(TTypeKind::Float, "Float");
    m_dateTime = Make(TTypeKind::DateTime, "DateTime");
    m_boolean = Make(TTypeKind::Boolean, "Boolean");
    m_string = Make(TTypeKind::String, "String");
    m_variant = Make(TTypeKind::Variant, "Variant");
    m_set = Make(TTypeKind::Set, "set");
    m_nil = Make(TTypeKind::Nil, "nil");
    TType* root = Make(TTypeKind::Exception, "Exception");
    m_exception = root;
    m_exceptionClasses.push_back(root);
    for (const char* name : {"EConvertError", "EDivByZero", "EZeroDivide", "ERangeError", "EInvalidOp",
                             "EVariantError", "EInOutError", "EStackOverflow", "EOutOfMemory", "EAbort"}) {
        TType* e = Make(TTypeKind::Exception, name);
        e->Parent = root;
        m_exceptionClasses.push_back(e);
    }
}

TType* TTypeTable::Make(TTypeKind kind, std::string name) {
    auto type = std::make_unique<TType>();
    type->Kind = kind;
    type->Name = std::move(name);
    m_types.push_back(std::move(type));
    return m_types.back().get();
}

const TType* TTypeTable::ExceptionClass(const std::string& name) const {
    for (const TType* e : m_exceptionClasses)
        if (SameTextAscii(e->Name, name)) return e;
    return nullptr;
}

const TType* TTypeTable::StaticArray(const TType* element, std::int64_t low, std::int64_t high) {
    TType* t = Make(TTypeKind::StaticArray, "");
    t->Element = element;
    t->Low = low;
    t->High = high;
    return t;
}

const TType* TTypeTable::DynamicArray(const TType* element) {
    for (const auto& t : m_types)
        if (t->Kind == TTypeKind::DynamicArray && t->Name.empty() && SameType(t->Element, element)) return t.get();
    TType* t = Make(TTypeKind::DynamicArray, "");
    t->Element = element;
    return t;
}

TType* TTypeTable::NewRecord(const std::string& name) { return Make(TTypeKind::Record, name); }

const TType* TTypeTable::FindBuiltin(const std::string& name) const {
    const std::string upper = UpperCaseAscii(name);
    if (upper == "INTEGER" || upper == "INT64" || upper == "LONGINT" || upper == "CARDINAL" || upper == "WORD" ||
        upper == "BYTE" || upper == "SMALLINT" || upper == "SHORTINT" || upper == "LONGWORD")
        return m_integer;
    if (upper == "FLOAT" || upper == "REAL" || upper == "DOUBLE" || upper == "EXTENDED" || upper == "SINGLE" ||
        upper == "CURRENCY")
        return m_float;
    if (upper == "DATETIME" || upper == "TDATETIME" || upper == "TDATE" || upper == "TTIME") return m_dateTime;
    if (upper == "BOOLEAN") return m_boolean;
    if (upper == "STRING" || upper == "ANSISTRING" || upper == "CHAR" || upper == "ANSICHAR" ||
        upper == "WIDESTRING" || upper == "SHORTSTRING")
        return m_string;
    if (upper == "VARIANT" || upper == "OLEVARIANT") return m_variant;
    return nullptr;
}

std::string TypeName(const TType* type) {
    if (!type) return "?";
    switch (type->Kind) {
        case TTypeKind::StaticArray:
            if (!type->Name.empty()) return type->Name;
            return "array [" + std::to_string(type->Low) + ".." + std::to_string(type->High) + "] of " +
                   TypeName(type->Element);
        case TTypeKind::DynamicArray:
            if (!type->Name.empty()) return type->Name;
            return "array of " + TypeName(type->Element);
        default: return type->Name;
    }
}

bool SameType(const TType* a, const TType* b) {
    if (a == b) return true;
    if (!a || !b || a->Kind != b->Kind) return false;
    switch (a->Kind) {
        case TTypeKind::StaticArray: return a->Low == b->Low && a->High == b->High && SameType(a->Element, b->Element);
        case TTypeKind::DynamicArray: return SameType(a->Element, b->Element);
        case TTypeKind::Record:
        case TTypeKind::Exception: return false;
        default: return true;
    }
}

bool IsExceptionClass(const TType* derived, const TType* base) {
    for (const TType* t = derived; t; t = t->Parent)
        if (t == base) return true;
    return false;
}

TValue DefaultValue(const TType* type) {
    switch (type->Kind) {
        case TTypeKind::Integer: return TValue::Integer(0);
        case TTypeKind::Float: return TValue::Float(0);
        case TTypeKind::DateTime: return TValue::DateTime(0);
        case TTypeKind::Boolean: return TValue::Boolean(false);
        case TTypeKind::String: return TValue::EmptyString();
        case TTypeKind::StaticArray: {
            auto* array = new TArrayObject;
            array->Low = type->Low;
            const std::int64_t n = type->Length();
            array->Items.reserve(static_cast<std::size_t>(n));
            for (std::int64_t i = 0; i < n; ++i) array->Items.push_back(DefaultValue(type->Element));
            return TValue::Object(TValueTag::Array, array);
        }
        case TTypeKind::DynamicArray: return TValue::Object(TValueTag::Array, nullptr);
        case TTypeKind::Record: {
            auto* record = new TRecordObject;
            for (const TField& f : type->Fields) record->Fields.push_back(DefaultValue(f.Type));
            return TValue::Object(TValueTag::Record, record);
        }
        case TTypeKind::Set: return TValue::Object(TValueTag::Set, new TSetObject);
        default: return TValue();
    }
}

}  // namespace mirvex::script
