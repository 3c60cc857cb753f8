// Static types of the script language. Types are owned by a type table
// that lives as long as the compiled program that uses them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ScriptValue.h"

namespace mirvex::script {

enum class TTypeKind : std::uint8_t {
    Error,  // the type of an expression that did not check
    Void,   // a procedure's "result"
    Integer,
    Float,
    DateTime,
    Boolean,
    String,
    Variant,
    StaticArray,
    DynamicArray,
    Record,
    Set,
    Exception,     // an exception object (E in "on E: Exception do")
    Nil,
};

struct TType;

struct TField {
    std::string Name;
    const TType* Type;
};

struct TType {
    TTypeKind Kind = TTypeKind::Error;
    std::string Name;
    // Arrays: the element type; static arrays also their bounds.
    const TType* Element = nullptr;
    std::int64_t Low = 0;
    std::int64_t High = -1;
    std::vector<TField> Fields;
    // Exception classes: the class name and its parent class.
    const TType* Parent = nullptr;

    bool IsNumeric() const {
        return Kind == TTypeKind::Integer || Kind == TTypeKind::Float || Kind == TTypeKind::DateTime;
    }
    bool IsFloat() const { return Kind == TTypeKind::Float || Kind == TTypeKind::DateTime; }
    bool IsArray() const { return Kind == TTypeKind::StaticArray || Kind == TTypeKind::DynamicArray; }
    bool IsError() const { return Kind == TTypeKind::Error; }
    std::int64_t Length() const { return High - Low + 1; }
    // -1 when there is no field of that name (letter case ignored).
    int FieldIndex(const std::string& name) const;
};

class TTypeTable {
public:
    TTypeTable();
    const TType* Error() const { return m_error; }
    const TType* Void() const { return m_void; }
    const TType* Integer() const { return m_integer; }
    const TType* Float() const { return m_float; }
    const TType* DateTime() const { return m_dateTime; }
    const TType* Boolean() const { return m_boolean; }
    const TType* String() const { return m_string; }
    const TType* Variant() const { return m_variant; }
    const TType* Set() const { return m_set; }
    const TType* Nil() const { return m_nil; }
    // The root exception class "Exception".
    const TType* ExceptionClass() const { return m_exception; }
    // The standard exception classes, each derived from Exception.
    const TType* ExceptionClass(const std::string& name) const;

    const TType* StaticArray(const TType* element, std::int64_t low, std::int64_t high);
    const TType* DynamicArray(const TType* element);
    TType* NewRecord(const std::string& name);
    // A named type for an alias declaration (the same type under a name).
    const TType* FindBuiltin(const std::string& name) const;

private:
    TType* Make(TTypeKind kind, std::string name);
    std::vector<std::unique_ptr<TType>> m_types;
    const TType *m_error, *m_void, *m_integer, *m_float, *m_dateTime, *m_boolean, *m_string, *m_variant, *m_set,
        *m_nil, *m_exception;
    std::vector<const TType*> m_exceptionClasses;
};

// The name a type is shown by in messages.
std::string TypeName(const TType* type);
// Structural equality: the same kind and, for arrays, the same bounds and
// equal elements; records only when they are the same declaration.
bool SameType(const TType* a, const TType* b);
// True when `derived` is `base` or derives from it.
bool IsExceptionClass(const TType* derived, const TType* base);
// The value a variable of the type starts with.
TValue DefaultValue(const TType* type);

}  // namespace mirvex::script
